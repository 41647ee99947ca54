#!/bin/sh
# Regenerates the Win32 skin's icons (app/win32/icons/*.ico) from the Qt
# skin's pictures (app/qt/icons/*.png), so both skins show the same. Needs
# ImageMagick. Run from the top of the checkout: sh tools/win32_icons.sh
set -eu
for png in app/qt/icons/*.png; do
  name=$(basename "$png" .png)
  convert "$png" -define icon:auto-resize=48,32,24,16 "app/win32/icons/$name.ico"
done
# The window icon in the sizes Windows asks for.
convert app/qt/icons/tavrin.png -define icon:auto-resize=48,32,16 app/win32/icons/tavrin.ico
