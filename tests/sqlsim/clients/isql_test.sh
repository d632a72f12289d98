#!/usr/bin/env bash
# isql against the sqlsim_test data source: statements on standard input,
# then the printed tables, row counts and errors checked in order. isql is an
# ODBC 2 application: `help` shows the ODBC 2 column names.
#   isql_test.sh WORK_DIR
set -u
mkdir -p "$1"
out=$1/isql.out

isql -b -v sqlsim_test >"$out" 2>&1 <<'SQL'
DROP TABLE isql_items
CREATE TABLE isql_items (id int, name varchar(20), price float)
INSERT INTO isql_items VALUES (1, 'apple', 0.5), (2, 'pear', 1.25)
SELECT id, name, price FROM isql_items ORDER BY id
SELECT * FROM isql_nosuch
help
help isql_items
DELETE FROM isql_items
DROP TABLE isql_items
SQL

# Each pattern must match a line after the line the one before it matched.
status=0
line=0
for pattern in '^SQLRowCount returns 2$' '^\| id +\| name +\| price +\|$' '^\| 1 +\| apple +\| 0\.5 +\|$' \
  '^\| 2 +\| pear +\| 1\.25 +\|$' '^2 rows fetched$' "\\[sqlsim\\]\\[SQL Server\\]Invalid object name 'isql_nosuch'\\." \
  '^\| TABLE_QUALIFIER +\| TABLE_OWNER +\| TABLE_NAME +\| TABLE_TYPE +\| REMARKS +\|$' \
  '^\| [a-z_]+ +\| dbo +\| isql_items +\| TABLE +\|' \
  '^\| [a-z_]+ +\| dbo +\| isql_items +\| id +\| 4 +\| int ' \
  '^\| [a-z_]+ +\| dbo +\| isql_items +\| name +\| 12 +\| varchar ' \
  '^SQLRowCount returns 2$'; do
  n=$(tail -n +$((line + 1)) "$out" | grep -nE -m1 -- "$pattern" | cut -d: -f1)
  if [ -z "$n" ]; then
    echo "expected after line $line: $pattern"
    status=1
  else
    line=$((line + n))
  fi
done
[ $status -eq 0 ] || { echo "--- isql printed:"; cat "$out"; }
exit $status
