// Line breaks for the tool-tips: the engine's CR and a cut caption's LF
// each become one CR LF.
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

}  // namespace
}  // namespace tavrin
