#pragma once
// Resource paths of the window's pictures (tavrin.qrc, drawn by
// tools/draw_icons.py).

namespace tavrin {

inline constexpr const char* kWindowIcon = ":/tavrin/icons/tavrin.png";
inline constexpr const char* kGlyphClose = ":/tavrin/icons/close.png";
inline constexpr const char* kGlyphExtract = ":/tavrin/icons/extract.png";
inline constexpr const char* kGlyphAllData = ":/tavrin/icons/alldata.png";
inline constexpr const char* kGlyphCopy = ":/tavrin/icons/copy.png";
inline constexpr const char* kGlyphStayOnTop = ":/tavrin/icons/stayontop.png";
inline constexpr const char* kGlyphNormal = ":/tavrin/icons/normal.png";
inline constexpr const char* kGlyphSettings = ":/tavrin/icons/settings.png";
inline constexpr const char* kImageHelp = ":/tavrin/icons/help.png";
inline constexpr const char* kImageVersion = ":/tavrin/icons/version.png";
inline constexpr const char* kImage1 = ":/tavrin/icons/logo.png";

// The image list of the rows; rows use image 10.
inline constexpr const char* kRowImages[] = {
    ":/tavrin/icons/row00.png", ":/tavrin/icons/row01.png", ":/tavrin/icons/row02.png",
    ":/tavrin/icons/row03.png", ":/tavrin/icons/row04.png", ":/tavrin/icons/row05.png",
    ":/tavrin/icons/row06.png", ":/tavrin/icons/row07.png", ":/tavrin/icons/row08.png",
    ":/tavrin/icons/row09.png", ":/tavrin/icons/row10.png",
};
inline constexpr int kRowImage = 10;

}  // namespace tavrin
