// TUniqueManager::AddAllCounted: the collection of input with many repeated
// lines counted on the cores instead of one look-up of the text index a
// line on one.
#include <cstdint>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/item_table.h"
#include "engine/text_index.h"
#include "engine/unique_manager.h"
#include "util/parallel.h"

namespace tavrin {

// The tables of the last counting, kept with the collection's other room:
// a window counts anew at each press, and tables taken afresh (and grown
// from small) are zeroed by the system page by page.
struct TUniqueManager::TCountedRoom {
  // A distinct text of one part: where it lies in the bytes, the first
  // line that holds it, how many lines do and the high half of its hash.
  struct TCounted {
    std::uint32_t At, Size, Line;
    std::int32_t Count;
    std::uint32_t Tag;
  };
  // The texts of one share of the hashes met in one part of the lines, and
  // their index (numbers into Texts).
  struct TTexts {
    std::vector<TCounted> Texts;
    TItemTable Index;
  };
  // Parts[p][s]: part p's texts of share s.
  std::vector<std::vector<TTexts>> Parts;
};

bool TUniqueManager::AddCounted(const std::shared_ptr<const void>& Store, std::string_view Bytes,
                                std::size_t n, const void* Lines, TLineFn LineAt) {
  const unsigned width = n < (1u << 14) ? 1u : ParallelWidth();
  if (FCount != 0 || n >= std::numeric_limits<std::uint32_t>::max() ||
      Bytes.size() >= std::numeric_limits<std::uint32_t>::max())
    return false;
  const auto first = [&](unsigned p) { return n * p / width; };
  // A hash's share: bits the tags' places in a table do not use.
  const auto shareOf = [width](std::uint64_t hash) {
    return static_cast<unsigned>((hash >> 16 & 0xFFFF) * width >> 16);
  };
  const auto tagOf = [](std::uint64_t hash) { return static_cast<std::uint32_t>(hash >> 32); };
  // Counts Text's lines in Table.
  using TCounted = TCountedRoom::TCounted;
  using TCountedTexts = TCountedRoom::TTexts;
  const auto add = [&](TCountedTexts& table, const TCounted& text) {
    const auto textOf = [&](const TCounted& t) { return Bytes.substr(t.At, t.Size); };
    const std::uint64_t hash = std::uint64_t{text.Tag} << 32;
    if (std::uint32_t* found = table.Index.Find(
            textOf(text), hash, [&](std::uint32_t k) { return textOf(table.Texts[k]); })) {
      TCounted& known = table.Texts[*found - 1];
      known.Count = SaturatedAdd(known.Count, text.Count);
      return;
    }
    table.Texts.push_back(text);
    table.Index.Insert(hash, static_cast<std::uint32_t>(table.Texts.size() - 1));
  };

  // Each part counts its lines, a table for each share, in the tables of
  // the last counting emptied.
  if (!FRoom.Counted) FRoom.Counted = std::make_shared<TCountedRoom>();
  std::vector<std::vector<TCountedTexts>>& parts = FRoom.Counted->Parts;
  parts.resize(width);
  RunParts(width, [&](unsigned p) {
    std::vector<TCountedTexts>& shares = parts[p];
    shares.resize(width);
    for (TCountedTexts& share : shares) {
      share.Texts.clear();
      share.Index.Empty();
    }
    const std::size_t from = first(p), to = first(p + 1);
    for (std::size_t i = from; i < to; ++i) {
      const std::string_view t = Kept(LineAt(Lines, i));
      if (t.empty()) continue;
      const std::uint64_t hash = HashBytes(t);
      add(shares[shareOf(hash)],
          {static_cast<std::uint32_t>(t.data() - Bytes.data()),
           static_cast<std::uint32_t>(t.size()), static_cast<std::uint32_t>(i), 1, tagOf(hash)});
    }
  });
  // Each core joins one share: the later parts' texts, in order, into the
  // first part's table, whose texts then lie in the order they first occur
  // (a part's lines come after the earlier parts').
  RunParts(width, [&](unsigned s) {
    TCountedTexts& joined = parts[0][s];
    for (unsigned p = 1; p < width; ++p)
      for (const TCounted& text : parts[p][s].Texts) add(joined, text);
  });
  // The shares' texts merged by their first lines: the items.
  std::vector<std::size_t> next(width, 0);
  std::size_t count = 0;
  for (unsigned s = 0; s < width; ++s) count += parts[0][s].Texts.size();
  const TStoreRef store = RoomForItems(Store, Bytes, count);
  for (std::size_t k = 0; k < count; ++k) {
    unsigned from = width;
    for (unsigned s = 0; s < width; ++s) {
      const std::vector<TCounted>& texts = parts[0][s].Texts;
      if (next[s] < texts.size() &&
          (from == width || texts[next[s]].Line < parts[0][from].Texts[next[from]].Line))
        from = s;
    }
    const TCounted& text = parts[0][from].Texts[next[from]++];
    TUniqueItem& made = NewItemAt(k);
    made.FTextAt = store.Start + text.At;
    made.FTextSize = text.Size;
    made.FCount = text.Count;
  }
  ListChanged();
  FTextIndex = TItemTable();
  FIndexReleased = true;
  FKeyGroupsValid = false;
  return true;
}

}  // namespace tavrin
