#!/usr/bin/env bash
# The progress bar as a person sees it: lerv imports in a tmux pane, the
# screen is read while it works and when it is done.
#   progress_tmux_test.sh LERV DEFINITION [RECORDS]
set -uo pipefail
lerv=$1 definition=$2 records=${3:-20000}
work=$(mktemp -d)
socket=lerv-progress-$$
tmx() { tmux -L "$socket" -f /dev/null "$@"; }
trap 'tmx kill-server 2>/dev/null; rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
# Up to 300 s (a sanitizer build works slowly).
wait_until() { for _ in $(seq 3000); do "$@" && return 0; sleep 0.1; done; return 1; }
screen() { tmx capture-pane -p -t work; }
screen_matches() { screen | grep -qE -- "$1"; }

cp "$definition" "$work/kunde.def"
"$lerv" create -q --data "$work" "$work/kunde.def" || fail "create failed"
awk -v n=$records 'BEGIN { for (i = 1; i <= n; i++) printf "%d\tName %d\tORT%d\t%d.50\t2024-01-01\r\n", i, i, i % 9, i }' \
  >"$work/in.txt"

tmx new-session -d -s work -x 120 -y 10 \
  "cd '$work' && '$lerv' import --data '$work' kunde.def in.txt; echo \"exit \$?\"; sleep 60"
wait_until screen_matches "Import \[#*-+\] [0-9]+/$records  [0-9]+/s  noch [0-9]+:[0-9]{2}" ||
  fail "no progress bar on the screen: $(screen)"
wait_until screen_matches "^exit " || fail "the import did not end: $(screen)"
screen_matches "^$records Datensätze übernommen \($records angefügt, 0 geändert\)$" ||
  fail "no closing message alone on its line: $(screen)"
screen_matches "exit 0" || fail "import failed: $(screen)"
screen_matches "Import \[" && fail "the bar stayed on the screen: $(screen)"
echo "progress bar shown while importing $records records, cleared at the end"
