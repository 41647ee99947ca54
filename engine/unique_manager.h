#pragma once
// TUniqueManager: the collection of distinct input lines. One TUniqueItem per
// distinct (byte-exact) line with its count and its three comparison keys;
// Organize merges items for the all-data view, Sort orders them by
// PaddedKeyOrder.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/container.h"
#include "engine/text_index.h"
#include "util/parallel.h"

namespace tavrin {

class TUniqueItem : public TCustomContainerItem {
 public:
  TUniqueItem() = default;
  // Copies every field except FGrouped.
  virtual void Assign(const TUniqueItem& Source);

  // The line as kept (trimmed when FTrim was on); unique within the manager.
  // Not to be changed once the item is in a manager: the text index refers to it.
  std::string FText;
  std::string FCaseKey;   // FoldCaseAndSmallKana(FText)
  std::string FWidthKey;  // FoldWidth(FText)
  std::string FKey;       // full comparison key: equal keys mean similar lines
  bool FGrouped = false;  // scratch mark of Organize: in a group
  bool FShown = true;     // gets a row in the all-data view
  bool FSimilar = false;  // mark of the extraction pass
  std::int32_t FCount = 1;        // number of added lines kept as FText
  std::int32_t FMergedCount = 0;  // group total, set by Organize
};

// Whether Item's FKey is not empty, shorter than the padded field and does
// not end in a space. When every key of a list is plain, sorting it by
// PaddedKeyOrder puts the items of equal keys next to each other; keys that
// differ only in trailing spaces, and keys of 1024 bytes and more, share
// padded fields and may interleave by text.
bool PlainKey(const TUniqueItem& Item);
// -1, 0 or +1: FKey left-justified in 1024 bytes padded with 0x20 (a longer
// key whole), followed by FText, compared as unsigned bytes, a proper prefix
// first. Compares as if padded; no padded string is built.
int PaddedKeyOrder(const TUniqueItem* A, const TUniqueItem* B);
// Unsigned byte order of two strings, a proper prefix first: -1, 0 or +1.
int CompareBytes(std::string_view A, std::string_view B);

class TUniqueManager : public TCustomContainer {
 public:
  // Builds the width table; empty manager, options off.
  TUniqueManager();
  ~TUniqueManager() override;

  // Frees all items; empties the text index and FSameList.
  void Clear() override;
  // Only TUniqueItem objects are accepted (std::invalid_argument otherwise).
  // The item is entered in the text index unless its text is there already.
  void AddItem(std::unique_ptr<TCustomContainerItem> item) override;

  // Adds one input line: counts it on its existing item or creates a new one.
  // A line of nothing but bytes 0x20 and below and full-width spaces is
  // ignored.
  void Add(std::string_view Line);
  // Add(lineAt(i)) for i = 0 .. n - 1, in order, with the same result. The
  // look-ups are issued a few lines ahead so that their memory reads
  // overlap, and a long run of lines is split over the cores by text hash.
  // lineAt returns views that stay valid during the call and may be called
  // from several threads at once.
  template <class LineAt>
  void AddAll(std::size_t n, LineAt lineAt);
  // Groups items of equal display key into FSameList and, unless FZenkaku
  // and FUpper are both on, merges each group into its representative.
  void Organize();
  // Reorders the items by PaddedKeyOrder with the list sort. Right after
  // Organize of the same items it takes the order Organize sorted.
  virtual void Sort();
  // Clear, then a copy of every item of Source in order.
  virtual void Assign(const TUniqueManager& Source);

  // The item at a position; std::out_of_range outside 0 .. Count - 1.
  TUniqueItem* Items(std::int32_t Index) const;
  // Sum of FCount over all items (saturates at the 32-bit maximum).
  std::int32_t TotalCount() const;
  // FSimilar false on every item.
  void ClearSimilar();
  // The key FZenkaku and FUpper select for the all-data view.
  const std::string& DisplayKey(const TUniqueItem& Item) const;
  // The item whose FText equals Text byte for byte, or nullptr.
  TUniqueItem* FindText(std::string_view Text) const;

  // Filled by Organize: the items that share their display key with another
  // item, group by group.
  const std::vector<TUniqueItem*>& SameList() const { return FSameList; }

  bool FTrim = false;             // keep the trimmed line (and trim the key)
  bool FZenkaku = false;          // all-data view keeps width and kana kind apart
  bool FUpper = false;            // all-data view keeps upper and lower case apart
  bool FHyphenTerminate = false;  // one trailing hyphen or long-vowel mark ignored in FKey
  bool FHyphen = false;           // hyphen and long-vowel mark folded together in FKey

 protected:
  void ItemDeleting(TCustomContainerItem* item) override;

 private:
  // The text index is split by the top bits of the text hash, so that the
  // parts of a parallel AddAll each own some of the pieces.
  static constexpr unsigned kShards = 4;
  static unsigned Shard(std::uint64_t hash) { return static_cast<unsigned>(hash >> 62); }
  // Fewer lines than this are not worth a thread.
  static constexpr std::size_t kParallelLines = 4096;

  // An item made by one part of a parallel AddAll, with the line it was
  // made for.
  struct TMade {
    std::size_t Line;
    std::unique_ptr<TUniqueItem> Item;
  };
  // Add of kept texts with known hashes, pipelined. Items it makes go to the
  // manager's list, or with Made to that list (they are entered in the
  // text index either way).
  class TAdder {
   public:
    TAdder(TUniqueManager& Manager, std::vector<TMade>* Made) : FManager(Manager), FMade(Made) {}
    void Push(std::size_t line, std::string_view text, std::uint64_t hash);
    // Completes every pushed line.
    void Finish();

   private:
    // Three stages per line, kAhead / 2 lines apart: hash the text and fetch
    // its slot; look the text up and fetch the item; count it, or create it.
    // The look-up stands unless this adder created an item in between.
    static constexpr std::size_t kAhead = 16;
    struct TPending {
      std::size_t Line = 0;
      std::string_view Text;
      std::uint64_t Hash = 0;
      TUniqueItem* Found = nullptr;
      std::size_t Created = 0;  // FCreated at the look-up
    };
    void LookUp(TPending& p);
    void Apply(const TPending& p);

    TUniqueManager& FManager;
    std::vector<TMade>* FMade;
    TPending FRing[kAhead];
    std::size_t FPushed = 0;
    std::size_t FCreated = 0;
  };

  TUniqueItem* Item(std::size_t position) const;
  // The text index's shard work: an item entered, looked up by its text with
  // the text's HashBytes, and taken out.
  void Enter(TUniqueItem* item, std::uint64_t hash);
  void Enter(TUniqueItem* item) { Enter(item, HashBytes(item->FText)); }
  TUniqueItem* Find(std::string_view text, std::uint64_t hash) const;
  void Unindex(TUniqueItem* item);
  // What Add keeps of a line: empty for a blank line.
  std::string_view Kept(std::string_view Line) const;
  // A new item for a kept text with its keys; entered nowhere.
  std::unique_ptr<TUniqueItem> MakeItem(std::string_view text) const;
  // Counts a kept text on found, or (found == nullptr) makes its item and
  // enters it in the text index and in the list (with made, in made for
  // line). Returns whether it made one; on failure nothing has changed.
  bool AddFound(TUniqueItem* found, std::string_view text, std::uint64_t hash, std::vector<TMade>* made,
                std::size_t line);
  // The lines of a parallel AddAll with their hashes (0: blank), then the
  // items the parts made, appended in line order.
  template <class LineAt>
  void AddAllParallel(std::size_t n, LineAt lineAt, unsigned width);
  void Gather(std::vector<std::vector<TMade>>& made);

  // Organize lets the text index go (it is as large as the items, and
  // grouping and sorting need memory of their own); the next use of the
  // index builds it again from the list. Call before any look-up.
  void ReleaseTextIndex();
  void Reindex() const;

  // Keyed by views of the items' own FText; empty while FIndexReleased.
  mutable std::array<TTextIndex<TUniqueItem*>, kShards> FTextIndex;
  mutable bool FIndexReleased = false;
  std::vector<TUniqueItem*> FSameList;
  // Organize's PaddedKeyOrder sort: the order it found, valid while
  // FSortedValid. Any change to the list (an item made, added, deleted, the
  // list cleared or reordered) makes it invalid.
  std::vector<TUniqueItem*> FSortedOrder;
  bool FSortedValid = false;
};

template <class LineAt>
void TUniqueManager::AddAll(std::size_t n, LineAt lineAt) {
  Reindex();
  const unsigned width = n < kParallelLines ? 1 : std::min(ParallelWidth(), kShards);
  if (width > 1) {
    AddAllParallel(n, lineAt, width);
    return;
  }
  TAdder adder(*this, nullptr);
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view text = Kept(lineAt(i));
    if (!text.empty()) adder.Push(i, text, HashBytes(text));
  }
  adder.Finish();
}

template <class LineAt>
void TUniqueManager::AddAllParallel(std::size_t n, LineAt lineAt, unsigned width) {
  // A text always falls to the same part, so each part sees every line of
  // its texts in order and counts them as Add would; only the new items
  // need putting in order afterwards.
  // Every entry is written before it is read: no zeroing of a large array.
  const auto hashes = std::make_unique_for_overwrite<std::uint64_t[]>(n);
  RunParts(width, [&](unsigned part) {
    const std::size_t from = n * part / width, to = n * (part + 1) / width;
    for (std::size_t i = from; i < to; ++i) {
      const std::string_view text = Kept(lineAt(i));
      hashes[i] = text.empty() ? 0 : HashBytes(text);
    }
  });
  std::vector<std::vector<TMade>> made(width);
  try {
    RunParts(width, [&](unsigned part) {
      TAdder adder(*this, &made[part]);
      for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t hash = hashes[i];
        if (hash != 0 && Shard(hash) % width == part) adder.Push(i, Kept(lineAt(i)), hash);
      }
      adder.Finish();
    });
  } catch (...) {
    Gather(made);
    throw;
  }
  Gather(made);
}

}  // namespace tavrin
