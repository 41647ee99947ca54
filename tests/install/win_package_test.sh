#!/usr/bin/env bash
# The Windows packages: the portable zip holds one folder with exactly the
# program's files, its texts readable by Notepad (UTF-8 with a BOM, CR LF);
# the installer, run silently under wine, installs per user into
# %LOCALAPPDATA%\Programs\Tavrin with a Start-menu shortcut and an entry in
# the user's uninstall list, the installed tavrin-batch.exe runs, and the
# uninstaller removes all of it but a settings file the program wrote.
#   win_package_test.sh <cpack> <build dir> <wine-run> <version>
set -euo pipefail
cpack=$1 build=$2 run=$3 version=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cpack" --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 ||
  { cat "$work/cpack.log" >&2; fail "cpack failed"; }
name=tavrin-$version-win64
zip=$work/out/$name.zip
setup=$work/out/$name-setup.exe
[ -s "$zip" ] || fail "no $name.zip"
[ -s "$setup" ] || fail "no $name-setup.exe"

# The zip: one folder, the files the program needs beside it.
expected="LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt tavrin-batch.exe tavrin.pdf"
[ -e "$build/bin/tavrin.exe" ] && expected="$expected tavrin.exe"
mkdir "$work/zip"
(cd "$work/zip" && cmake -E tar xf "$zip")
[ "$(ls "$work/zip")" = "$name" ] || fail "the zip does not hold the one folder $name: $(ls "$work/zip")"
got=$(cd "$work/zip/$name" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
want=$(printf '%s\n' $expected | LC_ALL=C sort | tr '\n' ' ')
[ "$got" = "$want" ] || fail "the zip holds: $got; expected: $want"
for text in LICENSE.txt README.txt THIRD-PARTY-NOTICES.txt; do
  f=$work/zip/$name/$text
  [ "$(head -c 3 "$f" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "$text has no UTF-8 BOM"
  [ "$(tr -cd '\n' <"$f" | wc -c)" -eq "$(tr -cd '\r' <"$f" | wc -c)" ] || fail "$text has a line without CR LF"
done
grep -q "Tavrin $version" "$work/zip/$name/README.txt" || fail "README.txt names another version"
grep -q "MIT License" "$work/zip/$name/LICENSE.txt" || fail "LICENSE.txt is not the licence"

# The installer, silent, per user.
win() { "$run" "$@" | tr -d '\r'; }
"$run" "$setup" /S || fail "the installer failed"
local_appdata=$(win cmd /c echo %LOCALAPPDATA%)
start_menu=$(win cmd /c echo %APPDATA%)'\Microsoft\Windows\Start Menu\Programs'
dir=$(win winepath -u "$local_appdata\\Programs\\Tavrin")
menu=$(win winepath -u "$start_menu")
for f in $expected uninstall.exe; do
  [ -f "$dir/$f" ] || fail "the installer left no $f in $dir"
done
[ -f "$menu/Tavrin マニュアル.lnk" ] || fail "no Start-menu shortcut to the manual in $menu"
if [ -e "$build/bin/tavrin.exe" ]; then
  [ -f "$menu/Tavrin.lnk" ] || fail "no Start-menu shortcut to the program in $menu"
fi
"$run" "$dir/tavrin-batch.exe" --version >"$work/version" || fail "the installed tavrin-batch.exe does not run"
[ "$(head -n 1 "$work/version" | tr -d '\r')" = "tavrin-batch $version" ] ||
  fail "the installed tavrin-batch.exe says: $(cat "$work/version")"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavrin'
win reg query "$key" /v DisplayVersion | grep -q "$version" || fail "no uninstall entry for $version"

# The uninstaller, run in place (_?=) so that it ends when it is done.
echo "[User]" >"$dir/tavrin.ini"
"$run" "$dir/uninstall.exe" /S "_?=$local_appdata\\Programs\\Tavrin" || fail "the uninstaller failed"
rm -f "$dir/uninstall.exe"  # running in place, it cannot remove itself
left=$(ls "$dir")
[ "$left" = tavrin.ini ] || fail "the uninstaller left: $left"
[ ! -e "$menu/Tavrin マニュアル.lnk" ] || fail "the uninstaller left the Start-menu shortcut"
if win reg query "$key" >/dev/null 2>&1; then fail "the uninstall entry stays"; fi
rm -rf "$dir"
echo "packages ok: $name.zip, $name-setup.exe"
