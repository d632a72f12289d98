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
start_host() {
  local store=$1
  shift
  rm -f "$work"/*
  [ "$store" = - ] || printf "$store" >"$work/settings.conf"
  cp "$work/settings.conf" "$work/store-before" 2>/dev/null
  tmx new-session -d -s dialog -x 100 -y 30 \
    "export LEBASE32_SETTINGS='$work/settings.conf' LC_ALL=C.UTF-8 TERM=screen
     stty -g >'$work/stty-before'; '$host' $* >'$work/out' 2>'$work/err'; stty -g >'$work/stty-after'; sleep 60"
  wait_until screen_has Datenbankeinstellungen || fail "no dialog on the screen: $(screen)"
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

# finish_host RESULT SETTINGS: what the host printed, and a terminal as before.
finish_host() {
  wait_until finished || { fail "the dialog did not end: $(screen)"; tmx kill-session -t dialog; return; }
  local expected
  expected=$(printf 'result %s\nsettings %s' "$1" "$2")
  [ "$(cat "$work/out")" = "$expected" ] || fail "host printed '$(cat "$work/out")', expected '$expected'"
  [ ! -s "$work/err" ] || fail "host wrote to standard error: $(cat "$work/err")"
  cmp -s "$work/stty-before" "$work/stty-after" || fail "terminal modes not restored"
  tmx kill-session -t dialog
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

[ "$failures" -eq 0 ] && echo "all cases passed"
exit $((failures > 0))
