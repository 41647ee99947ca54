// Times the codec on a clipboard-sized text: a million lines of mixed
// Japanese, with a few characters CP932 cannot represent.
#include <chrono>
#include <cstdio>
#include <string>

#include "util/cp932.h"

int main() {
  const std::string words[] = {"コンピューター", "ｺﾝﾋﾟｭｰﾀｰ", "漢字かな交じり文", "ABC-123", "〜\u2212é😀"};
  std::string text;
  for (int i = 0; i < 1000000; ++i) text += words[i % 5] + "\r\n";
  using Clock = std::chrono::steady_clock;
  const auto t0 = Clock::now();
  const tavrin::cp932::EncodeResult r = tavrin::cp932::FromUtf8(text);
  const auto t1 = Clock::now();
  const std::string back = tavrin::cp932::ToUtf8(r.bytes);
  const auto t2 = Clock::now();
  const auto ms = [](auto d) { return std::chrono::duration_cast<std::chrono::milliseconds>(d).count(); };
  std::printf("%zu bytes UTF-8: encode %lld ms, decode %lld ms, round trip %s\n", text.size(),
              static_cast<long long>(ms(t1 - t0)), static_cast<long long>(ms(t2 - t1)),
              back == text ? "exact" : "DIFFERS");
  return back == text ? 0 : 1;
}
