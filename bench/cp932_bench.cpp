// Times the codec on a clipboard-sized text: a million lines of mixed
// Japanese, with a few characters CP932 cannot represent. Encoding runs from
// UTF-8 and from UTF-16 (the clipboard's form in both windows); best of 5.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "util/cp932.h"
#include "util/utf16.h"

namespace {

double BestMs(const std::function<void()>& action) {
  using Clock = std::chrono::steady_clock;
  double best = 1e9;
  for (int run = 0; run < 5; ++run) {
    const auto t0 = Clock::now();
    action();
    best = std::min(best, std::chrono::duration<double, std::milli>(Clock::now() - t0).count());
  }
  return best;
}

}  // namespace

int main() {
  const std::string words[] = {"コンピューター", "ｺﾝﾋﾟｭｰﾀｰ", "漢字かな交じり文", "ABC-123",
                               "〜\u2212é😀"};
  std::string text;
  for (int i = 0; i < 1000000; ++i) text += words[i % 5] + "\r\n";
  const std::u16string wide = tavrin::Utf16FromUtf8(text);
  tavrin::cp932::EncodeResult r, r16;
  std::string back;
  const double encode = BestMs([&] { r = tavrin::cp932::FromUtf8(text); });
  const double encode16 = BestMs([&] { r16 = tavrin::cp932::FromUtf16(wide); });
  const double decode = BestMs([&] { back = tavrin::cp932::ToUtf8(r.bytes); });
  const bool exact = back == text && r16.bytes == r.bytes;
  std::printf(
      "%zu bytes UTF-8, %zu units UTF-16: encode %.1f ms, from UTF-16 %.1f ms, decode %.1f ms, "
      "round trip %s\n",
      text.size(), wide.size(), encode, encode16, decode, exact ? "exact" : "DIFFERS");
  return exact ? 0 : 1;
}
