// The settings dialog's translation between the font dialog and the font
// value the settings file keeps.
#include <gtest/gtest.h>

#include "settings/colors.h"
#include "settings/win32/set_dialog.h"
#include "util/cp932.h"

namespace tavrin {
namespace {

TEST(FontChoice, ReadsTheFontDialogsAnswer) {
  FontValue present;
  present.name = cp932::Sjis("Meiryo UI");
  present.size = 14;
  present.color = clWindowText;
  const struct {
    const char* name;
    const wchar_t* face;
    int weight;
    bool italic, underline, strike;
    int tenths;
    COLORREF colour;
    FontValue want;
  } kCases[] = {
      // The system colour as it shows is kept as the system colour.
      {"unchanged", L"Meiryo UI", FW_NORMAL, false, false, false, 140, GetSysColor(COLOR_WINDOWTEXT),
       {cp932::Sjis("Meiryo UI"), 14, clWindowText, 0}},
      {"a colour of its own", L"Meiryo UI", FW_NORMAL, false, false, false, 140, RGB(0x12, 0x34, 0x56),
       {cp932::Sjis("Meiryo UI"), 14, 0x563412, 0}},
      {"japanese face, all styles", L"ＭＳ ゴシック", FW_BOLD, true, true, true, 105, RGB(255, 0, 0),
       {cp932::Sjis("ＭＳ ゴシック"), 11, 0x0000FF, kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut}},
      {"semi-bold is not bold", L"Arial", FW_SEMIBOLD, false, false, false, 90, RGB(1, 2, 3),
       {"Arial", 9, 0x030201, 0}},
  };
  for (const auto& c : kCases) {
    LOGFONTW lf{};
    lstrcpynW(lf.lfFaceName, c.face, LF_FACESIZE);
    lf.lfWeight = c.weight;
    lf.lfItalic = c.italic;
    lf.lfUnderline = c.underline;
    lf.lfStrikeOut = c.strike;
    EXPECT_EQ(FontFromChoice(lf, c.tenths, c.colour, present), c.want) << c.name;
  }
}

TEST(FontChoice, StartsTheDialogFromTheValue) {
  FontValue v{cp932::Sjis("Meiryo UI"), 14, clWindowText, kFontBold | kFontUnderline};
  const LOGFONTW lf = LogFontOf(v, 144);
  EXPECT_EQ(lf.lfHeight, -28);  // 14 points at 144 dpi
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_TRUE(lf.lfUnderline);
  EXPECT_FALSE(lf.lfItalic);
  EXPECT_STREQ(lf.lfFaceName, L"Meiryo UI");
  // A size of 0 (a damaged settings file) still gives a usable font.
  v.size = 0;
  EXPECT_LT(LogFontOf(v, 96).lfHeight, 0);
}

}  // namespace
}  // namespace tavrin
