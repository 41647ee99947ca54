// The collection's order: PaddedKeyOrder over sort strings and items.
#include <algorithm>
#include <cstring>

#include "engine/unique_manager.h"

namespace tavrin {
namespace {

// One conceptual sort string: Key, then spaces up to the key field, then
// Text, walked piece by piece without being built.
struct TPaddedString {
  std::string_view Parts[3];  // an empty data view with Pad > 0 stands for spaces
  std::size_t Pad;

  explicit TPaddedString(const TSortString& s)
      : Parts{s.Key, {}, s.Text}, Pad(s.Key.size() < kKeyField ? kKeyField - s.Key.size() : 0) {}

  std::size_t PartSize(int part) const { return part == 1 ? Pad : Parts[part].size(); }
};

// Compares data against a run of spaces of the same length.
int CompareWithSpaces(std::string_view data) {
  for (char c : data) {
    auto b = static_cast<unsigned char>(c);
    if (b != 0x20) return b < 0x20 ? -1 : 1;
  }
  return 0;
}

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

int CompareBytes(std::string_view A, std::string_view B) {
  const std::size_t n = std::min(A.size(), B.size());
  if (n != 0) {
    int c = std::memcmp(A.data(), B.data(), n);
    if (c != 0) return Sign(c);
  }
  return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

bool PlainKey(std::string_view Key) {
  return Key.size() < kKeyField && (Key.empty() || Key.back() != ' ');
}

int PaddedKeyOrder(const TSortString& A, const TSortString& B) {
  // Most pairs differ inside the keys' common length, and equal keys are
  // padded alike: both settle without walking the padding.
  const std::size_t common = std::min(A.Key.size(), B.Key.size());
  if (common != 0) {
    const int c = std::memcmp(A.Key.data(), B.Key.data(), common);
    if (c != 0) return Sign(c);
  }
  if (A.Key.size() == B.Key.size()) return CompareBytes(A.Text, B.Text);

  const TPaddedString a(A), b(B);
  int pa = 0, pb = 0;          // current part
  std::size_t oa = 0, ob = 0;  // offset inside it
  for (;;) {
    while (pa < 3 && oa == a.PartSize(pa)) ++pa, oa = 0;
    while (pb < 3 && ob == b.PartSize(pb)) ++pb, ob = 0;
    if (pa == 3 || pb == 3) return pa == 3 ? (pb == 3 ? 0 : -1) : 1;
    const std::size_t n = std::min(a.PartSize(pa) - oa, b.PartSize(pb) - ob);
    const bool spacesA = pa == 1, spacesB = pb == 1;
    int c = 0;
    if (!spacesA && !spacesB)
      c = Sign(std::memcmp(a.Parts[pa].data() + oa, b.Parts[pb].data() + ob, n));
    else if (!spacesA)
      c = CompareWithSpaces(a.Parts[pa].substr(oa, n));
    else if (!spacesB)
      c = -CompareWithSpaces(b.Parts[pb].substr(ob, n));
    if (c != 0) return c;
    oa += n;
    ob += n;
  }
}

int PaddedKeyOrder(const TUniqueItem* A, const TUniqueItem* B) {
  return PaddedKeyOrder(A->SortString(), B->SortString());
}

}  // namespace tavrin
