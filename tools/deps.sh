#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and its tests need.
# Sourced by run.sh and test.sh; does nothing when everything is present.
TAVRIN_PACKAGES=(
  cmake ninja-build g++ clang clang-tidy clang-format libclang-rt-14-dev libfuzzer-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev
  xvfb xauth xclip xdotool x11-utils openbox imagemagick
  fonts-noto-cjk poppler-utils desktop-file-utils
  pandoc weasyprint python3 qt6-translations-l10n
  time bc groff-base
  skkdic-extra unicode-data
)
# The Windows build made here: the cross compiler (the posix-threads
# variant, which std::thread needs), GoogleTest's sources, wine to run the
# programs and their tests, NSIS for the installer, and the Japanese locale
# in which wine's ANSI code page is 932.
TAVRIN_WINDOWS_PACKAGES=(
  g++-mingw-w64-x86-64-posix googletest wine nsis locales
)

# tavrin_install_packages PACKAGE...: apt-get installs those missing (as
# root; otherwise it says what to run and exits).
tavrin_install_packages() {
  local missing=()
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages: ${missing[*]}" >&2
    echo "Install them as root, then run this again:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q && apt-get install -y -q --no-install-recommends "${missing[@]}"
}

tavrin_install_deps() {
  tavrin_install_packages "${TAVRIN_PACKAGES[@]}"
}

tavrin_install_windows_deps() {
  tavrin_install_packages "${TAVRIN_WINDOWS_PACKAGES[@]}"
  locale -a 2>/dev/null | grep -qix 'ja_JP.utf8' && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "The Japanese locale is missing. As root, run:" >&2
    echo "  sudo localedef -i ja_JP -f UTF-8 ja_JP.UTF-8" >&2
    exit 1
  fi
  echo "Generating the locale ja_JP.UTF-8"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
}
