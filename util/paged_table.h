#pragma once
// A lookup by a 16-bit key (a BMP character, or a CP932 code lead << 8 |
// trail) kept as pages of 256 entries, one per high byte. Pages that hold
// only the blank value share one page, so a sparse table computed by the
// compiler takes a few kilobytes of the binary instead of a full array.
#include <array>
#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <utility>

namespace tavrin {

template <class T>
using FullTable = std::array<T, 0x10000>;

// The entry type of a table indexed by a 16-bit key.
template <class Full>
using EntryOf = std::remove_cvref_t<decltype(std::declval<const Full&>()[0u])>;

template <class T, std::size_t PageCount>
struct PagedTable {
  static_assert(PageCount >= 1 && PageCount <= 256);
  std::array<std::uint8_t, 256> page_of{};  // high byte -> page; page 0 is blank
  std::array<std::array<T, 256>, PageCount> pages{};

  constexpr const T& operator[](unsigned key) const noexcept {
    return pages[page_of[key >> 8 & 0xFF]][key & 0xFF];
  }
};

// Whether the page of high byte `high` holds anything but `blank`.
template <class Full>
constexpr bool PageUsed(const Full& full, unsigned high, const EntryOf<Full>& blank) {
  for (unsigned low = 0; low < 256; ++low)
    if (!(full[high << 8 | low] == blank)) return true;
  return false;
}

// The pages a table (any type indexed by a 16-bit key) needs: the blank page
// and one per used page.
template <class Full>
constexpr std::size_t PageCount(const Full& full, const EntryOf<Full>& blank = {}) {
  std::size_t n = 1;
  for (unsigned high = 0; high < 256; ++high) n += PageUsed(full, high, blank);
  return n;
}

// The table `full` as pages; N must be PageCount(full, blank).
template <std::size_t N, class Full>
constexpr PagedTable<EntryOf<Full>, N> Paged(const Full& full, const EntryOf<Full>& blank = {}) {
  PagedTable<EntryOf<Full>, N> t;
  t.pages[0].fill(blank);
  std::size_t next = 1;
  for (unsigned high = 0; high < 256; ++high) {
    if (!PageUsed(full, high, blank)) continue;
    t.page_of[high] = static_cast<std::uint8_t>(next);
    for (unsigned low = 0; low < 256; ++low) t.pages[next][low] = full[high << 8 | low];
    ++next;
  }
  return t;
}

}  // namespace tavrin
