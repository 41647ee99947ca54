#!/usr/bin/env bash
# The user's dictionary end to end, as a user edits it from the list: after
# F5 a row is taken out of its group by its key (Ctrl+Shift+G); F8 then
# leaves that row as it is, the dictionary file beside the settings holds
# the rule, and after a restart F5 lists the same.
# Usage: dictionary_e2e_test.sh qt CMAKE BUILD_DIR
#        dictionary_e2e_test.sh wine WINE_RUN TAVRIN_EXE
set -euo pipefail
skin=$1
work=$(mktemp -d)
. "$(dirname "$0")/x_session.sh"
trap x_cleanup EXIT

if [ "$skin" = wine ]; then
  run=$2
  x_activate=1 x_crlf_free=1
  mkdir "$work/Tavrin"
  cp "$3" "$work/Tavrin/tavrin.exe"
  dictionary=$work/Tavrin/tavrin-dict.txt
  x_server 141 190
  wine_session "$run"
  start() {
    start_wine_tavrin "$work/Tavrin"
    focus_window
    sleep 0.5
  }
  stop() { alt_f4; }
else
  x_session "$2" "$3"
  dictionary=$prefix/bin/tavrin-dict.txt  # beside the portable settings file
  start() { start_tavrin; }
  stop() { close_tavrin; }
fi

input=$'ユニット\nﾕﾆｯﾄ\nユニット\nＡＢＣ\nABC\n'
start
set_clipboard "$input"
press F5
# The last row, ﾕﾆｯﾄ, the variant of ユニット, leaves its group: keys only,
# no click first, since the list has the keys from the start. Home first:
# with no current row, Qt's tree takes any move to the first row.
press Home
press End
press ctrl+shift+g
message F8 "$(next_closer)"
expect_clipboard $'ユニット\nﾕﾆｯﾄ\nユニット\nABC\nABC\n'  # ﾕﾆｯﾄ no longer replaced
[ -f "$dictionary" ] || fail "no dictionary beside the settings file"
grep -qxF $'!ユニット\tﾕﾆｯﾄ' <(sed '1s/^\xEF\xBB\xBF//' "$dictionary" | tr -d '\r') ||
  fail "the dictionary lacks the apart rule: $(od -c "$dictionary" | head)"
stop

start
set_clipboard "$input"
press F5
message F7 "$(next_closer)"
expect_clipboard $'ABC\t1\r\nＡＢＣ\t1\r\n'  # ユニット and ﾕﾆｯﾄ apart still
stop
echo "dictionary end to end ($skin): 1 passed, 0 failed"
