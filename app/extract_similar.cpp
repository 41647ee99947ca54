#include "app/extract_similar.h"

#include <string_view>

#include "engine/text_index.h"

namespace tavrin {
namespace {

// Marks adjacent items of equal keys when the items are in PaddedKeyOrder
// and every key is plain, so that equal keys are adjacent; returns false,
// with some marks set, as soon as either turns out not to hold.
bool MarkAdjacent(TUniqueManager& Manager, std::int32_t count) {
  TUniqueItem* previous = nullptr;
  std::string_view previousKey;
  for (std::int32_t i = 0; i < count; ++i) {
    TUniqueItem* item = Manager.Items(i);
    const std::string_view key = item->Key();
    if (!PlainKey(key)) return false;
    if (previous != nullptr) {
      if (PaddedKeyOrder(previous, item) > 0) return false;
      if (previousKey == key) {
        previous->SetSimilar(true);
        item->SetSimilar(true);
      }
    }
    previous = item;
    previousKey = key;
  }
  return true;
}

}  // namespace

bool MarkSimilar(TUniqueManager& Manager) {
  const std::int32_t count = Manager.Count();
  if (count == 0) return false;
  Manager.ClearSimilar();
  // Organize found the items of shared keys already.
  if (const std::vector<TUniqueItem*>* grouped = Manager.KeyGroups()) {
    for (TUniqueItem* item : *grouped) item->SetSimilar(true);
    return true;
  }
  Manager.MakeKeys();
  // A sorted list, the usual case, needs no look-ups.
  if (MarkAdjacent(Manager, count)) return true;
  Manager.ClearSimilar();
  // The first item met with each key; a later item of the same key marks
  // both (marking the first again is harmless).
  TTextIndex<TUniqueItem*> firstOfKey;
  firstOfKey.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    TUniqueItem* item = Manager.Items(i);
    auto [first, inserted] = firstOfKey.try_emplace(item->Key(), item);
    if (!inserted) {
      (*first)->SetSimilar(true);
      item->SetSimilar(true);
    }
  }
  return true;
}

}  // namespace tavrin
