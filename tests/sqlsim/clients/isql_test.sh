#!/usr/bin/env bash
# isql against the sqlsim_test data source: statements on standard input,
# then the printed tables, row counts and errors checked in order.
#   isql_test.sh WORK_DIR
set -u
work=$1
mkdir -p "$work"
out=$work/isql.out

isql -b -v sqlsim_test >"$out" 2>&1 <<'SQL'
DROP TABLE isql_items
CREATE TABLE isql_items (id int, name varchar(20), price float)
INSERT INTO isql_items VALUES (1, 'apple', 0.5)
INSERT INTO isql_items VALUES (2, 'pear', 1.25)
SELECT id, name, price FROM isql_items ORDER BY id
UPDATE isql_items SET name = 'plum' WHERE id = 2
SELECT name FROM isql_items WHERE id = 2
SELECT * FROM isql_nosuch
DELETE FROM isql_items
SELECT COUNT(*) AS left_over FROM isql_items
DROP TABLE isql_items
SQL

status=0
line=0
# Finds the next line matching the pattern after the last one found.
expect() {
  local n
  n=$(tail -n +$((line + 1)) "$out" | grep -nE -m1 -- "$1" | cut -d: -f1)
  if [ -z "$n" ]; then
    echo "expected after line $line: $1"
    status=1
  else
    line=$((line + n))
  fi
}

expect '^SQLRowCount returns 1$'
expect '^SQLRowCount returns 1$'
expect '^\| id +\| name +\| price +\|$'
expect '^\| 1 +\| apple +\| 0\.5 +\|$'
expect '^\| 2 +\| pear +\| 1\.25 +\|$'
expect '^2 rows fetched$'
expect '^SQLRowCount returns 1$'
expect '^\| plum +\|$'
expect "\\[sqlsim\\]\\[SQL Server\\]Invalid object name 'isql_nosuch'\\."
expect '^SQLRowCount returns 2$'
expect '^\| left_over +\|$'
expect '^\| 0 +\|$'

if [ $status -ne 0 ]; then
  echo "--- isql printed:"
  cat "$out"
fi
exit $status
