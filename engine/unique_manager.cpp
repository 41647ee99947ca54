// TUniqueManager's storage: the items in aligned chunks, the text space, the
// text index and the operations on the list as a whole.
#include "engine/unique_manager.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <stdexcept>
#include <utility>

#include "engine/char_folding.h"
#include "engine/container.h"
#include "engine/item_sort.h"
#include "util/cp932.h"
#include "util/os.h"

namespace tavrin {
namespace {

constexpr std::uint64_t kTextSpace = std::uint64_t{1} << 32;
// The manager's own stores (for copied lines) start small and grow.
constexpr std::size_t kOwnStoreMin = std::size_t{64} << 10, kOwnStoreMax = std::size_t{1} << 20;

}  // namespace

struct TUniqueManager::TChunk {
  const TUniqueManager* Manager;
  std::size_t First;  // number of the chunk's first item

  TUniqueItem* Items() {
    return reinterpret_cast<TUniqueItem*>(reinterpret_cast<char*>(this) + kChunkHeader);
  }
  static TChunk* Of(const TUniqueItem* item) {
    return reinterpret_cast<TChunk*>(reinterpret_cast<std::uintptr_t>(item) & ~(kChunkBytes - 1));
  }
};
static_assert(sizeof(TUniqueItem) == 12 && alignof(TUniqueItem) == 4);

std::int32_t TUniqueManager::SaturatedAdd(std::int32_t a, std::int32_t b) {
  const std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<std::int32_t>(
      std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

// ---- TUniqueItem ----

const TUniqueManager& TUniqueItem::Manager() const {
  return *TUniqueManager::TChunk::Of(this)->Manager;
}

std::size_t TUniqueItem::Index() const {
  TUniqueManager::TChunk* chunk = TUniqueManager::TChunk::Of(this);
  return chunk->First + static_cast<std::size_t>(this - chunk->Items());
}

std::string_view TUniqueItem::Text() const { return Manager().TextAt(FTextAt, FTextSize); }
std::string_view TUniqueItem::Key() const { return Manager().KeyOf(Index()); }
TSortString TUniqueItem::SortString() const { return Manager().SortString(Index()); }
std::string TUniqueItem::CaseKey() const { return FoldCaseAndSmallKana(Text()); }
std::string TUniqueItem::WidthKey() const { return FoldWidth(Text()); }

bool TUniqueItem::Shown() const {
  return (Manager().FMarks[Index()] & TUniqueManager::kShown) != 0;
}
bool TUniqueItem::Grouped() const {
  return (Manager().FMarks[Index()] & TUniqueManager::kGrouped) != 0;
}
bool TUniqueItem::Similar() const {
  return (Manager().FMarks[Index()] & TUniqueManager::kSimilar) != 0;
}

void TUniqueItem::SetShown(bool On) {
  std::uint8_t& m = const_cast<TUniqueManager&>(Manager()).FMarks[Index()];
  m = static_cast<std::uint8_t>(On ? m | TUniqueManager::kShown : m & ~TUniqueManager::kShown);
}

void TUniqueItem::SetSimilar(bool On) {
  std::uint8_t& m = const_cast<TUniqueManager&>(Manager()).FMarks[Index()];
  m = static_cast<std::uint8_t>(On ? m | TUniqueManager::kSimilar : m & ~TUniqueManager::kSimilar);
}

std::int32_t TUniqueItem::MergedCount() const {
  const TUniqueManager& m = Manager();
  return m.FMerged.empty() ? 0 : m.FMerged[Index()];
}

// ---- the storage ----

TUniqueManager::TUniqueManager() { BuildWidthTable(); }

TUniqueManager::~TUniqueManager() = default;

TUniqueItem& TUniqueManager::NewItem() {
  if (FCount == FChunks.size() * kPerChunk) AddChunk();
  TUniqueItem* item = new (FChunks.back()->Items() + FCount % kPerChunk) TUniqueItem();
  ++FCount;
  return *item;
}

void TUniqueManager::AddItems(std::size_t Count) {
  while (FChunks.size() * kPerChunk < FCount + Count) AddChunk();
  FCount += Count;
}

TUniqueManager::TStoreRef TUniqueManager::RoomForItems(const std::shared_ptr<const void>& Store,
                                                       std::string_view Bytes, std::size_t Count) {
  const TStoreRef store = AdoptStore(Store, Bytes);
  try {
    FMarks.assign(Count, kShown);
    AddItems(Count);
  } catch (...) {
    Clear();
    throw;
  }
  return store;
}

void TUniqueManager::AddChunk() {
  TChunkPtr chunk(nullptr, [](TChunk* c) { os::AlignedFree(c); });
  if (!FRoom.Chunks.empty()) {
    chunk = std::move(FRoom.Chunks.back());
    FRoom.Chunks.pop_back();
  } else {
    void* memory = os::AlignedAlloc(kChunkBytes, kChunkBytes);
    if (memory == nullptr) throw std::bad_alloc();
    chunk.reset(static_cast<TChunk*>(memory));
    chunk->Manager = this;
  }
  chunk->First = FChunks.size() * kPerChunk;
  FChunkItems.reserve(FChunkItems.size() + 1);
  FChunks.reserve(FChunks.size() + 1);
  FChunks.push_back(std::move(chunk));
  FChunkItems.push_back(FChunks.back()->Items());
}

TUniqueManager::TStoreRef TUniqueManager::AdoptStore(std::shared_ptr<const void> Store,
                                                     std::string_view Bytes) {
  // Adding one input in several calls takes it once.
  for (const TStore& s : FStores) {
    if (s.Data == Bytes.data() && s.Size == Bytes.size() && s.Keep == Store)
      return {static_cast<std::uint32_t>(s.Start), s.Data};
  }
  if (FTextEnd + Bytes.size() >= kTextSpace) throw std::length_error("texts of 4 GiB or more");
  FStores.push_back({FTextEnd, Bytes.data(), Bytes.size(), std::move(Store)});
  const TStoreRef ref{static_cast<std::uint32_t>(FTextEnd), Bytes.data()};
  FTextEnd += Bytes.size();
  FOwnLeft = 0;
  return ref;
}

std::uint32_t TUniqueManager::CopyText(std::string_view Text) {
  if (FOwnLeft < Text.size()) {
    const std::size_t grown =
        std::min(kOwnStoreMax, kOwnStoreMin << std::min<std::size_t>(FStores.size(), 4));
    const std::size_t capacity = std::max(Text.size(), grown);
    if (FTextEnd + capacity >= kTextSpace) throw std::length_error("texts of 4 GiB or more");
    std::shared_ptr<char[]> bytes(new char[capacity]);
    FStores.push_back({FTextEnd, bytes.get(), 0, std::move(bytes)});
    FTextEnd += capacity;
    FOwnLeft = capacity;
  }
  TStore& own = FStores.back();
  std::memcpy(const_cast<char*>(own.Data) + own.Size, Text.data(), Text.size());
  const auto at = static_cast<std::uint32_t>(own.Start + own.Size);
  own.Size += Text.size();
  FOwnLeft -= Text.size();
  return at;
}

std::string_view TUniqueManager::EarlierTextAt(std::uint32_t At, std::uint32_t Size) const {
  const TStore& store =
      *(std::upper_bound(FStores.begin(), FStores.end(), At,
                         [](std::uint64_t at, const TStore& s) { return at < s.Start; }) -
        1);
  return {store.Data + (At - store.Start), Size};
}

std::string_view TUniqueManager::Kept(std::string_view Line) const {
  if (!FTrim && StartsUnblank(Line)) return Line;
  const std::string_view blank = TrimBlanksView(Line);
  if (blank.empty()) return {};
  return FTrim ? blank : Line;
}

void TUniqueManager::CountLine(std::uint32_t* Found, std::string_view Text, std::uint64_t Hash,
                               const TStoreRef* Store) {
  if (Found != nullptr) {
    TUniqueItem& item = Item(*Found - 1);
    item.FCount = SaturatedAdd(item.FCount, 1);
    return;
  }
  if (Text.size() > std::numeric_limits<std::uint32_t>::max())
    throw std::length_error("line of 4 GiB or more");
  const std::uint32_t at =
      Store != nullptr ? Store->Start + static_cast<std::uint32_t>(Text.data() - Store->Data)
                       : CopyText(Text);
  FMarks.push_back(kShown);
  TUniqueItem* item;
  try {
    item = &NewItem();
  } catch (...) {
    FMarks.pop_back();
    throw;
  }
  item->FTextAt = at;
  item->FTextSize = static_cast<std::uint32_t>(Text.size());
  try {
    FTextIndex.Insert(Hash, static_cast<std::uint32_t>(FCount - 1));
    // A sorted list takes the new item at its end.
    if (!FView.empty()) FView.push_back(static_cast<std::uint32_t>(FCount - 1));
  } catch (...) {
    --FCount;
    FMarks.pop_back();
    if (!FView.empty() && FView.back() == FCount) FView.pop_back();
    ReleaseTextIndex();  // the item may be entered: enter the rest again
    throw;
  }
}

void TUniqueManager::Add(std::string_view Line) {
  AddLines(1, nullptr, [&](std::size_t) { return Line; });
}

void TUniqueManager::ExpectTexts(std::size_t Texts) {
  Reindex();
  try {
    FTextIndex.reserve(std::min<std::size_t>(Texts, INT32_MAX));
  } catch (const std::bad_alloc&) {
    // A guess the memory cannot meet is dropped: the index grows as needed.
  }
}

void TUniqueManager::ReleaseTextIndex() {
  FTextIndex = TItemTable();
  FIndexReleased = true;
}

void TUniqueManager::Reindex() const {
  if (!FIndexReleased) return;
  FTextIndex.clear();
  FTextIndex.reserve(FCount);
  for (std::size_t i = 0; i < FCount; ++i) {
    if (i + 8 < FCount) __builtin_prefetch(&Item(i + 8));
    FTextIndex.Insert(HashBytes(TextOf(i)), static_cast<std::uint32_t>(i));
  }
  FIndexReleased = false;
}

TUniqueItem* TUniqueManager::FindText(std::string_view Text) const {
  Reindex();
  std::uint32_t* found =
      FTextIndex.Find(Text, HashBytes(Text), [this](std::uint32_t i) { return TextOf(i); });
  return found == nullptr ? nullptr : &Item(*found - 1);
}

void TUniqueManager::ListChanged() {
  FSortedValid = false;
  FSortedOrder = {};
  FSortedTies = {};
}

void TUniqueManager::Clear() {
  // The arrays are emptied, not freed: their memory serves the next build
  // (the chunks are freed when no room is left to list them).
  try {
    FRoom.Chunks.reserve(FRoom.Chunks.size() + FChunks.size());
    for (TChunkPtr& chunk : FChunks) FRoom.Chunks.push_back(std::move(chunk));
  } catch (const std::bad_alloc&) {
  }
  FChunks.clear();
  FChunkItems.clear();
  FCount = 0;
  FStores = {};
  FTextEnd = 0;
  FOwnLeft = 0;
  for (std::vector<std::uint32_t>* order : {&FView, &FSortedOrder}) {
    if (order->capacity() > FRoom.Order.capacity()) FRoom.Order = std::move(*order);
  }
  FRoom.Order.clear();
  FView.clear();
  FMarks.clear();
  FMerged.clear();
  FKeys.clear();
  FKeyBytes.clear();
  FTextIndex = TItemTable();
  FIndexReleased = false;
  FSameList = {};
  FUnplainKeys = 0;
  FGivenAt = {};
  FGivenBytes = {};
  FEscapedTexts = 0;
  FOtherFormTexts = 0;
  FKeyGroupsValid = false;
  ListChanged();
}

std::vector<std::string> TUniqueManager::KeyStores(unsigned Width) const {
  std::vector<std::string> stores(Width);
  stores[0] = std::exchange(FKeyBytes, {});
  for (unsigned p = 1; p < Width && p <= FRoom.KeyStores.size(); ++p)
    stores[p] = std::move(FRoom.KeyStores[p - 1]);
  return stores;
}

void TUniqueManager::KeepKeyStores(std::vector<std::string>& Stores) const {
  // Never fails: stores without a place to keep them are freed.
  try {
    if (FRoom.KeyStores.size() + 1 < Stores.size()) FRoom.KeyStores.resize(Stores.size() - 1);
  } catch (const std::bad_alloc&) {
    return;
  }
  for (std::size_t p = 1; p < Stores.size(); ++p) {
    Stores[p].clear();
    if (Stores[p].capacity() > FRoom.KeyStores[p - 1].capacity())
      FRoom.KeyStores[p - 1] = std::move(Stores[p]);
  }
}

std::vector<std::uint32_t> TUniqueManager::KeptOrder(std::size_t N) const {
  std::vector<std::uint32_t> order = std::exchange(FRoom.Order, {});
  order.resize(N);
  return order;
}

TUniqueItem* TUniqueManager::Items(std::int32_t Index) const {
  if (Index < 0 || static_cast<std::size_t>(Index) >= FCount) {
    throw std::out_of_range("TUniqueManager.Items: index " + std::to_string(Index) +
                            " out of range");
  }
  return &Item(Number(Index));
}

std::int32_t TUniqueManager::TotalCount() const {
  // Chunk by chunk: no division per item.
  std::int32_t total = 0;
  for (std::size_t c = 0; c * kPerChunk < FCount; ++c) {
    const TUniqueItem* items = FChunkItems[c];
    const std::size_t size = std::min(kPerChunk, FCount - c * kPerChunk);
    for (std::size_t k = 0; k < size; ++k) total = SaturatedAdd(total, items[k].FCount);
  }
  return total;
}

void TUniqueManager::ClearSimilar() {
  for (std::uint8_t& m : FMarks) m = static_cast<std::uint8_t>(m & ~kSimilar);
}

std::string TUniqueManager::DisplayKey(const TUniqueItem& Item) const {
  if (FZenkaku == FUpper) return std::string(Item.Key());
  return FUpper ? Item.WidthKey() : Item.CaseKey();
}

// ---- changes to the list as a whole ----

std::vector<std::uint32_t> TUniqueManager::ListOrder() const {
  if (!FView.empty()) return FView;
  std::vector<std::uint32_t> order = KeptOrder(FCount);
  for (std::size_t i = 0; i < FCount; ++i) order[i] = static_cast<std::uint32_t>(i);
  return order;
}

void TUniqueManager::Sort() {
  std::vector<std::uint32_t> order;
  if (FSortedValid && FSortedOrder.size() == FCount) {
    order = std::move(FSortedOrder);
  } else {
    order = ListOrder();
    SortByPaddedKey(*this, order);
  }
  ListChanged();
  FView = std::move(order);
}

void TUniqueManager::Assign(const TUniqueManager& Source) {
  if (&Source == this) return;
  Clear();
  for (std::int32_t i = 0; i < Source.Count(); ++i) {
    const TUniqueItem& from = *Source.Items(i);
    const std::uint32_t at = CopyText(from.Text());
    TUniqueItem& item = NewItem();
    item.FTextAt = at;
    item.FTextSize = from.FTextSize;
    item.FCount = from.FCount;
    FMarks.push_back(static_cast<std::uint8_t>(Source.FMarks[from.Index()] & ~kGrouped));
    if (!Source.FMerged.empty()) FMerged.push_back(Source.FMerged[from.Index()]);
  }
  // Entered in the index too, so that a later Add of the same text counts
  // on the copy instead of creating a second item with that text.
  FIndexReleased = true;
  Reindex();
}

void TUniqueManager::Delete(std::int32_t Index) {
  if (Index < 0 || static_cast<std::size_t>(Index) >= FCount) {
    ShowDeleteBadIndex(Index);
    return;
  }
  const std::size_t gone = Items(Index)->Index();
  if (!FView.empty()) {
    FView.erase(FView.begin() + Index);
    for (std::uint32_t& i : FView) i -= i > gone;
  }
  if (gone < FKeys.size()) {
    FUnplainKeys -= !PlainKey(KeyOf(gone));
    const cp932::UnassignedCodes codes = cp932::FindUnassignedCodes(TextOf(gone));
    FEscapedTexts -= codes.escaped;
    FOtherFormTexts -= codes.other;
  }
  std::vector<std::size_t> same;
  for (TUniqueItem* item : FSameList) {
    const std::size_t i = item->Index();
    if (i != gone) same.push_back(i > gone ? i - 1 : i);
  }
  for (std::size_t i = gone; i + 1 < FCount; ++i) {
    const TUniqueItem& next = Item(i + 1);
    TUniqueItem& item = Item(i);
    item.FTextAt = next.FTextAt, item.FTextSize = next.FTextSize, item.FCount = next.FCount;
  }
  --FCount;
  if (FCount % kPerChunk == 0) FChunks.pop_back(), FChunkItems.pop_back();
  const auto at = static_cast<std::ptrdiff_t>(gone);
  FMarks.erase(FMarks.begin() + at);
  if (gone < FKeys.size()) FKeys.erase(FKeys.begin() + at);
  if (gone < FGivenAt.size()) FGivenAt.erase(FGivenAt.begin() + at);
  FKeyGroupsValid = false;
  if (!FMerged.empty()) FMerged.erase(FMerged.begin() + at);
  FSameList.clear();
  for (const std::size_t i : same) FSameList.push_back(&Item(i));
  ReleaseTextIndex();
  ListChanged();
}

void TUniqueManager::Delete(const TUniqueItem* Item) {
  for (const auto& chunk : FChunks) {
    const TUniqueItem* first = chunk->Items();
    if (Item < first || Item >= first + kPerChunk) continue;
    const std::size_t number = chunk->First + static_cast<std::size_t>(Item - first);
    if (number >= FCount) break;
    // Delete takes a list position; a sorted list holds the item elsewhere.
    const std::size_t position =
        FView.empty() ? number
                      : static_cast<std::size_t>(std::find(FView.begin(), FView.end(), number) -
                                                 FView.begin());
    Delete(static_cast<std::int32_t>(position));
    return;
  }
  ShowDeleteNotFound();
}

}  // namespace tavrin
