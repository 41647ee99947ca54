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
// U+FFFD. Room's memory takes the bytes when it holds enough.
inline std::string ToSjis(const QString& text, std::size_t* replaced = nullptr,
                          std::string Room = {}) {
  cp932::EncodeResult r =
      cp932::FromUtf16(std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                                           static_cast<std::size_t>(text.size())),
                       std::move(Room));
  if (replaced) *replaced = r.replaced;
  return std::move(r.bytes);
}

}  // namespace tavrin
