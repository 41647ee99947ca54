#!/bin/sh
# Installs the build into a fresh prefix and into a staging DESTDIR, and
# checks that the executables, the help PDF beside them, the man page, the
# desktop entry and the icon are where they belong; then starts the installed program.
#   install_test.sh <cmake> <build dir> <scratch dir>
set -eu
cmake=$1
build=$2
scratch=$3
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"

# check_tree <root of the installed prefix>
check_tree() {
  root=$1
  for exe in bin/tavrin bin/tavrin-batch; do
    [ -x "$root/$exe" ] || fail "$root/$exe is missing or not executable"
  done
  # The program opens the PDF beside its own executable.
  cmp -s "$build/bin/tavrin.pdf" "$root/bin/tavrin.pdf" || fail "$root/bin/tavrin.pdf is missing or differs from the build's"
  [ -s "$root/share/man/man1/tavrin-batch.1" ] || fail "no man page under $root/share/man/man1"
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

# The installed program starts (and keeps running until stopped) or ends
# cleanly; a crash or a missing library fails. When it runs, its settings file
# appears beside it, in the folder it was installed to.
set +e
QT_QPA_PLATFORM=offscreen timeout 3 "$prefix/bin/tavrin" >"$scratch/tavrin.log" 2>&1
rc=$?
set -e
case $rc in
  0) ;;
  124) [ -f "$prefix/bin/tavrin.ini" ] || fail "the installed program made no settings file beside itself" ;;
  *) cat "$scratch/tavrin.log" >&2; fail "the installed program failed to start (exit $rc)" ;;
esac
echo "install ok"
