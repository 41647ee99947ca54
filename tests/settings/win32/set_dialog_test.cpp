// The settings dialog's translation between the font dialog and the font
// value the settings file keeps.
#include "settings/win32/set_dialog.h"

#include <gtest/gtest.h>

#include "settings/colors.h"
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
      {"unchanged",
       L"Meiryo UI",
       FW_NORMAL,
       false,
       false,
       false,
       140,
       GetSysColor(COLOR_WINDOWTEXT),
       {cp932::Sjis("Meiryo UI"), 14, clWindowText, 0}},
      {"a colour of its own",
       L"Meiryo UI",
       FW_NORMAL,
       false,
       false,
       false,
       140,
       RGB(0x12, 0x34, 0x56),
       {cp932::Sjis("Meiryo UI"), 14, 0x563412, 0}},
      {"japanese face, all styles",
       L"ＭＳ ゴシック",
       FW_BOLD,
       true,
       true,
       true,
       105,
       RGB(255, 0, 0),
       {cp932::Sjis("ＭＳ ゴシック"), 11, 0x0000FF,
        kFontBold | kFontItalic | kFontUnderline | kFontStrikeOut}},
      {"semi-bold is not bold",
       L"Arial",
       FW_SEMIBOLD,
       false,
       false,
       false,
       90,
       RGB(1, 2, 3),
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

// Closing the dialog with 設定する leaves the row pictures it showed to
// their owner, the main window's list. Held once more here, the image list
// is released by the dialog only if the dialog destroyed it.
TEST(SetDialog, LeavesTheRowPicturesToTheirOwner) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  using QueryInterface = HRESULT(WINAPI*)(HIMAGELIST, REFIID, void**);
  const auto query = reinterpret_cast<QueryInterface>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"comctl32.dll"), "HIMAGELIST_QueryInterface")));
  ASSERT_NE(query, nullptr);
  HIMAGELIST icons = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 0);
  IUnknown* held = nullptr;
  ASSERT_EQ(query(icons, IID_IUnknown, reinterpret_cast<void**>(&held)), S_OK);
  // 設定する, pressed as soon as the dialog shows.
  SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR timer, DWORD) {
    if (HWND dialog = FindWindowW(nullptr, L"Tavrin 設定ダイアログ")) {
      KillTimer(nullptr, timer);
      SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    }
  });
  TSetOptionValues options{};
  FontValue font{cp932::Sjis("Meiryo UI"), 14, clWindowText, 0};
  EXPECT_TRUE(RunSetDialog(nullptr, options, font, {{"a", "  1"}}, icons, 0));
  EXPECT_EQ(held->Release(), 1u) << "the dialog destroyed the image list";
  ImageList_Destroy(icons);
}

}  // namespace
}  // namespace tavrin
