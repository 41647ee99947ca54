#pragma once
// TUniqueManager: the collection of distinct input lines. One TUniqueItem per
// distinct (byte-exact) line with its count; its comparison keys are made in
// one pass when first needed. Organize merges items for the all-data view,
// Sort orders them by PaddedKeyOrder.
//
// The collection is built for a million lines and more: an item is a
// 12-byte record that refers to its text (inside the input it was added
// from, when that input is handed over, or inside the manager's own store);
// keys, marks and merged counts are arrays beside the items, keys that equal
// their text take no bytes of their own, and the text index holds 32-bit
// item numbers. The items stay where they were made, in the order of first
// occurrence; sorting orders a list of their numbers.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/item_table.h"

namespace tavrin {

class TUniqueManager;
struct TSortString;

class TUniqueItem {
 public:
  TUniqueItem(const TUniqueItem&) = delete;
  TUniqueItem& operator=(const TUniqueItem&) = delete;

  // The line as kept (trimmed when FTrim was on); unique within the manager.
  std::string_view Text() const;
  // The full comparison key: equal keys mean similar lines.
  std::string_view Key() const;
  // FoldCaseAndSmallKana(Text()) and FoldWidth(Text()), made on each call.
  std::string CaseKey() const;
  std::string WidthKey() const;
  // Gets a row in the all-data view; set by Organize, true when added.
  bool Shown() const;
  void SetShown(bool On);
  // The mark of the extraction pass.
  bool Similar() const;
  void SetSimilar(bool On);
  // The scratch mark of Organize: in a group.
  bool Grouped() const;
  // The group total Organize set (0 before, and when nothing was merged).
  std::int32_t MergedCount() const;
  // The item's sort string (TUniqueManager::SortString).
  TSortString SortString() const;
  // The item's number: its place in the order the texts first occurred.
  // Sorting does not change it (nor the item's address); deleting an
  // earlier item lowers it by one.
  std::size_t Index() const;

  std::int32_t FCount = 1;  // number of added lines kept as the text

 private:
  friend class TUniqueManager;
  TUniqueItem() = default;
  const TUniqueManager& Manager() const;

  std::uint32_t FTextAt = 0;  // where the text lies in the manager's text space
  std::uint32_t FTextSize = 0;
};

// One conceptual sort string of PaddedKeyOrder: the key left-justified in
// 1024 bytes padded with 0x20 (a longer key whole), then the text.
struct TSortString {
  std::string_view Key, Text;
};
inline constexpr std::size_t kKeyField = 1024;  // width of the padded key field

// Whether Key is shorter than the padded field and does not end in a space.
// When every key of a list is plain, sorting it by PaddedKeyOrder puts the
// items of equal keys next to each other (the empty key, of －, ー or - alone,
// pads to spaces alone, as no other plain key does); keys that differ only
// in trailing spaces, and keys of 1024 bytes and more, share padded fields
// and may interleave by text.
bool PlainKey(std::string_view Key);
inline bool PlainKey(const TUniqueItem& Item) { return PlainKey(Item.Key()); }
// Whether every option gives Text itself as its key under the kinds of
// variants Variants, seen from its bytes alone (a false answer may still
// be such a text).
bool KeyIsText(std::string_view Text, unsigned Variants);
// -1, 0 or +1: the two sort strings compared as unsigned bytes, a proper
// prefix first. Compares as if padded; no padded string is built.
int PaddedKeyOrder(const TSortString& A, const TSortString& B);
int PaddedKeyOrder(const TUniqueItem* A, const TUniqueItem* B);
// Unsigned byte order of two strings, a proper prefix first: -1, 0 or +1.
int CompareBytes(std::string_view A, std::string_view B);

class TUniqueManager {
 public:
  TUniqueManager();
  ~TUniqueManager();
  TUniqueManager(const TUniqueManager&) = delete;
  TUniqueManager& operator=(const TUniqueManager&) = delete;

  // Frees all items and texts; empties the text index and FSameList.
  void Clear();

  // Adds one input line: counts it on its existing item or creates a new one
  // (with a copy of the text). A line of nothing but bytes 0x20 and below
  // and full-width spaces is ignored. Items() pointers stay valid.
  void Add(std::string_view Line);
  // Add(lineAt(i)) for i = 0 .. n - 1, in order, with the same result. The
  // look-ups are issued a few lines ahead so that their memory reads
  // overlap. lineAt returns views that stay valid during the call.
  template <class LineAt>
  void AddAll(std::size_t n, LineAt lineAt) {
    AddLines(n, nullptr, lineAt);
  }
  // The same for lines that lie inside Bytes, which Store keeps alive: the
  // new items refer to their text there instead of copying it.
  template <class LineAt>
  void AddAll(std::shared_ptr<const void> Store, std::string_view Bytes, std::size_t n,
              LineAt lineAt) {
    const TStoreRef store = AdoptStore(std::move(Store), Bytes);
    AddLines(n, &store, lineAt);
  }

  // The same as AddAll of the lines into an empty manager, for lines that
  // are nearly all distinct: instead of one look-up of the text index a
  // line, the lines' keys are made and the lines sorted by their sort
  // strings at once (on the cores), so that the copies of a text lie next
  // to each other; each run of them is one item. The keys stay made, the
  // text index is left to be built when next needed, and the order found is
  // kept for Organize and Sort. False, adding nothing, when the manager is
  // not empty or a line is one this way does not take (a key of 1024 bytes
  // and more or not PlainKey, a text with a code of the unassigned rows).
  template <class LineAt>
  bool AddAllSorted(const std::shared_ptr<const void>& Store, std::string_view Bytes, std::size_t n,
                    const LineAt& lineAt) {
    return AddSorted(Store, Bytes, n, &lineAt, [](const void* f, std::size_t i) {
      return std::string_view((*static_cast<const LineAt*>(f))(i));
    });
  }

  // The same as AddAll of the lines into an empty manager, for large input
  // with many repeated lines: the cores count the texts of their parts of
  // the lines, in tables of their own, then join them, and each text is an
  // item in the order the texts first occur. The keys are made later, and
  // the text index is left to be built when next needed. False, adding
  // nothing, when the manager is not empty or for input of 4 GiB and more.
  template <class LineAt>
  bool AddAllCounted(const std::shared_ptr<const void>& Store, std::string_view Bytes,
                     std::size_t n, const LineAt& lineAt) {
    return AddCounted(Store, Bytes, n, &lineAt, [](const void* f, std::size_t i) {
      return std::string_view((*static_cast<const LineAt*>(f))(i));
    });
  }

  // Makes room in the text index for Texts distinct texts in all, so that
  // it is made once instead of growing step by step; only a guess, past
  // which the index grows as usual. Results never depend on it.
  void ExpectTexts(std::size_t Texts);

  // Groups items of equal display key into FSameList and, unless FZenkaku
  // and FUpper are both on, merges each group into its representative.
  void Organize();
  // Reorders the items by PaddedKeyOrder. Right after Organize of the same
  // items it takes the order Organize sorted.
  void Sort();
  // Clear, then a copy of every item of Source in order.
  void Assign(const TUniqueManager& Source);
  // Removes an item; an item not in the list, or an index outside
  // 0 .. Count - 1, shows an error message and changes nothing. Pointers to
  // later items then refer to the items after them.
  void Delete(const TUniqueItem* Item);
  void Delete(std::int32_t Index);

  std::int32_t Count() const { return static_cast<std::int32_t>(FCount); }
  // The item at a position; std::out_of_range outside 0 .. Count - 1.
  TUniqueItem* Items(std::int32_t Index) const;
  // Sum of FCount over all items (saturates at the 32-bit maximum).
  std::int32_t TotalCount() const;
  // Similar() false on every item.
  void ClearSimilar();
  // The key FZenkaku and FUpper select for the all-data view.
  std::string DisplayKey(const TUniqueItem& Item) const;
  // The item whose text equals Text byte for byte, or nullptr.
  TUniqueItem* FindText(std::string_view Text) const;

  // Filled by Organize: the items that share their display key with another
  // item, group by group.
  const std::vector<TUniqueItem*>& SameList() const { return FSameList; }
  // The items that share their key with another item, when the last
  // Organize grouped by the full key and no item came or went since (the
  // SameList then); else nullptr.
  const std::vector<TUniqueItem*>* KeyGroups() const {
    return FKeyGroupsValid ? &FSameList : nullptr;
  }

  bool FTrim = false;             // keep the trimmed line (and trim the key)
  bool FZenkaku = false;          // all-data view keeps width and kana kind apart
  bool FUpper = false;            // all-data view keeps upper and lower case apart
  bool FHyphenTerminate = false;  // one trailing hyphen or long-vowel mark ignored in the key
  bool FHyphen = false;           // hyphen and long-vowel mark folded together in the key
  // The kinds of variants (TVariantKind bits, engine/variant_folding.h)
  // folded in the key besides; 0 for the key as it always was. Acts when
  // keys are made, as FHyphen does.
  unsigned FVariants = 0;

  // The key the options give a kept text (what Key() of its item is).
  std::string MakeKey(std::string_view Text) const;
  // The same with the kinds of variants Variants instead of FVariants.
  std::string MakeKey(std::string_view Text, unsigned Variants) const;
  // The key of Text, made in the two scratch strings (grown as needed), as
  // a view into one of them.
  std::string_view KeyIn(std::string_view Text, unsigned Variants, std::string& Scratch,
                         std::string& Scratch2) const;
  // Makes the keys of every item that has none, in one pass; Key() makes
  // them when needed. Call before reading keys from several threads.
  void MakeKeys() const;
  // Shown() and Similar() of the item at a list position, without reading
  // the item.
  bool ShownAt(std::int32_t Index) const { return (FMarks[Number(Index)] & kShown) != 0; }
  bool SimilarAt(std::int32_t Index) const { return (FMarks[Number(Index)] & kSimilar) != 0; }
  // Asks the processor to fetch the marks of the item at a list position,
  // the item (and its merged count), or its text (once the item is
  // fetched), for walks of the list in sorted order.
  void PrefetchMarks(std::int32_t Index) const {
    if (Index < Count()) __builtin_prefetch(&FMarks[Number(Index)]);
  }
  void PrefetchItem(std::int32_t Index) const {
    if (Index >= Count()) return;
    const std::size_t n = Number(Index);
    __builtin_prefetch(&Item(n));
    if (!FMerged.empty()) __builtin_prefetch(&FMerged[n]);
  }
  void PrefetchText(std::int32_t Index) const {
    if (Index >= Count()) return;
    const TUniqueItem& item = Item(Number(Index));
    __builtin_prefetch(TextAt(item.FTextAt, item.FTextSize).data());
  }
  // Asks for the memory of item number Index's sort string (its keys
  // made), for walks over items in random order: first (Near false) its
  // record and its key's place, then, once those have come, its bytes.
  void PrefetchSortString(std::size_t Index, bool Near) const {
    if (!Near) {
      __builtin_prefetch(&FKeys[Index]);
      __builtin_prefetch(&Item(Index));
      return;
    }
    const std::uint32_t at = FKeys[Index];
    const TUniqueItem& item = Item(Index);
    __builtin_prefetch(at == kSameAsText ? TextAt(item.FTextAt, item.FTextSize).data()
                                         : FKeyBytes.data() + at);
  }
  // The sort string of the item at Index (its keys made): its key and its
  // text, or while the texts hold codes escaped from CP932 input (and no
  // other forms), the two with those codes as given, so that the order is
  // that of the bytes the user gave.
  TSortString SortString(std::size_t Index) const {
    const std::string_view key = KeyOf(Index);
    if (FEscapedTexts == 0) return {key, TextOf(Index)};
    return GivenSortString(Index, key);
  }
  // Whether sort strings are the given bytes (see SortString).
  bool SortsAsGiven() const { return FEscapedTexts != 0 && FOtherFormTexts == 0; }

 private:
  friend class TUniqueItem;
  struct TChunk;
  // A piece of the text space: bytes [Start, Start + Size) are at Data.
  struct TStore {
    std::uint64_t Start = 0;
    const char* Data = nullptr;
    std::size_t Size = 0;
    std::shared_ptr<const void> Keep;
  };
  struct TStoreRef {
    std::uint32_t Start;
    const char* Data;
  };
  // A key's place in the key store, where its length (LEB128) comes before
  // its bytes; kSameAsText: the key is the item's text.
  static std::string_view KeyAt(const std::string& Store, std::uint32_t At) {
    std::size_t size = 0;
    int shift = 0;
    std::uint8_t b;
    do {
      b = static_cast<std::uint8_t>(Store[At++]);
      size |= std::size_t{b & 0x7Fu} << shift;
      shift += 7;
    } while ((b & 0x80) != 0);
    return {Store.data() + At, size};
  }
  // Writes a key's length in front of its bytes, as KeyAt reads it.
  static void AppendLength(std::string& Store, std::size_t Size);
  // Appends the key stores that parts made at once to the first, in order:
  // part p made the keys of positions From + N * p / Stores.size() up to
  // the next part's, whose places in KeyAt (kSameAsText for none) it gave
  // in its own store. False, when the keys come to 4 GiB, having stopped.
  static bool JoinKeyStores(std::vector<std::string>& Stores, std::vector<std::uint32_t>& KeyAt,
                            std::size_t From, std::size_t N);
  // A key Organize makes for itself: bytes [At, At + Size) of its store.
  struct TKeyRef {
    std::uint32_t At, Size;
  };
  static constexpr std::uint32_t kSameAsText = UINT32_MAX;
  enum : std::uint8_t { kShown = 1, kSimilar = 2, kGrouped = 4 };

  TStoreRef AdoptStore(std::shared_ptr<const void> Store, std::string_view Bytes);
  // The text at a place of the text space.
  std::string_view TextAt(std::uint32_t At, std::uint32_t Size) const {
    const TStore& last = FStores.back();  // the usual case: one input
    if (At >= last.Start) return {last.Data + (At - last.Start), Size};
    return EarlierTextAt(At, Size);
  }
  std::string_view EarlierTextAt(std::uint32_t At, std::uint32_t Size) const;
  std::string_view TextOf(std::size_t Index) const {
    const TUniqueItem& item = Item(Index);
    return TextAt(item.FTextAt, item.FTextSize);
  }
  // Copies Text into the manager's own store; returns where it lies.
  std::uint32_t CopyText(std::string_view Text);
  // The key of item Index; keys are made first when it has none yet.
  std::string_view KeyOf(std::size_t Index) const {
    if (Index >= FKeys.size()) MakeKeys();
    const std::uint32_t at = FKeys[Index];
    return at == kSameAsText ? TextOf(Index) : KeyAt(FKeyBytes, at);
  }

  // Items live in chunks aligned to their size, so that an item finds its
  // chunk (and through it its manager) from its own address.
  static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;
  static constexpr std::size_t kChunkHeader = 16;
  static constexpr std::size_t kPerChunk = (kChunkBytes - kChunkHeader) / 12;
  TUniqueItem& Item(std::size_t Index) const {
    return FChunkItems[Index / kPerChunk][Index % kPerChunk];
  }
  // A new item at the end; its text stays to be set.
  TUniqueItem& NewItem();
  // Room for Count new items at the end, made one by one by NewItemAt
  // (several threads may make different items at once) before anything
  // else reads them.
  void AddItems(std::size_t Count);
  TUniqueItem& NewItemAt(std::size_t Index) { return *new (&Item(Index)) TUniqueItem(); }
  // A + B, counts held at the largest int32_t.
  static std::int32_t SaturatedAdd(std::int32_t A, std::int32_t B);
  // For a build into an empty manager: Bytes' store taken on, and room for
  // Count items, shown; nothing left half made when it fails.
  TStoreRef RoomForItems(const std::shared_ptr<const void>& Store, std::string_view Bytes,
                         std::size_t Count);
  // One more chunk of items at the end.
  void AddChunk();
  // Lines through the text index, pipelined; with Store, new texts are
  // taken from it instead of copied.
  template <class LineAt>
  void AddLines(std::size_t n, const TStoreRef* Store, LineAt lineAt);
  using TLineFn = std::string_view (*)(const void* Lines, std::size_t Index);
  bool AddSorted(const std::shared_ptr<const void>& Store, std::string_view Bytes, std::size_t n,
                 const void* Lines, TLineFn LineAt);
  bool AddCounted(const std::shared_ptr<const void>& Store, std::string_view Bytes, std::size_t n,
                  const void* Lines, TLineFn LineAt);
  // The key of a kept text, Text itself when its key is the text (the
  // scratch strings as in KeyIn).
  std::string_view OwnKey(std::string_view Text, std::string& Scratch, std::string& Scratch2) const;
  // What Add keeps of a line: empty for a blank line.
  std::string_view Kept(std::string_view Line) const;
  // Counts the text on the item the index found, or makes its item.
  void CountLine(std::uint32_t* Found, std::string_view Text, std::uint64_t Hash,
                 const TStoreRef* Store);

  // Organize lets the text index go (grouping and sorting need memory of
  // their own); the next use of the index builds it again from the items.
  void ReleaseTextIndex();
  void Reindex() const;
  // Drops what the items' order or number made: the kept sort order.
  void ListChanged();
  // The item numbers in list order.
  std::vector<std::uint32_t> ListOrder() const;
  std::size_t Number(std::int32_t Index) const {
    const auto i = static_cast<std::size_t>(Index);
    return FView.empty() ? i : FView[i];
  }

  using TChunkPtr = std::unique_ptr<TChunk, void (*)(TChunk*)>;
  std::vector<TChunkPtr> FChunks;
  std::vector<TUniqueItem*> FChunkItems;  // the first item of each chunk
  std::size_t FCount = 0;
  std::vector<TStore> FStores;
  std::uint64_t FTextEnd = 0;  // the first free place of the text space
  std::size_t FOwnLeft = 0;    // free bytes behind the last store, when it is the manager's own
  // The list order as item numbers; empty while it is the items' own.
  std::vector<std::uint32_t> FView;
  std::vector<std::uint8_t> FMarks;
  std::vector<std::int32_t> FMerged;
  mutable std::vector<std::uint32_t> FKeys;  // made up to FKeys.size()
  mutable std::string FKeyBytes;
  mutable std::size_t FUnplainKeys = 0;  // keys made that are not PlainKey
  // Per item with keys made, once a text holds an escaped code (empty
  // before): where its key and text as given lie in FGivenBytes (two 32-bit
  // sizes, then the bytes), or kNoEscape when its text holds none. Counts of such texts and of
  // texts with other codes of the unassigned rows.
  static constexpr std::uint32_t kNoEscape = UINT32_MAX;
  mutable std::vector<std::uint32_t> FGivenAt;
  mutable std::string FGivenBytes;
  mutable std::size_t FEscapedTexts = 0, FOtherFormTexts = 0;
  // Records what the texts of the items numbered hold: those whose text
  // has a lead byte of the unassigned rows (MakeKeys).
  void NoteEscapes(const std::vector<std::size_t>& Items) const;
  TSortString GivenSortString(std::size_t Index, std::string_view Key) const;
  bool FKeyGroupsValid = false;

  mutable TItemTable FTextIndex;
  mutable bool FIndexReleased = false;
  std::vector<TUniqueItem*> FSameList;
  // Organize's PaddedKeyOrder sort: the order it found, valid while
  // FSortedValid. After AddAllSorted also the sort's ties (as
  // SortByPaddedKey gives them), for Organize to take instead of sorting.
  std::vector<std::uint32_t> FSortedOrder;
  std::vector<std::uint64_t> FSortedTies;
  bool FSortedValid = false;
  // AddAllSorted's working room (its entries, 16 bytes a line), kept for
  // the next call, which Clear does not give back: a window adds anew at
  // each press, and memory taken afresh is zeroed by the system page by
  // page. Holds nothing between calls.
  std::unique_ptr<std::byte[]> FSortRoom;
  std::size_t FSortRoomBytes = 0;
  // AddAllCounted's tables (counted_adding.cpp).
  struct TCountedRoom;
  // The memory of the last build's arrays, which Clear keeps for the next
  // build as well, for the same reason: the item chunks, the key stores
  // of the parts after the first (the first is FKeyBytes, as FKeys, FMarks
  // and the others keep their own), the list order, and the counting's
  // tables (used where they lie). Empty while a build uses it, but for
  // those tables.
  struct TRoom {
    std::vector<TChunkPtr> Chunks;
    std::vector<std::string> KeyStores;
    std::vector<std::uint32_t> Order;
    std::shared_ptr<TCountedRoom> Counted;
  };
  mutable TRoom FRoom;
  // Width key stores for parts of a build: FKeyBytes and the kept ones.
  std::vector<std::string> KeyStores(unsigned Width) const;
  // Keeps the emptied stores after the first for the next build.
  void KeepKeyStores(std::vector<std::string>& Stores) const;
  // The order kept for the next build, resized to N (its values unset).
  std::vector<std::uint32_t> KeptOrder(std::size_t N) const;
};

// Adds pushed lines three stages apart: hash the text and fetch its slot;
// look it up and fetch the item's text; count it or create its item.
template <class LineAt>
void TUniqueManager::AddLines(std::size_t n, const TStoreRef* Store, LineAt lineAt) {
  Reindex();
  if (n == 0) return;
  ListChanged();
  FKeyGroupsValid = false;
  constexpr std::size_t kAhead = 8;
  struct TPending {
    std::string_view Text;
    std::uint64_t Hash;
  };
  TPending ring[kAhead];
  std::size_t pushed = 0;
  const auto apply = [&](const TPending& p) {
    CountLine(FTextIndex.Find(p.Text, p.Hash, [this](std::uint32_t i) { return TextOf(i); }),
              p.Text, p.Hash, Store);
  };
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view text = Kept(lineAt(i));
    if (text.empty()) continue;
    if (pushed >= kAhead) apply(ring[pushed % kAhead]);
    const std::uint64_t hash = HashBytes(text);
    FTextIndex.Prefetch(hash);
    ring[pushed % kAhead] = {text, hash};
    ++pushed;
  }
  for (std::size_t j = pushed > kAhead ? pushed - kAhead : 0; j < pushed; ++j)
    apply(ring[j % kAhead]);
}

}  // namespace tavrin
