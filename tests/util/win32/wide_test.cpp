// Texts for the controls: line breaks for the tool-tips, texts cut for a
// list view's buffer.
#include "util/win32/wide.h"

#include <gtest/gtest.h>

namespace tavrin {
namespace {

TEST(WithCrLf, EveryBreakBecomesOneCrLf) {
  const struct {
    const wchar_t* text;
    const wchar_t* want;
  } kCases[] = {
      {L"", L""},
      {L"one line", L"one line"},
      {L"a\rb\r", L"a\r\nb\r\n"},
      {L"a\nb", L"a\r\nb"},
      {L"a\r\nb", L"a\r\nb"},
      {L"a\n\rb", L"a\r\n\r\nb"},
      {L"\r\r\n\n", L"\r\n\r\n\r\n"},
  };
  for (const auto& c : kCases) EXPECT_EQ(WithCrLf(c.text), c.want);
}

// A list view asks for an item's text with a buffer of its own size.
TEST(FittedText, CutsWithAnEllipsisAtWholeCharacters) {
  const std::wstring a9(9, L'a');
  const struct {
    const char* name;
    std::wstring text;
    int capacity;
    bool quoted;
    std::wstring want;
  } kCases[] = {
      {"fits with its NUL", a9, 10, false, a9},
      {"one unit over", a9, 9, false, L"aaaaaaa…"},
      {"quoted", L"\"" + a9 + L"\"", 10, true, L"\"aaaaaa…\""},
      // Cut between the two halves of 𠮷, the pair goes as a whole.
      {"pair at the cut", L"aaaaaaa\U00020BB7b", 10, false, L"aaaaaaa…"},
      {"pair before the cut", L"aaaaaa\U00020BB7bb", 10, false, L"aaaaaa\U00020BB7…"},
      {"room for the ellipsis only", a9, 2, true, L"…"},
      {"room for the NUL only", a9, 1, false, L""},
      {"no buffer", a9, 0, false, L""},
  };
  for (const auto& c : kCases)
    EXPECT_EQ(FittedText(c.text, c.capacity, c.quoted), c.want) << c.name;
}

}  // namespace
}  // namespace tavrin
