#pragma once
// TItemTable: the collection's text index, a flat open-addressing table from
// texts to item numbers. A slot is 8 bytes: 32 bits of the text's hash and
// the item number plus one (0: free); the text itself is the item's, which
// the caller gives by number. A million distinct lines cost 16 MB.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string_view>

#include "engine/text_index.h"
#include "util/os.h"

namespace tavrin {

class TItemTable {
 public:
  TItemTable() { Rebuild(kMinSlots); }

  std::size_t size() const { return FUsed; }
  void clear() {
    FUsed = 0;
    FSlots.reset();
    Rebuild(kMinSlots);
  }
  // Empties the table and keeps its slots, for as many entries again.
  void Empty() {
    if (FUsed != 0) std::memset(static_cast<void*>(FSlots.get()), 0, (FMask + 1) * sizeof(TSlot));
    FUsed = 0;
  }
  // Room for n entries without growing.
  void reserve(std::size_t n) {
    std::size_t slots = kMinSlots;
    while (slots / 8 * 5 < n) slots *= 2;
    if (slots > FMask + 1) Rebuild(slots);
  }
  void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&FSlots[Tag(hash) & FMask]); }

  // The slot's item number of Text, or nullptr; textOf(number) gives the
  // text of an entered item.
  template <class TextOf>
  std::uint32_t* Find(std::string_view Text, std::uint64_t Hash, TextOf textOf) const {
    const std::uint32_t tag = Tag(Hash);
    for (std::size_t i = tag & FMask;; i = (i + 1) & FMask) {
      TSlot& s = FSlots[i];
      if (s.Item == 0) return nullptr;
      if (s.Tag == tag && textOf(s.Item - 1) == Text) return &s.Item;
    }
  }
  // Enters item number Item for a text of hash Hash that is not entered.
  void Insert(std::uint64_t Hash, std::uint32_t Item) {
    if ((FUsed + 1) > (FMask + 1) / 8 * 5) Rebuild((FMask + 1) * 2);
    Place(Tag(Hash), Item + 1);
    ++FUsed;
  }

 private:
  static constexpr std::size_t kMinSlots = 16;
  static constexpr std::size_t kPrefaultBytes = 1 << 20;
  struct TSlot {
    std::uint32_t Tag;
    std::uint32_t Item;  // number + 1; 0: free
  };
  // The tag is the hash's high half, and a slot's home is the tag's low
  // bits, so the table grows from the tags alone (a table holds at most
  // 2^32 slots).
  static std::uint32_t Tag(std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); }

  void Place(std::uint32_t tag, std::uint32_t item) {
    std::size_t i = tag & FMask;
    while (FSlots[i].Item != 0) i = (i + 1) & FMask;
    FSlots[i] = {tag, item};
  }
  void Rebuild(std::size_t slots) {
    // Zeroed by the system (a large block comes fresh from it), not by a
    // pass over it. A table reserved for many entries, or grown from a
    // full one, has its pages made writable at once: its look-ups read
    // random slots before entries are written there, and each page would
    // fault twice.
    TSlots fresh(static_cast<TSlot*>(std::calloc(slots, sizeof(TSlot))));
    if (!fresh) throw std::bad_alloc();
    if (slots * sizeof(TSlot) >= kPrefaultBytes)
      os::PrefaultZeroed(fresh.get(), slots * sizeof(TSlot));
    TSlots old = std::move(FSlots);
    const std::size_t oldSlots = old ? FMask + 1 : 0;
    FSlots = std::move(fresh);
    FMask = slots - 1;
    for (std::size_t i = 0; i < oldSlots; ++i) {
      if (old[i].Item != 0) Place(old[i].Tag, old[i].Item);
    }
  }

  struct TFree {
    void operator()(TSlot* p) const { std::free(p); }
  };
  using TSlots = std::unique_ptr<TSlot[], TFree>;
  TSlots FSlots;
  std::size_t FMask = 0;
  std::size_t FUsed = 0;
};

}  // namespace tavrin
