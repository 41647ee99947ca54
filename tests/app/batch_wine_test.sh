#!/usr/bin/env bash
# tavrin-batch.exe, run under wine, writes byte for byte what the Linux
# build of the same sources writes, with the same messages (in Japanese, the
# language of wine's locale here) and exit status:
# every command with several option sets over the bundled example and over
# generated input in CP932, UTF-8 with a BOM and UTF-16LE with a BOM, read
# from standard input and from files (one with a Japanese name, given as a
# relative, a Unix and a Windows path, and two files in a row), files in
# different encodings, and input whose encoding is hard to guess.
#   batch_wine_test.sh <wine-run> <tavrin-batch.exe> <Linux tavrin-batch>
#                      <Linux gen_lines_bench> <example.txt>
set -euo pipefail
run=$(realpath "$1") exe=$(realpath "$2") ref=$(realpath "$3") gen=$(realpath "$4") example=$(realpath "$5")
fail() { echo "FAIL: $*" >&2; exit 1; }
# win <program and arguments...>: the program under wine, reading $input,
# its output in win.out and its messages in win.err. Wine's own client can lose its server while the server of the
# previous run is ending ("wine client error"); that says nothing of the
# program, so such a run is made once more. Any other failure stands.
win() {
  local rc=0
  "$run" "$@" <"$input" >win.out 2>win.err || rc=$?
  if [ "$rc" -ne 0 ] && grep -q '^wine client error' win.err; then
    rc=0
    "$run" "$@" <"$input" >win.out 2>win.err || rc=$?
  fi
  return "$rc"
}
[ -x "$ref" ] || fail "no Linux tavrin-batch at $ref"
[ -x "$gen" ] || fail "no gen_lines_bench at $gen"
# wine-run sets the Japanese locale, so that the program under wine speaks
# Japanese: so does the Linux program here.
reference() { LC_ALL=ja_JP.UTF-8 "$ref" "$@"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"

cp "$example" example.txt
"$gen" 20000 >repeat.txt
"$gen" codes 3000 >codes.txt
{ printf '\357\273\277'; iconv -f CP932 -t UTF-8 codes.txt; } >utf8.txt
{ printf '\377\376'; "$gen" 3000 | iconv -f CP932 -t UTF-16LE; } >utf16.txt
# Line ends of every kind, a quoted cell over two lines, blanks, blank lines.
printf 'ｱｲｳ\r\nアイウ\rあいう\n"セル\r\n続き"\r\n\r\n  ＡＢＣ  \nabc\r\nデータ－\r\nデーター\n' |
  iconv -f UTF-8 -t CP932 >mixed.txt
printf 'ok\r\n\201\r\n' >invalid.txt  # a lead byte with no trail byte

options=("" "--no-zenkaku --no-upper" "--trim --no-sort" "--no-hyphen --no-hyphen-terminate"
  "--no-count" "--encoding=cp932")
runs=0
# same <label> <arguments...>: both programs with these arguments, reading
# standard input from $input.
same() {
  local label=$1
  shift
  local rc_ref=0 rc_win=0
  reference "$@" <"$input" >ref.out 2>ref.err || rc_ref=$?
  win "$exe" "$@" || rc_win=$?
  runs=$((runs + 1))
  [ "$rc_ref" -eq "$rc_win" ] ||
    fail "$label: exit status $rc_win, the Linux program's is $rc_ref; wine said: $(cat win.err)"
  cmp -s ref.out win.out || { cmp ref.out win.out || true; fail "$label: standard output differs"; }
  # Messages are text: on Windows their lines end in CR LF.
  tr -d '\r' <win.err >win.msg
  cmp -s ref.err win.msg || {
    echo "Linux: $(cat ref.err)" >&2
    echo "wine:  $(cat win.msg)" >&2
    fail "$label: the summary differs"
  }
}

input=/dev/null
for file in example repeat codes utf8 utf16 mixed; do
  for command in all similar map normalize; do
    for o in "${options[@]}"; do
      # shellcheck disable=SC2086  # the option sets are word lists
      input=$file.txt same "$command $o < $file.txt" $command $o
    done
  done
done
input=/dev/null
same "invalid UTF-8 named" all --utf8 invalid.txt
# Files in different encodings, each read in its own, their ends kept apart;
# UTF-8 cut inside its last character; half-width names in CP932.
printf 'apple\nbanana\n' >ascii.txt
{ printf '\377\376'; printf 'cherry\n' | iconv -t UTF-16LE; } >cherry16.txt
printf '"a\r' >cr.txt
printf '\nb"\n' >lf.txt
printf 'ユニット\nﾕﾆｯﾄ\nユニッ\343\203' >cut.txt
printf 'ﾐｷ\nﾅｶ\nﾐｷ\nﾅｶ\nﾐｷ\nﾅｶ\nﾐｷ\nﾅｶ\nﾀﾅｶ\n' | iconv -f UTF-8 -t CP932 >names.txt
same "ASCII and UTF-16" all ascii.txt cherry16.txt
same "UTF-16 and ASCII" all cherry16.txt ascii.txt
same "CR, then LF" normalize cr.txt lf.txt
same "cut UTF-8" similar cut.txt
same "half-width names" all names.txt
# The user's dictionary: joins from the generated codes (CP932), rules in
# UTF-16 with a BOM over the mixed lines, two files in order, a bad line.
head -400 codes.txt | tr -d '\r' | paste - - >codes-dict.txt  # head first: no reader goes early
printf '# 表記\nアイウ\tabc\n!ｱｲｳ\tあいう\n' | iconv -f UTF-8 -t UTF-16 >mixed-dict.txt
printf 'アイウ\n' >bad-dict.txt
for command in similar map normalize; do
  input=codes.txt same "$command --dict codes-dict.txt" $command --dict codes-dict.txt
  input=mixed.txt same "$command --dict mixed-dict.txt" $command --dict mixed-dict.txt --dict codes-dict.txt
done
same "map --explain --dict" map --explain --dict=mixed-dict.txt mixed.txt
same "a malformed dictionary" map --dict bad-dict.txt mixed.txt
same "missing file" all no-such-file.txt
mkdir folder
same "a folder" all folder

# Streams the runtimes word differently: the same words and exit status.
#   same_failure <label> <function>: the function runs the program given
#   as its arguments.
same_failure() {
  local label=$1 how=$2 rc_ref=0 rc_win=0
  "$how" reference 2>ref.err || rc_ref=$?
  "$how" "$run" "$exe" 2>win.err || rc_win=$?
  runs=$((runs + 1))
  [ "$rc_ref" -eq "$rc_win" ] || fail "$label: exit status $rc_win, the Linux program's is $rc_ref"
  tr -d '\r' <win.err >win.msg
  cmp -s ref.err win.msg || fail "$label: Linux says \"$(cat ref.err)\", wine \"$(cat win.msg)\""
}
closed_stdin() { "$@" all <&- >/dev/null; }
# A pipe whose reader has gone, SIGPIPE ignored as the shell hands it on.
gone_reader() { (trap '' PIPE; "$@" all many.txt | true; exit "${PIPESTATUS[0]}"); }
seq 100000 >many.txt
same_failure "closed standard input" closed_stdin
same_failure "a pipe without its reader" gone_reader
# Enough lines for the cores to share the work: each run ends with the
# threads that took parts still waiting for more, and its status and
# output are whole every time.
for round in 1 2 3 4 5 6; do
  input=many.txt same "all, round $round with the cores' threads" all
  input=many.txt same "similar, round $round with the cores' threads" similar --no-sort
done

# A Japanese file name, as typed at a prompt and as a full Windows path.
cp mixed.txt 顧客データ.txt
for command in all similar normalize; do
  same "$command 顧客データ.txt" $command 顧客データ.txt
  same "$command two files" $command example.txt 顧客データ.txt
done
reference similar 顧客データ.txt >ref.out
windows_name=$("$run" winepath -w "$work/顧客データ.txt" | tr -d '\r')
"$run" "$exe" similar "$windows_name" >win.out || fail "$windows_name could not be read"
cmp -s ref.out win.out || fail "read as $windows_name, the file gives another result"
[ -s win.out ] || fail "no result from 顧客データ.txt"
echo "batch under wine: $runs runs, each as on Linux"
