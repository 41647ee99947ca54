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
// U+FFFD.
inline std::string ToSjis(const QString& text, std::size_t* replaced = nullptr) {
  std::size_t lone = 0;
  QString whole;
  const qsizetype n = text.size();
  for (qsizetype i = 0; i < n; ++i) {
    const QChar c = text[i];
    if (!c.isSurrogate()) continue;
    if (c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate()) {
      ++i;
      continue;
    }
    if (lone++ == 0) whole = text;
    whole[i] = QLatin1Char(cp932::kReplacement);
  }
  cp932::EncodeResult r = cp932::FromUtf8((lone ? whole : text).toStdString());
  if (replaced) *replaced = r.replaced + lone;
  return std::move(r.bytes);
}

}  // namespace tavrin
