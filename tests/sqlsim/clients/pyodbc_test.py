#!/usr/bin/python3
"""pyodbc (Debian's python3-pyodbc) against the driver, through the driver
manager: connecting with a connection string, parameters, executemany,
fetching, transactions and errors.

    pyodbc_test.py WORK_DIR
"""
import datetime
import os
import shutil
import sys
import unittest

import pyodbc

WORK_DIR = None


class PyodbcTest(unittest.TestCase):
    def setUp(self):
        self.dir = os.path.join(WORK_DIR, self._testMethodName)
        shutil.rmtree(self.dir, ignore_errors=True)
        os.makedirs(self.dir)
        self.cn = pyodbc.connect(
            "DRIVER=sqlsim;DATADIR=%s;DATABASE=py;AUTOCREATE=1" % self.dir)
        self.cur = self.cn.cursor()
        self.cur.execute("CREATE TABLE items (id int NOT NULL, name varchar(30), "
                         "price float, added datetime, data varbinary(16), "
                         "flag bit)")
        self.cn.commit()

    def tearDown(self):
        self.cn.close()
        shutil.rmtree(self.dir, ignore_errors=True)

    def test_parameters_of_each_kind_round_trip(self):
        added = datetime.datetime(2024, 2, 29, 13, 14, 15, 250000)
        self.cur.execute("INSERT INTO items VALUES (?, ?, ?, ?, ?, ?)",
                         1, "apple", 0.5, added, b"\x00\x01\xff", True)
        self.assertEqual(self.cur.rowcount, 1)
        self.cur.execute("SELECT id, name, price, added, data, flag FROM items")
        row = self.cur.fetchone()
        self.assertEqual(tuple(row), (1, "apple", 0.5, added, b"\x00\x01\xff", True))
        self.assertIsNone(self.cur.fetchone())

    def test_executemany_then_fetchone_and_fetchmany(self):
        self.cur.executemany("INSERT INTO items (id, name) VALUES (?, ?)",
                             [(i, "item %d" % i) for i in range(1, 8)] + [(8, None)])
        self.cn.commit()
        self.cur.execute("SELECT id, name FROM items ORDER BY id")
        self.assertEqual(tuple(self.cur.fetchone()), (1, "item 1"))
        self.assertEqual([tuple(r) for r in self.cur.fetchmany(3)],
                         [(2, "item 2"), (3, "item 3"), (4, "item 4")])
        rest = self.cur.fetchall()
        self.assertEqual([r.id for r in rest], [5, 6, 7, 8])
        self.assertIsNone(rest[-1].name)

    def test_description_names_the_columns_and_types(self):
        self.cur.execute("SELECT id, name, price, added FROM items")
        names = [d[0] for d in self.cur.description]
        types = [d[1] for d in self.cur.description]
        self.assertEqual(names, ["id", "name", "price", "added"])
        self.assertEqual(types, [int, str, float, datetime.datetime])
        self.assertEqual(self.cur.description[1][3], 30)

    def test_rollback_undoes_and_commit_keeps(self):
        self.assertFalse(self.cn.autocommit)
        self.cur.execute("INSERT INTO items (id) VALUES (1)")
        self.cn.rollback()
        self.cur.execute("INSERT INTO items (id) VALUES (2)")
        self.cn.commit()
        self.assertEqual(self.cur.execute("SELECT id FROM items").fetchall()[0][0], 2)
        self.assertEqual(len(self.cur.execute("SELECT id FROM items").fetchall()), 1)

    def test_rowcount_of_updates(self):
        self.cur.executemany("INSERT INTO items (id) VALUES (?)", [(1,), (2,), (3,)])
        self.cur.execute("UPDATE items SET name = 'x' WHERE id > 1")
        self.assertEqual(self.cur.rowcount, 2)
        self.cur.execute("DELETE FROM items WHERE id = 99")
        self.assertEqual(self.cur.rowcount, 0)

    def test_errors_carry_state_and_server_message(self):
        with self.assertRaises(pyodbc.ProgrammingError) as caught:
            self.cur.execute("SELECT * FROM nosuch")
        state, message = caught.exception.args
        self.assertEqual(state, "42S02")
        self.assertIn("[sqlsim][SQL Server]Invalid object name 'nosuch'.", message)
        self.assertIn("(208)", message)

    def test_text_goes_through_the_servers_code_page(self):
        self.cn.setdecoding(pyodbc.SQL_CHAR, encoding="cp1252")
        self.cur.execute("INSERT INTO items (id, name) VALUES (?, ?)", 1, "Müller € 中")
        name = self.cur.execute("SELECT name FROM items").fetchone()[0]
        self.assertEqual(name, "Müller € ?")

    def test_one_code_page_for_statement_text_and_parameters(self):
        # The 8-bit calls carry text in the server's code page both ways.
        self.cn.setencoding(encoding="cp1252")
        self.cn.setdecoding(pyodbc.SQL_CHAR, encoding="cp1252")
        self.cur.execute("INSERT INTO items (id, name) VALUES (1, 'Größe')")
        self.cur.execute("INSERT INTO items (id, name) VALUES (?, ?)", 2, "Größe")
        rows = self.cur.execute(
            "SELECT id, DATALENGTH(name) FROM items WHERE name = 'GRÖSSE' OR name = 'größe' ORDER BY id"
        ).fetchall()
        self.assertEqual([tuple(r) for r in rows], [(1, 5), (2, 5)])

    def test_long_values_in_and_out(self):
        self.cur.execute("CREATE TABLE docs (body text, blob image)")
        body = "".join(chr(ord("a") + i % 26) for i in range(100000))
        blob = bytes(i * 7 % 256 for i in range(100000))
        self.cur.execute("INSERT INTO docs VALUES (?, ?)", body, blob)
        row = self.cur.execute("SELECT body, blob FROM docs").fetchone()
        self.assertEqual(row[0], body)
        self.assertEqual(row[1], blob)


if __name__ == "__main__":
    WORK_DIR = os.path.abspath(sys.argv.pop(1))
    os.makedirs(WORK_DIR, exist_ok=True)
    unittest.main(verbosity=2)
