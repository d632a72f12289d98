#!/usr/bin/python3
"""lerv as a user runs it, through pipes: usage errors, broken definition
files, generation to a file, tables created and scripts run on sqlsim.

    lerv_test.py WORK_DIR DEFINITION_DIR [EMULATOR...] LERV

LERV_SQLSIM_DRIVER names the sqlsim driver (a path).
"""
import os
import shutil
import subprocess
import sys
import unittest

WORK_DIR = None
EXAMPLES = None
LERV = None


def run(args, cwd, stdin=None):
    """Exit code, standard output and standard error: what is meant for the
    terminal is UTF-8, exported records the code page's bytes."""
    done = subprocess.run(LERV + args, cwd=cwd, input=stdin, capture_output=True, timeout=300)
    terminal = "--help" in args or args[:1] in (["walk"], ["show"], ["check"])
    out = done.stdout.decode("utf-8") if terminal else done.stdout.decode("latin-1")
    err = done.stderr.decode("utf-8", "replace")
    # Text for the terminal ends its lines as the system does.
    if terminal:
        out = out.replace("\r\n", "\n")
    return done.returncode, out, err.replace("\r\n", "\n")


class LervTest(unittest.TestCase):
    def setUp(self):
        self.dir = os.path.join(WORK_DIR, self._testMethodName)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        shutil.copy(os.path.join(EXAMPLES, "kunde.def"), self.dir)

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def write(self, name, text, newline="\n"):
        with open(os.path.join(self.dir, name), "w", encoding="latin-1", newline=newline) as f:
            f.write(text)

    def lerv(self, *args, stdin=None):
        return run(list(args), self.dir, stdin)

    def ok(self, *args, stdin=None):
        """Standard output and error of a run that must succeed."""
        code, out, err = self.lerv(*args, stdin=stdin)
        self.assertEqual(code, 0, err)
        return out, err

    def fails(self, message, *args, stdin=None, code=1):
        """Standard output and error of a run that must end with code and say message."""
        got, out, err = self.lerv(*args, stdin=stdin)
        self.assertEqual(got, code, err)
        self.assertIn(message, err)
        return out, err

    def test_usage_errors_exit_2_with_a_german_message(self):
        cases = [
            ([], "Kein Befehl angegeben"),
            (["frob"], "Unbekannter Befehl: frob"),
            (["gen", "--bogus", "kunde.def"], "Unerwartetes Argument: --bogus"),
            (["gen"], "Pflichtangabe fehlt: Definitionsdateien"),
            (["gen", "--kind", "foo", "kunde.def"], "Ungültiger Wert für --kind: foo"),
            (["create", "--connect", "DSN=x", "--data", ".", "kunde.def"], "schließen sich aus"),
            (["run", "--data"], "Falsche Zahl von Werten"),
            (["--bogus"], "Unbekannte Option: --bogus"),
            (["walk", "-n", "-1", "kunde.def"], "Ungültiger Wert: --first: -1 ist keine Zahl ab 0"),
            (["show", "kunde.def", "abc"], "Ungültiger Wert für RecId: abc"),
            (["walk", "--prefix", "a", "--from", "b", "kunde.def"], "schließen sich aus: --prefix, --from"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                self.assertEqual(self.fails(message, *args, code=2)[0], "")

    def test_help_of_the_program_and_of_each_command(self):
        out = self.ok("--help")[0]
        for command in ("gen", "create", "run"):
            self.assertIn(command, out)
            self.assertIn("Aufruf: lerv " + command, self.ok(command, "--help")[0])

    def test_broken_definitions_fail_with_file_and_line_and_write_nothing(self):
        many = "".join("FIELD=F%d,C,1\n" % i for i in range(129))
        cases = [
            ("missing.def", None, "Definitionsdatei nicht lesbar: missing.def"),
            ("key.def", "FIELD=A,C,10\nKEY=K,A,B\n", "key.def, Zeile 2: Schlüssel nennt ein unbekanntes Feld \"B\""),
            ("empty.def", "ALIAS=LEER\n", "empty.def: keine Felder"),
            ("many.def", many, "many.def, Zeile 129: Feld nicht übernommen"),
            ("wide.def", "".join("FIELD=F%d,C,1\n" % i for i in range(12)) + "KEY=K," +
             ",".join("F%d" % i for i in range(12)) + "\n", "wide.def, Zeile 13: Schlüssel mit mehr als 11"),
            # What the library would make of it silently: char(44), char(0), a C field, a second column A.
            ("w300.def", "FIELD=A,C,300\n", "w300.def, Zeile 1: Feld A: Breite \"300\" für Typ C nicht möglich"),
            ("w0.def", "FIELD=A,C,abc\n", "Breite \"abc\" für Typ C nicht möglich"),
            ("type.def", "FIELD=A,Q,5\n", "Feld A: unbekannter Feldtyp \"Q\""),
            ("dec.def", "FIELD=A,N,20,30\n", "Feld A: 30 Nachkommastellen für Typ N nicht möglich"),
            ("twice.def", "FIELD=A,C,5\nFIELD=A,C,6\n", "twice.def, Zeile 2: Feld A doppelt"),
            ("keys.def", "FIELD=A,C,5\nKEY=K,A\nKEY=K,A\n", "keys.def, Zeile 3: Schlüssel K doppelt"),
            # The server knows no case in names; names are cut to 15 (keys 19).
            ("case.def", "FIELD=a,C,5\nFIELD=A,C,6\n", "case.def, Zeile 2: Feld A doppelt"),
            ("cut.def", "FIELD=LONGFIELDNAME_01,C,5\nFIELD=LONGFIELDNAME_02,C,6\n",
             "cut.def, Zeile 2: Feld LONGFIELDNAME_02 doppelt"),
            ("keycase.def", "FIELD=A,C,5\nKEY=k,A\nKEY=K,A\n", "keycase.def, Zeile 3: Schlüssel K doppelt"),
            ("alias.def", "ALIAS=" + "T" * 32 + "\nFIELD=A\n", "alias.def, Zeile 1: Tabellenname länger als 31"),
            # Names the library refuses: empty, or with control characters.
            ("noalias.def", "ALIAS=\nFIELD=A\n", "noalias.def, Zeile 1: Tabellenname leer oder mit Steuerzeichen"),
            ("tab.def", "FIELD=A\tB,C,5\n", "tab.def, Zeile 1: Feldname leer oder mit Steuerzeichen"),
            ("nofield.def", "FIELD=,C,5\n", "nofield.def, Zeile 1: Feldname leer"),
            ("nokey.def", "FIELD=A\nKEY= ,A\n", "nokey.def, Zeile 2: Schlüsselname leer oder mit Steuerzeichen"),
        ]
        self.write("out.sql", "vorher")
        for name, text, message in cases:
            with self.subTest(name=name):
                if text is not None:
                    self.write(name, text)
                self.fails(message, "gen", "-o", "out.sql", "kunde.def", name)
                with open(os.path.join(self.dir, "out.sql"), encoding="latin-1") as f:
                    self.assertEqual(f.read(), "vorher")
        self.assertEqual(sorted(n for n in os.listdir(self.dir) if n.startswith("out.sql")), ["out.sql"])

    def test_gen_writes_each_kind_to_the_output_file_as_to_standard_output(self):
        kinds = {"script": "CREATE TABLE [dbo].[ut_KUNDE]", "drop": "KUNDE", "struct": "NAME",
                 "trigger-struct": "KUNDE", "cpp": "c_KUNDE"}
        for kind, expected in kinds.items():
            with self.subTest(kind=kind):
                out = self.ok("gen", "--tsql", "--kind", kind, "kunde.def")[0]
                self.assertTrue(expected in out, out[:200])
                self.ok("gen", "--tsql", "--kind", kind, "-o", "out.txt", "kunde.def")
                with open(os.path.join(self.dir, "out.txt"), encoding="latin-1", newline="") as f:
                    self.assertEqual(f.read(), out)
        # A structure file cannot carry a name with a blank or + in it: the
        # field is named; the companion file has only key fields.
        self.write("plus.def", "ALIAS=P\nFIELD=A+B,C,5\nFIELD=N,C,2\nKEY=K,N\n")
        self.fails('Feldname "A+B" ist in einer Strukturdatei nicht darstellbar', "gen", "--kind", "struct", "plus.def")
        out = self.ok("gen", "--kind", "trigger-struct", "plus.def")[0]
        self.assertEqual(("A+B" in out, "N=C;2;0;" in out), (False, True), out)
        self.fails("Datei kann nicht angelegt werden", "gen", "-o", os.path.join("no", "such", "folder", "out.sql"),
                   "kunde.def")
        # Through a link its target gets the text; an existing file keeps its
        # mode (the Windows program sees neither links nor modes under Wine).
        if len(LERV) > 1:
            return
        self.write("target.txt", "alt")
        os.chmod(os.path.join(self.dir, "target.txt"), 0o640)
        os.symlink("target.txt", os.path.join(self.dir, "link.txt"))
        self.ok("gen", "-o", "link.txt", "kunde.def")
        self.assertTrue(os.path.islink(os.path.join(self.dir, "link.txt")))
        with open(os.path.join(self.dir, "target.txt"), encoding="latin-1", newline="") as f:
            self.assertTrue(f.read().startswith("CREATE TABLE"))
        self.assertEqual(os.stat(os.path.join(self.dir, "target.txt")).st_mode & 0o777, 0o640)

    def test_create_then_scripts_stop_at_the_failing_batch(self):
        data = ["--data", self.dir, "--database", "firma"]
        self.assertIn("1 Tabelle angelegt oder aktualisiert", self.ok("create", *data, "kunde.def")[1])
        # Run again: the script brings an existing table up to date.
        self.assertEqual(self.ok("create", "--quiet", *data, "kunde.def")[1], "")
        # LF line ends, GO in lower case with blanks, a GO line inside a comment.
        self.write("fill.sql", "INSERT INTO ut_KUNDE (RecId, NR) VALUES (1, 7)\ngo  \n/* GO\n*/\nSELECT 1\nGO\n")
        self.assertIn("fill.sql: 2 Stapel ausgeführt", self.ok("run", *data, "fill.sql")[1])
        self.ok("run", *data, "-", stdin=b"IF NOT EXISTS (SELECT * FROM KUNDE WHERE NR = 7) SELECT * FROM nix")
        self.write("broken.sql", "SELECT 1\r\nGO\r\n\r\nSELECT * FROM nix\r\nGO\r\nCREATE TABLE later (a int)\r\nGO\r\n",
                   newline="")
        _, err = self.fails("broken.sql: Stapel 2 (Zeile 4) fehlgeschlagen", "run", *data, "broken.sql")
        self.assertIn("Invalid object name 'nix'", err)
        # GO with blanks around, a comment, a count; a byte order mark; a comment left open.
        _, err = self.ok("run", *data, "-", stdin=b"\xef\xbb\xbfCREATE TABLE n (a int)\n  GO -- fertig\n"
                         b"INSERT INTO n VALUES (1)\ngo 3\nIF (SELECT COUNT(*) FROM n) <> 3 SELECT * FROM nix\n")
        self.assertIn("5 Stapel ausgeführt", err)
        self.fails("Standardeingabe: Kommentar ab Zeile 3 nicht geschlossen", "run", *data, "-",
                   stdin=b"SELECT 1\nGO\n/* offen\nGO\nSELECT 2\n")
        # No table later: the batch after the failing one did not run.
        self.fails("Standardeingabe: Stapel 1 (Zeile 1)", "run", *data, "-", stdin=b"SELECT * FROM later\n")
        # A script in UTF-8 is refused unless converted; the bytes as they are
        # make two characters of an umlaut.
        script = "CREATE TABLE u (t varchar(9))\nGO\nINSERT INTO u VALUES ('\u00e4')\n".encode("utf-8")
        cases = [(script, 3), (script + b"-- \xf6\n", 3),  # also with a Windows-1252 byte besides
                 (b"-- \xe2\x86\x92\n", 1),  # characters Windows-1252 lacks
                 ("SELECT N'\u041f\u0440\u0438'\n".encode("utf-8"), 1),
                 (b"\xef\xbb\xbf\n-- \xf6\n", 2),  # marked as UTF-8, holding a Windows-1252 byte
                 # Windows-1252 text whose byte pairs read as characters it lacks.
                 (b"SELECT '\x84Gro\xdf\x93 Fu\xdf\x85 \xd6\xa0 Caf\xe9\x93\x85'\n", 0)]
        for text, line in cases:
            with self.subTest(text=text):
                code, _, err = self.lerv("run", *data, "-", stdin=text)
                self.assertEqual(code, 1 if line else 0, err)
                if line:
                    self.assertIn(f"Zeile {line}: Text in UTF-8 (--encoding utf-8 wandelt ihn um", err)
        for encoding, length in (("utf-8", 1), ("codepage", 2)):
            with self.subTest(encoding=encoding):
                self.ok("run", *data, "--encoding", encoding, "-", stdin=b"\xef\xbb\xbf" + script +
                        f"GO\nIF (SELECT LEN(t) FROM u) <> {length} SELECT * FROM nix\nDROP TABLE u\n".encode())
        self.fails("ein Zeichen, das Windows-1252 nicht kennt", "run", *data, "--encoding", "utf-8", "-",
                   stdin="SELECT '\u4e2d'".encode("utf-8"))

    def records(self, count):
        rows = []
        for i in range(1, count + 1):
            date = "0000-00-00" if i % 7 == 0 else "2024-%02d-%02d" % (i % 12 + 1, i % 28 + 1)
            # äöü in the OEM code page the record buffers hold.
            rows.append("%d\tName %d \x84\x94\x81\tORT%d\t%d.%02d\t%s\r\n" % (i, i, i % 5, i * 3, i % 100, date))
        return "".join(rows)

    def test_import_then_export_gives_the_lines_back(self):
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "kunde.def")
        lines = self.records(300)
        self.write("in.txt", lines, newline="")
        _, err = self.ok("import", *data, "--batch", "64", "kunde.def", "in.txt")
        self.assertEqual(err, "300 Datensätze übernommen (300 angefügt, 0 geändert)\n", "a bar where no terminal is")
        self.ok("export", *data, "-o", "out.txt", "kunde.def")
        with open(os.path.join(self.dir, "out.txt"), encoding="latin-1", newline="") as f:
            self.assertEqual(f.read(), lines)
        # In the order of the key on ORT and NR: ORT0 first, and by NR within it.
        out = self.ok("export", *data, "--key", "ORT_KEY", "kunde.def")[0]
        self.assertEqual([line.split("\t")[0] for line in out.splitlines()[:3]], ["5", "10", "15"])
        out = self.ok("export", *data, "--xml", "kunde.def")[0]
        self.assertEqual(out.count("<record RecId="), 300)
        self.assertIn("<NAME>Name 1 &#228;&#246;&#252;</NAME>", out)
        # The same key updates; a new one is appended.
        self.write("upd.txt", "1\tNAME 1 \x84\x94\x81\tORT1\t9.99\t2024-01-01\r\n"
                              "301\tNeu\tORT1\t1.00\t2024-01-01\r\n", newline="")
        self.assertIn("(1 angefügt, 1 geändert)", self.ok("import", *data, "--update-by", "NAME_KEY", "kunde.def",
                                                          "upd.txt")[1])
        out = self.ok("export", *data, "kunde.def")[0]
        self.assertEqual(out.splitlines()[0], "1\tNAME 1 \x84\x94\x81\tORT1\t9.99\t2024-01-01")
        self.assertEqual(len(out.splitlines()), 301)

    def test_a_line_that_does_not_convert_imports_nothing(self):
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "kunde.def")
        good = "1\tA\tB\t1.00\t2024-01-01\r\n"
        # Each kind of problem a field can have is in lerv_parts_test (ImportLine);
        # here a value and the field count, with the line they are in.
        cases = [
            ("x\tA\tB\t1\t2024-01-01", "Feld NR: keine Zahl"),
            ("1\tA\tB\t1", "4 Felder statt 5"),
        ]
        for line, message in cases:
            with self.subTest(line=line):
                self.fails("Standardeingabe, Zeile 2: " + message, "import", *data, "kunde.def",
                           stdin=(good + line + "\r\n").encode("latin-1"))
        self.assertEqual(self.ok("export", *data, "kunde.def")[0], "")
        # An upper-case field takes lower-case umlauts (OEM ü) and stores them in upper case.
        self.ok("import", "-q", *data, "kunde.def", stdin=b"1\tA\tm\x81nchen\t1\t\r\n")
        self.assertEqual(self.ok("export", *data, "kunde.def")[0], "1\tA\tM\x9aNCHEN\t1.00\t0000-00-00\r\n")
        self.fails("kein Schlüssel \"NIX\" (vorhanden: NAME_KEY, ORT_KEY)", "export", *data, "--key", "NIX", "-o",
                   "x.txt", "kunde.def")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "x.txt")))

    def test_utf8_lines_are_refused_unless_an_encoding_is_chosen(self):
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "kunde.def")
        utf8 = "\ufeff1\tMüller\tKÖLN\t1.00\t2024-01-01\r\n2\tBär\tX\t2.00\t2024-01-01\r\n".encode("utf-8")
        self.fails("Standardeingabe, Zeile 1: Text in UTF-8 (--encoding utf-8", "import", *data, "kunde.def", stdin=utf8)
        # A character the code page of the records lacks: nothing imported.
        self.fails("Zeile 3: kein UTF-8 oder ein Zeichen, das der Zeichensatz 850 nicht kennt", "import", *data,
                   "--encoding", "utf-8", "kunde.def", stdin=utf8 + "3\t中\tX\t1\t\r\n".encode("utf-8"))
        self.assertEqual(self.ok("export", *data, "kunde.def")[0], "")
        self.ok("import", "-q", *data, "--encoding", "utf-8", "kunde.def", stdin=utf8)
        # Bytes that merely look like UTF-8 (OEM "Ãü") are taken as they are when asked.
        self.ok("import", "-q", *data, "--encoding", "codepage", "kunde.def", stdin=b"9\tM\xc7\x81ller\tX\t1\t\r\n")
        # Stored in the code page (OEM ü, Ö), given back in UTF-8 on request.
        lines = self.ok("export", *data, "kunde.def")[0].splitlines()
        self.assertEqual(lines[0], "1\tM\x81ller\tK\x99LN\t1.00\t2024-01-01")
        self.assertEqual(lines[2][:9], "9\tM\xc7\x81ller")
        self.ok("export", *data, "--encoding", "utf-8", "-o", "out.txt", "kunde.def")
        with open(os.path.join(self.dir, "out.txt"), "rb") as f:
            self.assertEqual(f.read().split(b"\r\n")[:2], utf8[3:].split(b"\r\n")[:2])

    def test_walk_and_show_line_up_the_records(self):
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "kunde.def")
        self.ok("import", "-q", *data, "kunde.def", stdin=self.records(30).encode("latin-1"))
        lines = self.ok("walk", *data, "--key", "ORT_KEY", "--prefix", "ORT2", "-n", "3", "kunde.def")[0].splitlines()
        self.assertEqual(lines[0].split(), ["RecId", "NR", "NAME", "ORT", "UMSATZ", "SEIT"])
        self.assertEqual([line.split()[0] for line in lines[2:5]], ["2", "7", "12"])
        self.assertEqual(lines[5], "3 Datensätze in der Folge von ORT_KEY")
        # Columns line up: every row as wide as the rule under the names.
        self.assertEqual(len({len(line.rstrip()) for line in lines[1:5]} - {len(lines[1])}), 0)
        out = self.ok("walk", *data, "--from", "NAME 25", "--to", "NAME 27", "kunde.def")[0]
        self.assertEqual([line.split()[0] for line in out.splitlines()[2:-1]], ["25", "26", "27"])
        out = self.fails("kein Datensatz mit RecId 99", "show", *data, "kunde.def", "3", "99")[0]
        self.assertIn("RecId   3\nNR      3\n", out)

    def test_check_finds_each_kind_of_drift_and_none_after_create(self):
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "kunde.def")
        self.assertEqual(self.ok("check", *data, "kunde.def")[0], "KUNDE (kunde.def): in Ordnung\n")
        self.write("alter.sql", "DROP PROCEDURE up_Del_KUNDE\nGO\nALTER TABLE ut_KUNDE ADD Extra int NULL\nGO\n"
                                "ALTER TABLE ut_KUNDE ALTER COLUMN ORT char(25)\nGO\n"
                                "DECLARE @d sysname = (SELECT name FROM sysobjects WHERE xtype = 'D' "
                                "AND parent_obj = OBJECT_ID('ut_KUNDE') AND name LIKE 'DF__ut_KUNDE__SEIT%')\n"
                                "EXEC('ALTER TABLE ut_KUNDE DROP CONSTRAINT ' + @d)\nDROP VIEW KUNDE\n"
                                "ALTER TABLE ut_KUNDE DROP COLUMN SEIT\nGO\n"
                                "ALTER PROCEDURE up_Sel_KUNDE @RI integer AS SELECT 1\nGO\n"
                                "DROP INDEX ut_KUNDE_Keys.Ik_ORT_KEY\nGO\nDROP TRIGGER tr_KUNDE_KeyDel\nGO\n"
                                "DROP FUNCTION dpxfunc_NextRecId_KUNDE\nGO\nDROP TABLE ut_KUNDE_Keys\nGO\n")
        self.ok("run", *data, "alter.sql")
        out = self.fails("", "check", *data, "kunde.def")[0]
        for line in ["Tabelle ut_KUNDE, Spalte ORT: char(20) erwartet, char(25) vorhanden",
                     "Tabelle ut_KUNDE, Spalte Extra (int): nicht in der Definition",
                     "Tabelle ut_KUNDE, Spalte SEIT: fehlt",
                     "Sicht KUNDE: fehlt",
                     "Prozedur up_Sel_KUNDE: Text weicht vom erzeugten ab",
                     "Prozedur up_Del_KUNDE: fehlt",
                     "Funktion dpxfunc_NextRecId_KUNDE: fehlt",
                     "Tabelle ut_KUNDE_Keys: fehlt",
                     "Trigger tr_KUNDE_KeyDel: fehlt",
                     "Index Ik_ORT_KEY: fehlt"]:
            self.assertIn("\n  " + line + "\n", out)
        self.assertTrue(out.startswith("KUNDE (kunde.def): "), out)
        # Created again, what remains is what the script never undoes: a
        # column it does not know, a column wider than the definition.
        self.ok("create", "-q", *data, "kunde.def")
        out = self.lerv("check", *data, "kunde.def")[1]
        self.assertEqual(out.splitlines()[1:], ["  Tabelle ut_KUNDE, Spalte ORT: char(20) erwartet, char(25) vorhanden",
                                                "  Tabelle ut_KUNDE, Spalte Extra (int): nicht in der Definition"])

    def test_a_table_whose_procedure_names_meet_another_tables_is_refused(self):
        # T with key A_B and T_A with key B both compose up_First_T_A_B.
        self.write("t.def", "ALIAS=T\nUSEKEYTAB=1\nFIELD=A_B,C,5\nKEY=A_B,A_B\n")
        self.write("t_a.def", "ALIAS=T_A\nUSEKEYTAB=1\nFIELD=B,C,5\nKEY=B,B\n")
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "t.def")
        code, _, err = self.lerv("create", "-q", *data, "t_a.def")
        self.assertNotEqual(code, 0)
        # Under Wine the server's message reaches the program in UTF-8, and
        # its umlaut is converted once more.
        self.assertIn("Prozedur up_First_T_A_B geh", err)
        self.assertIn("rt zu einer anderen Tabelle und wird nicht ersetzt", err)
        self.assertEqual(self.ok("check", *data, "t.def")[0], "T (t.def): in Ordnung\n")
        out = self.fails("", "check", *data, "t_a.def")[0]
        self.assertIn("\n  Tabelle ut_T_A: fehlt\n", out)
        self.assertIn("\n  Prozedur up_First_T_A_B: gehört zu einer anderen Tabelle\n", out)

    def test_a_key_table_procedure_is_told_from_a_data_table_procedure_of_the_same_table_name(self):
        # T's key table and T_Keys's data table are both ut_T_Keys; T with key
        # Keys_K and T_Keys with key K both compose up_First_T_Keys_K. T's key
        # table [ut_T_Keys] begins [ut_T_Keys]]_Keys], T_Keys]'s key table.
        cases = [("ALIAS=T_Keys\nFIELD=NR,N,8\nKEY=K,NR\n", "Keys_K", "up_First_T_Keys_K"),
                 ("ALIAS=T_Keys]\nUSEKEYTAB=1\nFIELD=NR,N,8\nKEY=K,NR\n", "Keys]_K", "up_First_T_Keys]_K")]
        for made, key, procedure in cases:
            with self.subTest(key=key):
                data = ["--data", os.path.join(self.dir, key.replace("]", "_"))]
                os.makedirs(data[1])
                self.write("made.def", made)
                self.write("t.def", "ALIAS=T\nUSEKEYTAB=1\nFIELD=NR,N,8\nKEY=" + key + ",NR\n")
                self.ok("create", "-q", *data, "made.def")
                out = self.fails("", "check", *data, "t.def")[0]
                self.assertIn("\n  Prozedur " + procedure + ": gehört zu einer anderen Tabelle\n", out)
                self.assertNotEqual(self.lerv("create", "-q", *data, "t.def")[0], 0)
                self.assertEqual(self.lerv("check", *data, "made.def")[0], 0, "the made table keeps its procedures")

    def test_names_that_are_no_identifiers_are_created_and_checked(self):
        self.write("boese.def", "ALIAS=EVIL2];DROP TABLE OPFER;--\nUSEKEYTAB=1\nFIELD=a'b],C,5\nFIELD=x--y,l\n"
                                "KEY=K];DROP TABLE O,a'b],x--y\n")
        data = ["--data", self.dir]
        self.write("opfer.sql", "CREATE TABLE OPFER (a int)\nGO\n")
        self.ok("run", *data, "opfer.sql")
        self.ok("create", "-q", *data, "boese.def")
        self.assertEqual(self.ok("check", *data, "boese.def")[0], "EVIL2];DROP TABLE OPFER;-- (boese.def): in Ordnung\n")
        self.write("opfer.sql", "SELECT count(*) FROM OPFER\nGO\n")
        self.assertEqual(self.lerv("run", *data, "opfer.sql")[0], 0, "OPFER is still there")

    def test_a_table_or_database_that_is_not_there_fails_and_writes_nothing(self):
        self.write("keep.txt", "vorher")
        self.ok("create", "-q", "--data", self.dir, "--database", "leer", "kunde.def")
        self.write("other.def", "ALIAS=ANDERE\nFIELD=A,C,5\nKEY=K,A\n")
        for args, message in [
            (["export", "--data", self.dir, "--database", "leer", "-o", "keep.txt", "other.def"],
             "Tabelle ANDERE fehlt in der Datenbank"),
            (["walk", "--data", self.dir, "--database", "leer", "other.def"], "Tabelle ANDERE fehlt"),
            (["export", "--data", self.dir, "--database", "nirgends", "-o", "keep.txt", "kunde.def"],
             "Keine Verbindung zur Datenbank nirgends"),
        ]:
            with self.subTest(args=args):
                self.fails(message, *args)
        with open(os.path.join(self.dir, "keep.txt"), encoding="latin-1") as f:
            self.assertEqual(f.read(), "vorher")
        self.assertFalse(os.path.exists(os.path.join(self.dir, "nirgends.db")))

    def test_keys_at_their_widest(self):
        wide = "ALIAS=BREIT\nFIELD=A,C,255\nFIELD=B,C,255\nFIELD=C,C,255\nFIELD=D,C,255\nFIELD=E,C,10\nKEY=K,A,B,C,D,E\n"
        self.write("breit.def", wide)
        data = ["--data", self.dir]
        self.ok("create", "-q", *data, "breit.def")
        line = "\t".join(["a" * 255, "b" * 255, "c" * 255, "d" * 255, "e"]) + "\r\n"
        for _ in range(2):
            self.ok("import", "-q", *data, "--update-by", "K", "breit.def", stdin=line.encode())
        out = self.ok("walk", *data, "breit.def")[0]
        self.assertEqual(out.splitlines()[-1], "1 Datensatz in der Folge von K")

    def test_a_database_that_refuses(self):
        _, err = self.fails("Keine Verbindung: DRIVER=nicht-da;PWD=***", "run", "--connect", "DRIVER=nicht-da;PWD=geheim",
                            "kunde.def")
        self.assertIn("nicht-da", err.splitlines()[1])
        self.assertNotIn("geheim", err)


if __name__ == "__main__":
    WORK_DIR, EXAMPLES = sys.argv[1], sys.argv[2]
    LERV = sys.argv[3:]
    os.makedirs(WORK_DIR, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=1)
