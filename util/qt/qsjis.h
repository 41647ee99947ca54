#pragma once
// Conversions between QString and the CP932 bytes the core works on, over
// the one codec.
#include <QString>
#include <memory>
#include <string>
#include <string_view>

#include "util/cp932.h"

namespace tavrin {

inline QString FromSjis(std::string_view sjis) {
  return QString::fromStdString(cp932::ToUtf8(sjis));
}

// Characters the codec could not give a code are counted in *replaced. A
// lone surrogate (no character at all, so nothing can keep it) becomes "?"
// and counts too, where QString's own conversion would turn it silently into
// U+FFFD. The UTF-16 to UTF-8 step is done here, in the one pass that finds
// the lone surrogates.
inline std::string ToSjis(const QString& text, std::size_t* replaced = nullptr) {
  std::size_t lone = 0;
  const qsizetype n = text.size();
  // At most 3 bytes per UTF-16 unit (a pair of two makes 4). Left
  // uninitialised: only the part written becomes resident.
  const std::unique_ptr<char[]> utf8(new char[static_cast<std::size_t>(n) * 3]);
  char* out = utf8.get();
  const auto put = [&out](char32_t c, int tail) {
    static constexpr unsigned char kLead[] = {0x00, 0xC0, 0xE0, 0xF0};
    *out++ = static_cast<char>(kLead[tail] | (c >> (6 * tail)));
    for (int k = tail - 1; k >= 0; --k) *out++ = static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
  };
  const char16_t* u = reinterpret_cast<const char16_t*>(text.utf16());
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = u[i];
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (c < 0x800) {
      put(c, 1);
    } else if (!QChar::isSurrogate(c)) {
      put(c, 2);
    } else if (QChar::isHighSurrogate(c) && i + 1 < n && QChar::isLowSurrogate(u[i + 1])) {
      put(QChar::surrogateToUcs4(c, u[i + 1]), 3);
      ++i;
    } else {
      *out++ = cp932::kReplacement;
      ++lone;
    }
  }
  cp932::EncodeResult r =
      cp932::FromUtf8(std::string_view(utf8.get(), static_cast<std::size_t>(out - utf8.get())));
  if (replaced) *replaced = r.replaced + lone;
  return std::move(r.bytes);
}

}  // namespace tavrin
