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
    done = subprocess.run(LERV + args, cwd=cwd, input=stdin, capture_output=True, timeout=300)
    return done.returncode, done.stdout.decode("utf-8", "replace"), done.stderr.decode("utf-8", "replace")


class LervTest(unittest.TestCase):
    def setUp(self):
        self.dir = os.path.join(WORK_DIR, self._testMethodName)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        shutil.copy(os.path.join(EXAMPLES, "kunde.def"), self.dir)

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def write(self, name, text, newline="\n"):
        with open(os.path.join(self.dir, name), "w", encoding="cp1252", newline=newline) as f:
            f.write(text)

    def lerv(self, *args, stdin=None):
        return run(list(args), self.dir, stdin)

    def test_usage_errors_exit_2_with_a_german_message(self):
        cases = [
            ([], "Kein Befehl angegeben"),
            (["frob"], "Unbekannter Befehl: frob"),
            (["gen", "--bogus", "kunde.def"], "Unerwartetes Argument: --bogus"),
            (["gen"], "Pflichtangabe fehlt: Definitionsdateien"),
            (["gen", "--kind", "foo", "kunde.def"], "Ungültiger Wert für --kind: foo"),
            (["create", "--connect", "DSN=x", "--data", ".", "kunde.def"], "schließen sich aus"),
            (["run", "--data"], "Falsche Zahl von Werten"),
        ]
        for args, message in cases:
            with self.subTest(args=args):
                code, out, err = self.lerv(*args)
                self.assertEqual(code, 2, err)
                self.assertIn(message, err)
                self.assertEqual(out, "")

    def test_help_of_the_program_and_of_each_command(self):
        code, out, _ = self.lerv("--help")
        self.assertEqual(code, 0)
        for command in ("gen", "create", "run"):
            self.assertIn(command, out)
            code, out_command, _ = self.lerv(command, "--help")
            self.assertEqual(code, 0)
            self.assertIn("Aufruf: lerv " + command, out_command)

    def test_broken_definitions_fail_with_file_and_line_and_write_nothing(self):
        many = "".join("FIELD=F%d,C,1\n" % i for i in range(129))
        cases = [
            ("missing.def", None, "Definitionsdatei nicht lesbar: missing.def"),
            ("key.def", "FIELD=A,C,10\nKEY=K,A,B\n", "key.def, Zeile 2: Schlüssel nennt ein unbekanntes Feld \"B\""),
            ("empty.def", "ALIAS=LEER\n", "empty.def: keine Felder"),
            ("many.def", many, "many.def, Zeile 129: Feld nicht übernommen"),
            ("wide.def", "".join("FIELD=F%d,C,1\n" % i for i in range(12)) + "KEY=K," +
             ",".join("F%d" % i for i in range(12)) + "\n", "wide.def, Zeile 13: Schlüssel mit mehr als 11"),
        ]
        self.write("out.sql", "vorher")
        for name, text, message in cases:
            with self.subTest(name=name):
                if text is not None:
                    self.write(name, text)
                code, out, err = self.lerv("gen", "-o", "out.sql", "kunde.def", name)
                self.assertEqual(code, 1, err)
                self.assertIn(message, err)
                with open(os.path.join(self.dir, "out.sql"), encoding="cp1252") as f:
                    self.assertEqual(f.read(), "vorher")
        self.assertEqual(sorted(n for n in os.listdir(self.dir) if n.startswith("out.sql")), ["out.sql"])

    def test_gen_writes_each_kind_to_the_output_file_as_to_standard_output(self):
        kinds = {"script": "CREATE TABLE [dbo].[ut_KUNDE]", "drop": "KUNDE", "struct": "NAME",
                 "trigger-struct": "KUNDE", "cpp": "c_KUNDE"}
        for kind, expected in kinds.items():
            with self.subTest(kind=kind):
                code, out, err = self.lerv("gen", "--tsql", "--kind", kind, "kunde.def")
                self.assertEqual(code, 0, err)
                self.assertTrue(expected in out, out[:200])
                code, _, err = self.lerv("gen", "--tsql", "--kind", kind, "-o", "out.txt", "kunde.def")
                self.assertEqual(code, 0, err)
                with open(os.path.join(self.dir, "out.txt"), encoding="cp1252", newline="") as f:
                    self.assertEqual(f.read(), out)
        code, _, err = self.lerv("gen", "-o", os.path.join("no", "such", "folder", "out.sql"), "kunde.def")
        self.assertEqual(code, 1)
        self.assertIn("Datei kann nicht angelegt werden", err)

    def test_create_then_scripts_stop_at_the_failing_batch(self):
        data = ["--data", self.dir, "--database", "firma"]
        code, _, err = self.lerv("create", *data, "kunde.def")
        self.assertEqual(code, 0, err)
        self.assertIn("Tabelle KUNDE angelegt", err)
        # Run again: the script brings an existing table up to date.
        code, _, err = self.lerv("create", "--quiet", *data, "kunde.def")
        self.assertEqual((code, err), (0, ""))
        # LF line ends, GO in lower case with blanks, a GO line inside a comment.
        self.write("fill.sql", "INSERT INTO ut_KUNDE (RecId, NR) VALUES (1, 7)\ngo  \n/* GO\n*/\nSELECT 1\nGO\n")
        code, _, err = self.lerv("run", *data, "fill.sql")
        self.assertEqual(code, 0, err)
        self.assertIn("fill.sql: 2 Stapel ausgeführt", err)
        code, _, err = self.lerv("run", *data, "-", stdin=b"IF NOT EXISTS (SELECT * FROM KUNDE WHERE NR = 7) SELECT * FROM nix")
        self.assertEqual(code, 0, err)
        self.write("broken.sql", "SELECT 1\r\nGO\r\n\r\nSELECT * FROM nix\r\nGO\r\nCREATE TABLE later (a int)\r\nGO\r\n",
                   newline="")
        code, _, err = self.lerv("run", *data, "broken.sql")
        self.assertEqual(code, 1)
        self.assertIn("broken.sql: Stapel 2 (Zeile 4) fehlgeschlagen", err)
        self.assertIn("Invalid object name 'nix'", err)
        code, _, err = self.lerv("run", *data, "-", stdin=b"SELECT * FROM later\n")
        self.assertEqual(code, 1, "the batch after the failing one ran")
        self.assertIn("Standardeingabe: Stapel 1 (Zeile 1)", err)

    def test_a_database_that_refuses(self):
        code, _, err = self.lerv("run", "--connect", "DRIVER=nicht-da;PWD=geheim", "kunde.def")
        self.assertEqual(code, 1)
        self.assertIn("Keine Verbindung: DRIVER=nicht-da;PWD=***", err)
        self.assertNotIn("geheim", err)


if __name__ == "__main__":
    WORK_DIR, EXAMPLES = sys.argv[1], sys.argv[2]
    LERV = sys.argv[3:]
    os.makedirs(WORK_DIR, exist_ok=True)
    unittest.main(argv=sys.argv[:1], verbosity=1)
