#pragma once
// The one in-place quicksort for every list of item references. Ties keep
// the order this procedure leaves (callers depend on it), so it must stay as
// it is: pivot is the element at (L + R) / 2, fixed for the pass; Hoare-style
// scans that stop on ties; recursion into the left part, iteration on the
// right. The recursion runs on an explicit stack, which sorts the same
// disjoint ranges with the same steps, so the result is identical while deep
// inputs cannot exhaust the call stack.
#include <cstddef>
#include <utility>
#include <vector>

namespace tavrin {

// Sorts positions L .. R of list. compare(a, b) returns a negative number,
// zero or a positive number; it must be a consistent order (ties allowed).
template <class T, class Compare>
void ListSort(std::vector<T>& list, std::ptrdiff_t L, std::ptrdiff_t R, Compare compare) {
  if (list.empty() || L >= R) return;
  std::vector<std::pair<std::ptrdiff_t, std::ptrdiff_t>> pending;
  pending.emplace_back(L, R);
  while (!pending.empty()) {
    auto [l, r] = pending.back();
    pending.pop_back();
    // One call of the procedure over l .. r: partition, sort the left part
    // (deferred on the stack: it is disjoint from everything that follows),
    // then go on with the right part.
    std::ptrdiff_t i;
    do {
      i = l;
      std::ptrdiff_t j = r;
      const T pivot = list[static_cast<std::size_t>(l + (r - l) / 2)];
      do {
        while (compare(list[static_cast<std::size_t>(i)], pivot) < 0) ++i;
        while (compare(list[static_cast<std::size_t>(j)], pivot) > 0) --j;
        if (i <= j) {
          std::swap(list[static_cast<std::size_t>(i)], list[static_cast<std::size_t>(j)]);
          ++i;
          --j;
        }
      } while (i <= j);
      if (l < j) pending.emplace_back(l, j);
      l = i;
    } while (i < r);
  }
}

// Sorts the whole list; an empty list is left alone.
template <class T, class Compare>
void ListSort(std::vector<T>& list, Compare compare) {
  if (list.empty()) return;
  ListSort(list, 0, static_cast<std::ptrdiff_t>(list.size()) - 1, compare);
}

}  // namespace tavrin
