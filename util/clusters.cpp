#include "util/clusters.h"

#include <algorithm>
#include <iterator>

#include "util/cluster_table.h"
#include "util/cp932.h"
#include "util/sjis.h"

namespace tavrin {

bool ExtendsCluster(char32_t C) noexcept {
  const auto& table = cluster_table::kExtenders;
  const auto* after =
      std::upper_bound(std::begin(table), std::end(table), C,
                       [](char32_t c, const cluster_table::Range& r) { return c < r.first; });
  return after != std::begin(table) && C <= (after - 1)->last;
}

bool ExtendsClusterAt(std::string_view S, std::size_t I) noexcept {
  const std::size_t n = CharLength(S, I);
  const auto b0 = static_cast<unsigned char>(S[I]);
  switch (n) {
    case 1:
      return b0 == 0xDE || b0 == 0xDF;  // ﾞ ﾟ
    case 2: {
      const unsigned code = unsigned(b0) << 8 | static_cast<unsigned char>(S[I + 1]);
      for (const cp932::FixedCode& f : cp932::kFixedCodes)
        if (f.code == code) return ExtendsCluster(f.character);
      return false;
    }
    case 6: {
      const char32_t plane = static_cast<unsigned char>(S[I + 1]) - kPlaneTrail;
      return ExtendsCluster(plane << 16 | char32_t(DigitAt(S, I + 2)) << 8 |
                            char32_t(DigitAt(S, I + 4)));
    }
    default:
      return false;  // an escaped code of CP932 input
  }
}

std::size_t ClusterLength(std::string_view S, std::size_t I) noexcept {
  std::size_t end = I + CharLength(S, I);
  while (end < S.size() && ExtendsClusterAt(S, end)) end += CharLength(S, end);
  return end - I;
}

bool IsClusterStart(std::string_view S, std::size_t Position) noexcept {
  return Position == 0 || Position >= S.size() || !ExtendsClusterAt(S, Position);
}

}  // namespace tavrin
