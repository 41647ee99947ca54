#!/bin/sh
# Installs the build into a fresh prefix and into a staging DESTDIR, and
# checks that the executables, the help PDF beside them and in share/doc, the
# man page, the desktop entry and the icon are where they belong; then runs
# the installed program as an ordinary user.
#   install_test.sh <cmake> <build dir>
set -eu
cmake=$1
build=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

# The ordinary user must reach the installed tree: a fresh folder outside
# the checkout, whose parents (a home folder, say) may be closed to others.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

# check_tree <root of the installed prefix>
check_tree() {
  root=$1
  for exe in bin/tavrin bin/tavrin-batch; do
    [ -x "$root/$exe" ] || fail "$root/$exe is missing or not executable"
  done
  # The program opens the PDF beside its own executable.
  cmp -s "$build/bin/tavrin.pdf" "$root/bin/tavrin.pdf" || fail "$root/bin/tavrin.pdf is missing or differs from the build's"
  [ -s "$root/share/man/man1/tavrin-batch.1" ] || fail "no man page under $root/share/man/man1"
  grep -q '^\.SH 名前' "$root/share/man/ja/man1/tavrin-batch.1" || fail "no Japanese man page under $root/share/man/ja/man1"
  for doc in LICENSE THIRD-PARTY-NOTICES.md; do
    [ -s "$root/share/doc/tavrin/$doc" ] || fail "no $doc in $root/share/doc/tavrin"
  done
  cmp -s "$build/bin/tavrin.pdf" "$root/share/doc/tavrin/tavrin.pdf" || fail "no manual in $root/share/doc/tavrin"
  [ -s "$root/share/applications/tavrin.desktop" ] || fail "no desktop entry under $root/share/applications"
  desktop-file-validate "$root/share/applications/tavrin.desktop" || fail "the installed desktop entry does not validate"
  [ -s "$root/share/icons/hicolor/scalable/apps/tavrin.svg" ] || fail "no icon under $root/share/icons/hicolor"
  grep -qx 'Icon=tavrin' "$root/share/applications/tavrin.desktop" || fail "the desktop entry names another icon"
}

# 1. A prefix given at install time, as a user installs into ~/.local.
prefix="$scratch/prefix"
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
check_tree "$prefix"

# 2. A staging tree, as a package build does.
DESTDIR="$scratch/stage" "$cmake" --install "$build" --prefix /usr >/dev/null
check_tree "$scratch/stage/usr"

# The installed program, started as an ordinary user from the root-owned
# prefix with a fresh HOME, runs until SIGTERM closes it; it then saves its
# settings under the user's configuration folder and leaves the prefix as
# it was. A temporary file an interrupted save left there is removed.
. "$(dirname "$0")/run_as_user.sh"
chmod 755 "$scratch"
home="$scratch/home"
as_user_dir "$home"
as_user_dir "$home/.config"
as_user_dir "$home/.config/tavrin"
run_as_user "$home" touch "$home/.config/tavrin/tavrin.ini.tmpAb12Cd"
before=$(tree_state "$prefix")
# run_closed <home> <program>: start it, close it with SIGTERM after 3 s.
run_closed() {
  set +e
  run_as_user "$1" timeout -s TERM 3 "$2" >"$scratch/tavrin.log" 2>&1
  rc=$?
  set -e
  # 124: still running at the signal, then closed with its settings saved.
  [ "$rc" -eq 124 ] || [ "$rc" -eq 0 ] || { cat "$scratch/tavrin.log" >&2; fail "$2 failed (exit $rc)"; }
}
run_closed "$home" "$prefix/bin/tavrin"
saved="$home/.config/tavrin/tavrin.ini"
grep -q '^\[User\]' "$saved" || fail "no settings saved in $saved"
grep -q '^Maximized=0' "$saved" || fail "the window geometry was not saved in $saved"
[ ! -e "$saved.tmpAb12Cd" ] || fail "the leftover temporary file stays"
[ "$before" = "$(tree_state "$prefix")" ] || fail "running the program changed the installed prefix"
[ -f "$prefix/share/doc/tavrin/tavrin.pdf" ] || fail "no manual in share/doc/tavrin"

# A writable settings file in a folder the user cannot write is rewritten in
# place.
portable="$scratch/portable"
mkdir -p "$portable"
cp "$prefix/bin/tavrin" "$portable/"
printf '[User]\r\nFSound=0\r\n' >"$portable/tavrin.ini"
chown "$TEST_USER" "$portable/tavrin.ini"
run_closed "$home" "$portable/tavrin"
grep -q '^FSound=0' "$portable/tavrin.ini" || fail "the setting in the file was lost"
grep -q '^Maximized=0' "$portable/tavrin.ini" || fail "the read-only folder's settings file was not saved in place"
echo "install ok"
