#pragma once
// Conversions between QString and the CP932 bytes the core works on, over
// the one codec.
#include <QString>
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
  std::string utf8;
  const qsizetype n = text.size();
  utf8.reserve(static_cast<std::size_t>(n));
  const QChar* u = text.constData();
  for (qsizetype i = 0; i < n; ++i) {
    const char16_t c = u[i].unicode();
    if (c < 0x80) {
      utf8.push_back(static_cast<char>(c));
    } else if (!QChar::isSurrogate(c)) {
      cp932::AppendUtf8(utf8, c);
    } else if (QChar::isHighSurrogate(c) && i + 1 < n && u[i + 1].isLowSurrogate()) {
      cp932::AppendUtf8(utf8, QChar::surrogateToUcs4(c, u[i + 1].unicode()));
      ++i;
    } else {
      utf8.push_back(cp932::kReplacement);
      ++lone;
    }
  }
  cp932::EncodeResult r = cp932::FromUtf8(utf8);
  if (replaced) *replaced = r.replaced + lone;
  return std::move(r.bytes);
}

}  // namespace tavrin
