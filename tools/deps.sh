#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and its tests need.
# Sourced by run.sh and test.sh; does nothing when everything is present.
TAVRIN_PACKAGES=(
  cmake ninja-build g++ clang libclang-rt-14-dev libfuzzer-14-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libgmock-dev
  xvfb xauth xclip xdotool x11-utils openbox imagemagick
  fonts-noto-cjk poppler-utils desktop-file-utils
  pandoc weasyprint python3 qt6-translations-l10n
  time bc groff-base
  skkdic-extra unicode-data
)

tavrin_install_deps() {
  local missing=()
  local p
  for p in "${TAVRIN_PACKAGES[@]}"; do
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
