#include "app/extract_similar.h"

#include <string_view>

#include "engine/text_index.h"

namespace tavrin {

bool MarkSimilar(TUniqueManager& Manager) {
  const std::int32_t count = Manager.Count();
  if (count == 0) return false;
  Manager.ClearSimilar();
  // The first item met with each key; a later item of the same key marks
  // both (marking the first again is harmless).
  TTextIndex<TUniqueItem*> firstOfKey;
  firstOfKey.reserve(static_cast<std::size_t>(count));
  for (std::int32_t i = 0; i < count; ++i) {
    TUniqueItem* item = Manager.Items(i);
    auto [first, inserted] = firstOfKey.try_emplace(item->FKey, item);
    if (!inserted) {
      (*first)->FSimilar = true;
      item->FSimilar = true;
    }
  }
  return true;
}

}  // namespace tavrin
