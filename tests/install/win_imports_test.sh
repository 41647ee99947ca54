#!/bin/sh
# Every Windows executable of the build imports only DLLs that come with
# Windows: the compiler's runtime and libraries are linked in, so the
# programs start from a bare folder.
#   win_imports_test.sh <objdump> <folder of the executables>
set -eu
objdump=$1
bin=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
system="kernel32.dll user32.dll gdi32.dll comctl32.dll comdlg32.dll shell32.dll
        shlwapi.dll advapi32.dll ole32.dll oleaut32.dll uxtheme.dll dwmapi.dll
        imm32.dll winmm.dll version.dll msvcrt.dll"
[ -f "$bin/tavrin-batch.exe" ] || fail "no tavrin-batch.exe in $bin"
for exe in "$bin"/*.exe; do
  dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
  [ -n "$dlls" ] || fail "$exe: no imports read"
  for dll in $dlls; do
    case " $(echo $system) " in
      *" $dll "*) ;;
      *) fail "$(basename "$exe") imports $dll, which is not part of Windows" ;;
    esac
  done
  echo "$(basename "$exe"): $(echo $dlls)"
done
