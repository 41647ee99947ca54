#include "engine/item_sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "engine/list_sort.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

struct TEntry {
  std::uint64_t P0, P1;  // bytes 0-7 and 8-15 of the sort string, big-endian
  TUniqueItem* Item;
};

std::uint64_t BigEndian(const unsigned char* p) {
  std::uint64_t v = 0;
  for (int i = 0; i < 8; ++i) v = (v << 8) | p[i];
  return v;
}

// pad fills the prefix past the end of bytes: 0x20 for the padded key
// field, 0x00 for a plain byte string (so a proper prefix sorts first).
TEntry MakeEntry(TUniqueItem* item, const std::string& bytes, unsigned char pad) {
  unsigned char b[16];
  std::memset(b, pad, sizeof b);
  std::memcpy(b, bytes.data(), std::min(bytes.size(), sizeof b));
  return {BigEndian(b), BigEndian(b + 8), item};
}

std::vector<TEntry> Entries(const std::vector<TUniqueItem*>& items, std::string TUniqueItem::*key,
                           unsigned char pad) {
  std::vector<TEntry> entries;
  entries.reserve(items.size());
  for (TUniqueItem* item : items) entries.push_back(MakeEntry(item, item->*key, pad));
  return entries;
}

int ComparePrefix(const TEntry& a, const TEntry& b) {
  if (a.P0 != b.P0) return a.P0 < b.P0 ? -1 : 1;
  if (a.P1 != b.P1) return a.P1 < b.P1 ? -1 : 1;
  return 0;
}

void WriteBack(const std::vector<TEntry>& entries, std::vector<TUniqueItem*>& items) {
  for (std::size_t i = 0; i < entries.size(); ++i) items[i] = entries[i].Item;
}

}  // namespace

void SortByPaddedKey(std::vector<TUniqueItem*>& items) {
  // The padded key field is 1024 bytes wide, so the first 16 bytes of the
  // sort string are the key's, padded with spaces.
  const auto compare = [](const TEntry& a, const TEntry& b) {
    const int c = ComparePrefix(a, b);
    return c != 0 ? c : PaddedKeyOrder(a.Item, b.Item);
  };

  std::vector<TEntry> entries = Entries(items, &TUniqueItem::FKey, 0x20);
  ParallelSort(entries.begin(), entries.end(), [&](const TEntry& a, const TEntry& b) { return compare(a, b) < 0; });
  const bool tie = std::adjacent_find(entries.begin(), entries.end(), [&](const TEntry& a, const TEntry& b) {
                     return compare(a, b) == 0;
                   }) != entries.end();
  if (tie) {
    // Ties come out in the order ListSort's steps leave them, starting from
    // the items' order, which is still untouched.
    entries = Entries(items, &TUniqueItem::FKey, 0x20);
    ListSort(entries, compare);
  }
  WriteBack(entries, items);
}

void SortByKeyBytes(std::vector<TUniqueItem*>& items, std::string TUniqueItem::*key) {
  std::vector<TEntry> entries = Entries(items, key, 0x00);
  ListSort(entries, [key](const TEntry& a, const TEntry& b) {
    const int c = ComparePrefix(a, b);
    return c != 0 ? c : CompareBytes(a.Item->*key, b.Item->*key);
  });
  WriteBack(entries, items);
}

}  // namespace tavrin
