#!/usr/bin/env bash
# The terminal form of the settings dialog, used as a person would: the host
# program runs in a tmux pane, keys are typed with send-keys and the screen is
# read with capture-pane. The first screen is kept as a picture.
#   terminal_dialog_test.sh HOST OUTPUT_DIR
set -uo pipefail
host=$1 out=$2
work=$(mktemp -d)
socket=lerv32-dialog-$$
tmx() { tmux -L "$socket" -f /dev/null "$@"; }
trap 'tmx kill-server 2>/dev/null; rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL [$case_name]: $*"; failures=$((failures + 1)); }

# Up to 30 s (a sanitizer build starts slowly).
wait_until() { for _ in $(seq 300); do "$@" && return 0; sleep 0.1; done; return 1; }
screen() { tmx capture-pane -p -t dialog; }
screen_has() { screen | grep -qF -- "$1"; }
finished() { [ -s "$work/stty-after" ]; }

# start_host STORE ARGS: STORE is the store's text (printf escapes), "-" for none.
# The pane is width x height (100 x 30 unless set); host_env is exported after
# the usual environment. The host's exit status is kept in $work/status.
start_host() {
  local store=$1
  shift
  rm -f "$work"/*
  [ "$store" = - ] || printf "$store" >"$work/settings.conf"
  cp "$work/settings.conf" "$work/store-before" 2>/dev/null
  tmx new-session -d -s dialog -x "${width:-100}" -y "${height:-30}" \
    "export LEBASE32_SETTINGS='$work/settings.conf' LC_ALL=C.UTF-8 TERM=screen ${host_env:-}; trap true INT
     stty -g >'$work/stty-before'; '$host' $* >'$work/out' 2>'$work/err'; echo \$? >'$work/status'
     stty -g >'$work/stty-after'; sleep 60"
  [ -n "${no_dialog:-}" ] || wait_until screen_has Datenbankeinstellungen || fail "no dialog on the screen: $(screen)"
}

# expect_screen LINE...: each line must be on the screen as it is now.
expect_screen() {
  local line
  for line in "$@"; do screen_has "$line" || fail "not on the screen: '$line'"; done
}

type_keys() {
  local key
  for key in "$@"; do tmx send-keys -t dialog "$key"; sleep 0.2; done
}

# end_host: the host ends and leaves the terminal as it found it.
end_host() {
  wait_until finished || { fail "the dialog did not end: $(screen)"; tmx kill-session -t dialog; return 1; }
  cmp -s "$work/stty-before" "$work/stty-after" || fail "terminal modes not restored (status $(cat "$work/status"))"
  tmx kill-session -t dialog
}

# finish_host RESULT SETTINGS: end_host, and what the host printed.
finish_host() {
  end_host || return
  local expected
  expected=$(printf 'result %s\nsettings %s' "$1" "$2")
  [ "$(cat "$work/out")" = "$expected" ] || fail "host printed '$(cat "$work/out")', expected '$expected'"
  [ ! -s "$work/err" ] || fail "host wrote to standard error: $(cat "$work/err")"
}

store_is_unchanged() {
  if [ -e "$work/store-before" ]; then cmp -s "$work/store-before" "$work/settings.conf"; else [ ! -e "$work/settings.conf" ]; fi
}

case_name="procedures off in the store: radios disabled; ticking 101 and OK stores 1,1,1"
start_host 'LEXO32_ExSQL_Enabled=0\nLEXO32_ExSQL_Maximum=2\nLEXO32_ExSQL_Append=1\n'
expect_screen " Datenbankeinstellungen " \
  ">[ ] TRANSACT - SQL Prozeduren verwenden" "-*- nur Standard - SQL verfügbar" \
  "- - Prozeduren je Zugriff neu aufrufen" "- - Prozeduren für Session vorkompilieren" \
  "[ ] Anfügen optimieren" "[x] Ansi Zeichensatz verwenden" "[x] ODBC Fehler bestätigen lassen" \
  "[ OK ]" "[ Abbrechen ]" "Tab/Pfeile: wechseln  Leertaste: wählen  Enter: OK  Esc: Abbrechen"
mkdir -p "$out"
screen >"$out/terminal_dialog.txt"
convert -size 860x560 xc:white -fill black -font /usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf \
  -pointsize 14 -annotate +10+20 "$(cat "$out/terminal_dialog.txt")" -trim +repage -bordercolor white -border 12 \
  "$out/terminal_dialog.png" ||
  fail "no picture of the screen"
type_keys Down
expect_screen ">[ ] Anfügen optimieren"  # the disabled radio buttons are passed over
type_keys Up Space
expect_screen ">[x] TRANSACT - SQL Prozeduren verwenden" "( ) nur Standard - SQL verfügbar" \
  "(*) Prozeduren je Zugriff neu aufrufen" "( ) Prozeduren für Session vorkompilieren" "[x] Anfügen optimieren"
type_keys Enter
finish_host 1 "1 1 1 1 1"
for line in LEXO32_ExSQL_Enabled=1 LEXO32_ExSQL_Maximum=1 LEXO32_ExSQL_Append=1; do
  grep -qx "$line" "$work/settings.conf" || fail "store lacks $line: $(cat "$work/settings.conf")"
done

case_name="Escape with an empty store gives back the settings of the opening"
start_host - 0 0 2 1 0
expect_screen "[ ] Ansi Zeichensatz verwenden" "-*- nur Standard - SQL verfügbar"
type_keys Space Tab Tab Tab Tab Tab Space Escape
finish_host 0 "0 0 2 1 0"
store_is_unchanged || fail "the store was written"

case_name="Abbrechen by Enter on its button leaves store and settings"
start_host 'LEXO32_Display_Errors=1\nLEXO32_ExSQL_Maximum=1\n'
type_keys BTab BTab BTab Space Tab Tab
expect_screen "[ ] ODBC Fehler bestätigen lassen" ">[ Abbrechen ]"
type_keys Enter
finish_host 0 "1 1 1 1 1"
store_is_unchanged || fail "the store was changed"

case_name="without a terminal the dialog is not shown and nothing changes"
rm -f "$work"/*
printf 'LEXO32_OemConvert=1\n' >"$work/settings.conf"
cp "$work/settings.conf" "$work/store-before"
LEBASE32_SETTINGS=$work/settings.conf timeout 30 setsid -w "$host" 0 1 0 0 1 </dev/null >"$work/out" 2>&1
[ "$(cat "$work/out")" = "$(printf 'result -1\nsettings 0 1 0 0 1')" ] || fail "host printed '$(cat "$work/out")'"
store_is_unchanged || fail "the store was changed"

# The form on terminals that cannot hold it, or cannot show it at all.
case_name="a terminal narrower than the form: -1, nothing changed"
no_dialog=1 width=60 height=20 start_host - 1 1 2 1 1
finish_host -1 "1 1 2 1 1"

case_name="made too small while open: a notice, keys other than Escape do nothing"
start_host - 1 1 2 1 1
tmx resize-window -t dialog -x 60 -y 20
wait_until screen_has "das Fenster ist zu klein" || fail "no notice: $(screen)"
type_keys Space Enter Tab Space
tmx resize-window -t dialog -x 100 -y 30
wait_until screen_has ">[x] TRANSACT - SQL Prozeduren verwenden" || fail "the form did not come back: $(screen)"
type_keys Escape
finish_host 0 "1 1 2 1 1"

case_name="a terminal of 40 x 5: a setting whose control is off the screen is not changed"
no_dialog=1 width=40 height=5 start_host - 1 1 2 1 1
wait_until eval 'screen_has Datenbankeinstellungen || finished' || fail "neither a form nor an end: $(screen)"
# Four tabs from the first control, Space, Enter: whatever the form lets
# one reach here, Append, Ansi and ODBC errors (columns 45 on) cannot be seen.
finished || type_keys Tab Tab Tab Tab Space Enter
wait_until finished || type_keys Escape
end_host
read -r _ oem _ _ append errors < <(grep '^settings' "$work/out")
[ "$oem $append $errors" = "1 1 1" ] || fail "an unseen setting changed: $(cat "$work/out")"

case_name="TERM=dumb (no cursor addressing): no form, -1, nothing changed"
no_dialog=1 host_env="TERM=dumb" start_host 'LEXO32_OemConvert=1\n' 0 1 0 0 1
finish_host -1 "0 1 0 0 1"
store_is_unchanged || fail "the store was changed"

case_name="opened a second time, Ctrl-C is Abbrechen and gives the terminal back"
host_env="LERV32_HOST_MODE=twice" start_host - 1 1 2 1 1
type_keys Escape
wait_until screen_has ">[x] TRANSACT - SQL Prozeduren verwenden" || fail "no second dialog: $(screen)"
type_keys C-c
end_host

case_name="two threads open the dialog at once: no crash, settings kept, terminal restored"
host_env="LERV32_HOST_MODE=threads" start_host - 1 1 2 1 1
for _ in 1 2 3; do finished || type_keys Escape; sleep 1; done
end_host
[ "$(cat "$work/status")" = 0 ] || fail "host ended with status $(cat "$work/status")"
grep -qx "settings 1 1 2 1 1" "$work/out" || fail "host printed '$(cat "$work/out")'"

case_name="a host with its own curses screen: no form, -1, and the host's screen still works"
no_dialog=1 host_env="LERV32_HOST_MODE=curses" start_host - 1 1 2 1 1
end_host
grep -qx "result -1" "$work/out" || fail "host printed '$(cat "$work/out")'"
grep -qx "host screen usable" "$work/out" || fail "host printed '$(cat "$work/out")'"

[ "$failures" -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
