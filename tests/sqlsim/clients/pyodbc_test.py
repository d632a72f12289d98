#!/usr/bin/python3
"""pyodbc (Debian's python3-pyodbc) against the driver, through the driver
manager: parameters, executemany, fetching, descriptions, transactions,
errors, the code page, long values and the catalog methods.

    pyodbc_test.py WORK_DIR
"""
import datetime
import decimal
import os
import shutil
import sys
import unittest

import pyodbc

WORK_DIR = None


class DatabaseTest(unittest.TestCase):
    """A fresh database in a folder of the test's own, and a cursor on it."""

    def connect(self, **options):
        self.dir = os.path.join(WORK_DIR, self._testMethodName)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.cn = pyodbc.connect("DRIVER=sqlsim;DATADIR=%s;DATABASE=py;AUTOCREATE=1" % self.dir, **options)
        self.cur = self.cn.cursor()

    def tearDown(self):
        self.cn.close()
        shutil.rmtree(self.dir, ignore_errors=True)


class PyodbcTest(DatabaseTest):
    def setUp(self):
        self.connect()
        self.cn.setdecoding(pyodbc.SQL_CHAR, encoding="cp1252")
        self.cur.execute("CREATE TABLE items (id int NOT NULL, name varchar(30), price float, "
                         "added datetime, data varbinary(16), flag bit, body text, blob image)")
        self.cn.commit()

    def test_values_of_each_kind_round_trip(self):
        added = datetime.datetime(2024, 2, 29, 13, 14, 15, 250000)
        body = "".join(chr(ord("a") + i % 26) for i in range(100000))
        blob = bytes(i * 7 % 256 for i in range(100000))
        row = (1, "Müller € 中", 0.5, added, b"\x00\x01\xff", True, body, blob)
        self.cur.execute("INSERT INTO items VALUES (?, ?, ?, ?, ?, ?, ?, ?)", *row)
        self.assertEqual(self.cur.rowcount, 1)
        self.cur.execute("SELECT * FROM items")
        self.assertEqual([(d[0], d[1]) for d in self.cur.description[:4]],
                         [("id", int), ("name", str), ("price", float), ("added", datetime.datetime)])
        self.assertEqual(self.cur.description[1][3], 30)
        self.assertEqual(tuple(self.cur.fetchone()), (1, "Müller € ?") + row[2:])
        self.assertIsNone(self.cur.fetchone())

    def test_executemany_fetchmany_and_transactions(self):
        self.assertFalse(self.cn.autocommit)
        self.cur.executemany("INSERT INTO items (id, name) VALUES (?, ?)",
                             [(i, "item %d" % i) for i in range(1, 8)] + [(8, None)])
        self.cn.commit()
        self.cur.execute("DELETE FROM items WHERE id > 1")
        self.cn.rollback()
        self.cur.execute("SELECT id, name FROM items ORDER BY id")
        self.assertEqual(tuple(self.cur.fetchone()), (1, "item 1"))
        self.assertEqual([tuple(r) for r in self.cur.fetchmany(3)], [(2, "item 2"), (3, "item 3"), (4, "item 4")])
        self.assertEqual([tuple(r) for r in self.cur.fetchall()], [(5, "item 5"), (6, "item 6"), (7, "item 7"), (8, None)])

    def test_errors_carry_state_and_server_message(self):
        with self.assertRaises(pyodbc.ProgrammingError) as caught:
            self.cur.execute("SELECT * FROM nosuch")
        state, message = caught.exception.args
        self.assertEqual(state, "42S02")
        self.assertIn("[sqlsim][SQL Server]Invalid object name 'nosuch'. (208)", message)

    def test_one_code_page_for_statement_text_and_parameters(self):
        # The 8-bit calls carry text in the server's code page both ways. On
        # a connection made with the UTF-16 functions the driver manager
        # would convert them by its locale: an 8-bit client connects 8-bit.
        cn = pyodbc.connect("DRIVER=sqlsim;DATADIR=%s;DATABASE=py" % self.dir, ansi=True)
        cn.setencoding(encoding="cp1252")
        cn.setdecoding(pyodbc.SQL_CHAR, encoding="cp1252")
        cur = cn.cursor()
        cur.execute("INSERT INTO items (id, name) VALUES (1, 'Größe €')")
        cur.execute("INSERT INTO items (id, name) VALUES (?, ?)", 2, "Größe €")
        rows = cur.execute("SELECT id, DATALENGTH(name) FROM items "
                           "WHERE name = 'GRÖSSE €' OR name = 'größe €' ORDER BY id").fetchall()
        self.assertEqual([tuple(r) for r in rows], [(1, 7), (2, 7)])
        cn.close()

    def test_unicode_calls_with_pyodbc_defaults(self):
        # No setencoding: statements, names and messages cross as UTF-16.
        self.cur.execute("CREATE TABLE Größe (Ärger int, [Preis€] int)")
        self.cur.execute("INSERT INTO größe (ärger, preis€) VALUES (1, 2)")
        self.cur.execute("SELECT * FROM GRÖßE")
        self.assertEqual([d[0] for d in self.cur.description], ["Ärger", "Preis€"])
        self.assertEqual([tuple(r) for r in self.cur.fetchall()], [(1, 2)])
        self.assertEqual([r[2] for r in self.cur.tables(table="Größe")], ["Größe"])
        self.assertEqual(self.cur.execute("SELECT 1 AS [x中]").description[0][0], "x?")
        with self.assertRaises(pyodbc.ProgrammingError) as caught:
            self.cur.execute("SELECT * FROM Größe_fehlt")
        self.assertIn("[sqlsim][SQL Server]Invalid object name 'Größe_fehlt'. (208)", caught.exception.args[1])

    def test_escape_sequences_with_parameters(self):
        self.cur.execute("INSERT INTO items (id, name, added) VALUES (1, 'anna', {ts '2024-02-29 13:14:15'})")
        self.cur.execute("CREATE PROCEDURE names_from @id int AS SELECT {fn UCASE(name)} FROM items WHERE id >= @id")
        row = self.cur.execute("SELECT {fn CONCAT(name, '!')}, added FROM items "
                               "WHERE added > {d '2024-02-29'} AND id = ?", 1).fetchone()
        self.assertEqual(tuple(row), ("anna!", datetime.datetime(2024, 2, 29, 13, 14, 15)))
        self.assertEqual(self.cur.execute("{call names_from(?)}", 1).fetchall()[0][0], "ANNA")
        with self.assertRaises(pyodbc.ProgrammingError) as caught:
            self.cur.execute("SELECT {fn UCASE(name) FROM items")
        self.assertEqual(caught.exception.args[0], "42000")

    def test_new_identity_read_back_in_the_inserting_batch(self):
        # The usual way to learn a new key: one batch, the value a Decimal.
        self.cur.execute("CREATE TABLE numbered (id int IDENTITY(10, 1) PRIMARY KEY, name varchar(10))")
        self.cur.execute("SET NOCOUNT ON INSERT INTO numbered (name) VALUES (?) SELECT SCOPE_IDENTITY()", "a")
        self.assertEqual(self.cur.description[0][1], decimal.Decimal)
        self.assertEqual(self.cur.fetchone()[0], decimal.Decimal(10))
        columns = self.cur.execute("SELECT COLUMN_NAME FROM INFORMATION_SCHEMA.COLUMNS "
                                   "WHERE TABLE_NAME = ? ORDER BY ORDINAL_POSITION", "numbered").fetchall()
        self.assertEqual([c[0] for c in columns], ["id", "name"])

    def test_fast_executemany_inserts_exactly_the_rows(self):
        # Parameter arrays, typed by SQLDescribeParam.
        self.cur.fast_executemany = True
        start = datetime.datetime(2020, 1, 1, 8, 30)
        rows = [(i, None if i % 7 == 0 else "name %d" % i, None if i % 11 == 0 else i / 4.0,
                 start + datetime.timedelta(minutes=i)) for i in range(100000)]
        self.cur.executemany("INSERT INTO items (id, name, price, added) VALUES (?, ?, ?, ?)", rows)
        self.cn.commit()
        got = self.cur.execute("SELECT id, name, price, added FROM items ORDER BY id").fetchall()
        self.assertEqual([tuple(r) for r in got], rows)

    def test_fast_executemany_into_max_columns(self):
        # (max) columns are described with size 0: pyodbc sends them as data
        # at execution, set by set.
        self.cur.execute("CREATE TABLE notes (id int NOT NULL, v varchar(max), n nvarchar(max), b varbinary(max))")
        self.cur.fast_executemany = True
        rows = [(i, "v%d" % i * (i % 40), "ü€%d" % i if i % 3 else None, bytes([i % 256]) * (i % 90))
                for i in range(3000)]
        self.cur.executemany("INSERT INTO notes VALUES (?, ?, ?, ?)", rows)
        self.cn.commit()
        got = self.cur.execute("SELECT * FROM notes ORDER BY id").fetchall()
        self.assertEqual([tuple(r) for r in got], rows)

    def test_output_parameters_through_a_batch(self):
        self.cur.execute("CREATE PROCEDURE twice @i int, @o int OUTPUT AS SET @o = @i * 2 RETURN 5")
        row = self.cur.execute("SET NOCOUNT ON DECLARE @o int, @rc int "
                               "EXEC @rc = twice ?, @o OUTPUT SELECT @o, @rc", 21).fetchone()
        self.assertEqual(tuple(row), (42, 5))


class CatalogTest(DatabaseTest):
    """Each catalog method gives the rows SQL Server's driver gives."""

    def setUp(self):
        self.connect(autocommit=True)
        for sql in ["CREATE TABLE Kunde (Nr int IDENTITY(1,1) NOT NULL, Name varchar(30) NOT NULL, "
                    "Saldo decimal(10,2) NULL DEFAULT 0, CONSTRAINT PK_Kunde PRIMARY KEY (Nr))",
                    "CREATE INDEX IX_Kunde_Name ON Kunde (Name)",
                    "CREATE VIEW V_Kunde AS SELECT Nr FROM Kunde",
                    "CREATE PROCEDURE Buche @nr int, @neu varchar(10) OUTPUT AS SET @neu = 'x'"]:
            self.cur.execute(sql)

    def rows(self, cursor):
        return [tuple(r) for r in cursor.fetchall()]

    def test_every_catalog_method(self):
        cur = self.cur
        self.assertEqual(self.rows(cur.tables(schema="dbo")),
                         [("py", "dbo", "Kunde", "TABLE", None), ("py", "dbo", "V_Kunde", "VIEW", None)])
        self.assertEqual([d[0] for d in cur.tables(table="x").description],
                         ["table_cat", "table_schem", "table_name", "table_type", "remarks"])
        self.assertEqual(self.rows(cur.columns(table="Kunde")), [
            ("py", "dbo", "Kunde", "Nr", 4, "int identity", 10, 4, 0, 10, 0, None, None, 4, None, None, 1, "NO"),
            ("py", "dbo", "Kunde", "Name", 12, "varchar", 30, 30, None, None, 0, None, None, 12, None, 30, 2, "NO"),
            ("py", "dbo", "Kunde", "Saldo", 3, "decimal", 10, 12, 2, 10, 1, None, "((0))", 3, None, None, 3, "YES")])
        self.assertEqual(self.rows(cur.primaryKeys("Kunde")), [("py", "dbo", "Kunde", "Nr", 1, "PK_Kunde")])
        self.assertEqual(self.rows(cur.foreignKeys("Kunde")), [])
        self.assertEqual(self.rows(cur.statistics("Kunde")), [
            ("py", "dbo", "Kunde", None, None, None, 0, None, None, None, 0, None, None),
            ("py", "dbo", "Kunde", False, "Kunde", "PK_Kunde", 1, 1, "Nr", "A", None, None, None),
            ("py", "dbo", "Kunde", True, "Kunde", "IX_Kunde_Name", 3, 1, "Name", "A", None, None, None)])
        self.assertEqual(self.rows(cur.rowIdColumns("Kunde")), [(1, "Nr", 4, "int identity", 10, 4, 0, 1)])
        self.assertEqual(self.rows(cur.procedures()), [("py", "dbo", "Buche;1", -1, -1, -1, None, 1)])
        self.assertEqual([(r[3], r[4], r[5], r[6], r[7]) for r in cur.procedureColumns("Buche")],
                         [("@RETURN_VALUE", 5, 4, "int", 10), ("@nr", 1, 4, "int", 10),
                          ("@neu", 2, 12, "varchar", 10)])
        self.assertEqual([r[:3] for r in cur.getTypeInfo(pyodbc.SQL_TYPE_TIMESTAMP)], [("datetime", 93, 23)])

    def test_names_beyond_ascii(self):
        # The catalog methods pass their names as UTF-16, as statements do
        # with pyodbc's defaults: the driver takes them in its code page.
        self.cn.setdecoding(pyodbc.SQL_CHAR, encoding="cp1252")
        cur = self.cur
        cur.execute("CREATE TABLE [Größe] ([Maß] int NOT NULL PRIMARY KEY, [Ärger€] char(2) NULL)")
        cur.execute("CREATE PROCEDURE [Prüfe] @wert int AS RETURN 0")
        self.assertEqual([r[2] for r in cur.tables(table="Größe")], ["Größe"])
        self.assertEqual([r[3] for r in cur.columns(table="Größe", column="Ä%")], ["Ärger€"])
        self.assertEqual([r[3] for r in cur.primaryKeys("Größe")], ["Maß"])
        self.assertEqual([r[8] for r in cur.statistics("Größe")], [None, "Maß"])
        self.assertEqual([r[1] for r in cur.rowIdColumns("Größe")], ["Maß"])
        self.assertEqual([r[2] for r in cur.procedures("Prüfe")], ["Prüfe;1"])
        self.assertEqual([r[3] for r in cur.procedureColumns("Prüfe")], ["@RETURN_VALUE", "@wert"])
        self.assertEqual(self.rows(cur.tables(table="Gr\u00f6\u00dfe\u4e2d")), [])
        # Temporary tables, table variables and CTEs by their names in
        # another case, as the permanent ones.
        cur.execute("SET NOCOUNT ON CREATE TABLE #GRÖßE (a int) INSERT INTO #größe VALUES (1) "
                    "DECLARE @Ä TABLE (a int) INSERT INTO @ä SELECT a FROM #größe "
                    ";WITH Ü AS (SELECT a FROM @ä) SELECT * FROM ü")
        self.assertEqual(self.rows(cur), [(1,)])
        cur.execute("INSERT INTO GRÖßE (maß, ärger€) VALUES (1, 'x')")
        cur.execute("SELECT GRÖßE.ÄRGER€ FROM größe WHERE ÄRGER€ = 'x'")
        self.assertEqual(self.rows(cur), [("x ",)])


if __name__ == "__main__":
    WORK_DIR = os.path.abspath(sys.argv.pop(1))
    os.makedirs(WORK_DIR, exist_ok=True)
    unittest.main(verbosity=2)
