#pragma once
// TTextIndex: a flat open-addressing hash index from byte strings to values,
// for the collection's hot paths (one look-up per input line, one per item
// when grouping). A slot holds the key's full hash, its length, the value
// and the key's bytes (short keys) or a reference to them (long keys, whose
// bytes must then outlive their entries). A slot is free while its hash is
// zero; hashes of keys are never zero.
#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>
#include <vector>

namespace tavrin {

// 64-bit hash of a byte string, eight bytes at a time; never zero.
std::uint64_t HashBytes(std::string_view bytes);

// How many lines' hashes tell whether a large input is mostly distinct
// (its first lines), and whether those hashes do: nine in ten differ.
// Sorts Hashes.
inline constexpr std::size_t kDistinctSample = std::size_t{1} << 13;
bool MostlyDistinct(std::vector<std::uint64_t>& Hashes);

template <class V>
class TTextIndex {
 public:
  TTextIndex() { Rebuild(kMinSlots); }

  std::size_t size() const { return FUsed; }
  bool empty() const { return FUsed == 0; }

  // Room for n entries without growing.
  void reserve(std::size_t n) {
    std::size_t slots = kMinSlots;
    while (slots / 2 < n) slots *= 2;
    if (slots > FSlots.size()) Rebuild(slots);
  }

  void clear() {
    FSlots.assign(kMinSlots, TSlot{});
    FMask = kMinSlots - 1;
    FUsed = 0;
  }

  // The value entered for key, or nullptr.
  const V* find(std::string_view key) const { return find(key, HashBytes(key)); }
  // The same with the key's HashBytes already known.
  const V* find(std::string_view key, std::uint64_t hash) const {
    const TSlot& s = FSlots[Probe(key, hash)];
    return s.Hash == 0 ? nullptr : &s.Value;
  }

  // Enters key with value unless key is there; returns the entered value and
  // whether it is new, as try_emplace does.
  std::pair<V*, bool> try_emplace(std::string_view key, const V& value) {
    return try_emplace(key, HashBytes(key), value);
  }
  std::pair<V*, bool> try_emplace(std::string_view key, std::uint64_t hash, const V& value) {
    if ((FUsed + 1) * 2 > FSlots.size()) Rebuild(FSlots.size() * 2);
    const std::size_t i = Probe(key, hash);
    if (FSlots[i].Hash != 0) return {&FSlots[i].Value, false};
    FSlots[i] = TSlot{key, hash, value};
    ++FUsed;
    return {&FSlots[i].Value, true};
  }

  // Asks the processor to fetch the first slot a look-up of hash reads.
  void Prefetch(std::uint64_t hash) const { __builtin_prefetch(&FSlots[hash & FMask]); }

  // Removes key when its value is value; returns whether it did.
  bool erase(std::string_view key, const V& value) {
    const std::size_t i = Probe(key, HashBytes(key));
    if (FSlots[i].Hash == 0 || !(FSlots[i].Value == value)) return false;
    // Backward shift: pull later members of the probe run into the hole so
    // no look-up stops early at it.
    std::size_t hole = i;
    for (std::size_t j = (i + 1) & FMask; FSlots[j].Hash != 0; j = (j + 1) & FMask) {
      const std::size_t home = FSlots[j].Hash & FMask;
      // j may move to the hole unless its home lies cyclically in (hole, j].
      const bool homeBetween = hole <= j ? (home > hole && home <= j) : (home > hole || home <= j);
      if (homeBetween) continue;
      FSlots[hole] = FSlots[j];
      hole = j;
    }
    FSlots[hole] = TSlot{};
    --FUsed;
    return true;
  }

 private:
  static constexpr std::size_t kMinSlots = 16;
  static constexpr std::size_t kInline = 12;

  // 32 bytes. A key of up to kInline bytes is copied into the slot, so the
  // common look-up reads one slot and nothing else; a longer key keeps its
  // first four bytes there and points to the rest.
  struct TSlot {
    std::uint64_t Hash = 0;
    V Value{};
    std::uint32_t Size = 0;
    char Bytes[kInline] = {};

    TSlot() = default;
    TSlot(std::string_view key, std::uint64_t hash, const V& value)
        : Hash(hash), Value(value), Size(static_cast<std::uint32_t>(key.size())) {
      if (key.size() <= kInline) {
        if (!key.empty()) std::memcpy(Bytes, key.data(), key.size());
      } else {
        const char* data = key.data();
        std::memcpy(Bytes, data, 4);
        std::memcpy(Bytes + 4, &data, sizeof data);
      }
    }

    bool Holds(std::uint64_t hash, std::string_view key) const {
      if (Hash != hash || Size != key.size()) return false;
      if (key.size() <= kInline)
        return key.empty() || std::memcmp(Bytes, key.data(), key.size()) == 0;
      if (std::memcmp(Bytes, key.data(), 4) != 0) return false;
      const char* data;
      std::memcpy(&data, Bytes + 4, sizeof data);
      return std::memcmp(data + 4, key.data() + 4, key.size() - 4) == 0;
    }
  };
  static_assert(sizeof(void*) <= 8, "a long key's pointer must fit behind its first four bytes");

  // The slot holding key, or the free slot that ends its probe run.
  std::size_t Probe(std::string_view key, std::uint64_t hash) const {
    std::size_t i = hash & FMask;
    while (FSlots[i].Hash != 0 && !FSlots[i].Holds(hash, key)) i = (i + 1) & FMask;
    return i;
  }

  void Rebuild(std::size_t slots) {
    std::vector<TSlot> old(slots);
    old.swap(FSlots);
    FMask = slots - 1;
    for (const TSlot& s : old) {
      if (s.Hash == 0) continue;
      std::size_t i = s.Hash & FMask;
      while (FSlots[i].Hash != 0) i = (i + 1) & FMask;
      FSlots[i] = s;
    }
  }

  std::vector<TSlot> FSlots;
  std::size_t FMask = 0;
  std::size_t FUsed = 0;
};

}  // namespace tavrin
