// The system clipboard under the program's hands: texts go out and come back
// through the real clipboard (CF_UNICODETEXT) and through the codec as the
// window pastes and copies them, unchanged.
#include "util/win32/clipboard.h"

#include <gtest/gtest.h>

#include "util/win32/wide.h"

namespace tavrin {
namespace {

// One round: out to the clipboard, back, into the engine's text and out
// again, as a paste followed by a copy.
void ExpectRoundTrip(const std::wstring& text, const std::wstring& back, const char* name) {
  ASSERT_TRUE(WriteClipboardUnicode(nullptr, text)) << name;
  const std::optional<std::wstring> read = ReadClipboardUnicode(nullptr);
  ASSERT_TRUE(read) << name;
  EXPECT_TRUE(*read == back) << name << ": " << read->size() << " units back";
  std::size_t replaced = 99;
  const std::string sjis = SjisFromWide(*read, &replaced);
  EXPECT_EQ(replaced, 0u) << name;
  ASSERT_TRUE(WriteClipboardUnicode(nullptr, WideFromSjis(sjis))) << name;
  const std::optional<std::wstring> again = ReadClipboardUnicode(nullptr);
  ASSERT_TRUE(again) << name;
  EXPECT_TRUE(*again == back) << name << ": " << again->size() << " units after the codec";
}

TEST(Clipboard, TextsComeBackAsTheyWent) {
  std::wstring large;
  for (int i = 0; i < 1000000; ++i) large += L"行" + std::to_wstring(i % 1000) + L"\r\n";
  const struct {
    const char* name;
    std::wstring text, back;
  } kCases[] = {
      {"outside cp932", L"café é ü", L"café é ü"},
      {"surrogate pair", L"\U00020BB7野家", L"\U00020BB7野家"},
      {"emoji with a modifier", L"\U0001F600\U0001F44D\U0001F3FD!",
       L"\U0001F600\U0001F44D\U0001F3FD!"},
      {"wave dash and its twin", L"\u301C\uFF5E", L"\u301C\uFF5E"},
      {"CR LF, lone LF, lone CR", L"a\r\nb\nc\rd\r\n", L"a\r\nb\nc\rd\r\n"},
      {"empty", L"", L""},
      // A text ends at its first NUL.
      {"NUL inside", std::wstring(L"ab\0cd", 5), L"ab"},
      {"NUL first", std::wstring(L"\0abcdefgh", 9), L""},
      {"NUL after two four-unit steps", std::wstring(L"abcdefghi\0j", 11), L"abcdefghi"},
      {"a million lines", large, large},
  };
  for (const auto& c : kCases) ExpectRoundTrip(c.text, c.back, c.name);
}

// A clipboard that holds something, but no text, gives nothing to paste.
TEST(Clipboard, NoText) {
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  HGLOBAL other = GlobalAlloc(GMEM_MOVEABLE, 4);
  ASSERT_NE(SetClipboardData(RegisterClipboardFormatW(L"Tavrin test format"), other), nullptr);
  CloseClipboard();
  EXPECT_FALSE(ReadClipboardUnicode(nullptr));
}

}  // namespace
}  // namespace tavrin
