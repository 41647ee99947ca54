// What the Win32 main window decides itself: the text of a list cell, the
// keys its preview hands to the key table, and where an installed copy
// keeps its settings.
#include "app/win32/main_window.h"

#include <gtest/gtest.h>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/win32/key_preview.h"
#include "app/win32/program.h"
#include "engine/unique_manager.h"
#include "util/win32/wide.h"

namespace tavrin {
namespace {

// The cells of one row holding the line, as the list view gets them.
std::vector<std::wstring> Cells(const std::wstring& line, bool quote) {
  TUniqueManager manager;
  BuildData(manager, ClipboardLines(SjisFromWide(line)), true);
  TResultList list;
  list.SetRows(FillRows(manager, false, true, true), {quote, false, true});
  const int n = kListViewTextUnits;
  return {TfoMAIN::CellText(list, 0, 0, n), TfoMAIN::CellText(list, 0, 1, n),
          TfoMAIN::CellText(list, -1, 0, n), TfoMAIN::CellText(list, 1, 0, n)};
}

TEST(CellText, LongCaptionsEndInAnEllipsis) {
  const std::wstring ascii(400, L'a'), kana(300, L'あ');
  const struct {
    const char* name;
    std::wstring line;
    bool quote;
    std::wstring caption;
  } kCases[] = {
      {"short", L"abc", false, L"abc"},
      // Within the row's own cut (512 bytes), beyond the list view's buffer.
      {"long ascii", ascii.substr(0, 300), false, ascii.substr(0, 258) + L"…"},
      {"long ascii quoted", ascii.substr(0, 300), true, L"\"" + ascii.substr(0, 256) + L"…\""},
      {"cut by the row", ascii, true, L"\"" + ascii.substr(0, 256) + L"…\""},
      // Cut by the row to 256 characters, which the buffer holds.
      {"long kana", kana, false, kana.substr(0, 256) + L"…"},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(Cells(c.line, c.quote), (std::vector<std::wstring>{c.caption, L"  1", L"", L""}))
        << c.name;
  }
}

TEST(KeyPreview, KeysDownForThisWindow) {
  constexpr LPARAM kRepeat = LPARAM(1) << 30;
  const struct {
    const char* name;
    UINT message;
    WPARAM key;
    LPARAM flags;
    bool ours;
    std::optional<TPreviewedKey> want;
  } kCases[] = {
      {"F5", WM_KEYDOWN, VK_F5, 0, true, TPreviewedKey{TKey::F5, kShiftNone, false}},
      {"F10 comes as a system key", WM_SYSKEYDOWN, VK_F10, 0, true,
       TPreviewedKey{TKey(VK_F10), kShiftNone, false}},
      // The key table decides what a held key's repeats do.
      {"auto-repeat", WM_KEYDOWN, VK_DELETE, kRepeat, true,
       TPreviewedKey{TKey::Delete, kShiftNone, true}},
      // Keys of a message box or dialog are theirs: the box that Return
      // closes gives the window no second action.
      {"another window's key", WM_KEYDOWN, VK_RETURN, 0, false, std::nullopt},
      {"key up", WM_KEYUP, VK_F5, 0, true, std::nullopt},
      {"the character message", WM_CHAR, 'C', 0, true, std::nullopt},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(PreviewedKey(c.message, c.key, c.flags, c.ours, kShiftNone), c.want) << c.name;
  }
  EXPECT_EQ(PreviewedKey(WM_KEYDOWN, 'C', 0, true, kShiftCtrl),
            (TPreviewedKey{TKey::C, kShiftCtrl, false}));
}

TEST(InstalledCopy, OnlyUnderTheInstallFolders) {
  const std::vector<std::wstring> folders = {L"C:\\Users\\a\\AppData\\Local\\Programs",
                                             L"C:\\Program Files\\", L""};
  const struct {
    const char* name;
    std::wstring exe;
    bool installed;
  } kCases[] = {
      {"per-user install", L"C:\\Users\\a\\AppData\\Local\\Programs\\Tavrin\\tavrin.exe", true},
      {"other case", L"c:\\users\\A\\appdata\\local\\programs\\Tavrin\\tavrin.exe", true},
      {"machine install, folder given with a separator", L"C:\\Program Files\\Tavrin\\tavrin.exe",
       true},
      {"portable copy", L"D:\\tools\\Tavrin\\tavrin.exe", false},
      // A folder whose name only starts like an install folder.
      {"name prefix", L"C:\\Program Files Extra\\tavrin.exe", false},
      {"the folder itself", L"C:\\Program Files", false},
      {"desktop", L"C:\\Users\\a\\Desktop\\tavrin.exe", false},
  };
  for (const auto& c : kCases) EXPECT_EQ(IsInstalledCopy(c.exe, folders), c.installed) << c.name;
}

}  // namespace
}  // namespace tavrin
