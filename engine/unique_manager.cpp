#include "engine/unique_manager.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "engine/char_folding.h"
#include "engine/item_sort.h"

namespace tavrin {
namespace {

constexpr std::size_t kKeyField = 1024;  // width of the padded key field

// One conceptual sort string: Key, then spaces up to the key field, then
// Text, walked piece by piece without being built.
struct TPaddedString {
  std::string_view Parts[3];  // an empty data view with Pad > 0 stands for spaces
  std::size_t Pad;

  TPaddedString(const TUniqueItem* item)
      : Parts{item->FKey, {}, item->FText},
        Pad(item->FKey.size() < kKeyField ? kKeyField - item->FKey.size() : 0) {}

  std::size_t PartSize(int part) const { return part == 1 ? Pad : Parts[part].size(); }
};

// Compares data against a run of spaces of the same length.
int CompareWithSpaces(std::string_view data) {
  for (char c : data) {
    auto b = static_cast<unsigned char>(c);
    if (b != 0x20) return b < 0x20 ? -1 : 1;
  }
  return 0;
}

int Sign(int v) { return (v > 0) - (v < 0); }

std::int32_t SaturatedAdd(std::int32_t a, std::int32_t b) {
  std::int64_t sum = static_cast<std::int64_t>(a) + b;
  return static_cast<std::int32_t>(std::min<std::int64_t>(sum, std::numeric_limits<std::int32_t>::max()));
}

// Base without one trailing hyphen or long-vowel mark, looking at its last
// whole character.
std::string WithoutTrailingMark(std::string base, bool hyphenFolded) {
  if (base.empty()) return base;
  const std::size_t n = base.size();
  const bool lastIsSingle = IsCharacterStart(base, n - 1);
  std::string_view last = lastIsSingle ? std::string_view(base).substr(n - 1)
                                       : std::string_view(base).substr(n - 2);
  bool mark = last == "-";
  if (!hyphenFolded) mark = mark || last == "\xB0" || last == "\x81\x7C" || last == "\x81\x5B";
  if (mark) base.resize(n - last.size());
  return base;
}

}  // namespace

int CompareBytes(std::string_view A, std::string_view B) {
  const std::size_t n = std::min(A.size(), B.size());
  if (n != 0) {
    int c = std::memcmp(A.data(), B.data(), n);
    if (c != 0) return Sign(c);
  }
  return A.size() < B.size() ? -1 : (A.size() > B.size() ? 1 : 0);
}

bool PlainKey(const TUniqueItem& Item) {
  const std::string& key = Item.FKey;
  return !key.empty() && key.size() < kKeyField && key.back() != ' ';
}

int PaddedKeyOrder(const TUniqueItem* A, const TUniqueItem* B) {
  // Most pairs differ inside the keys' common length, and equal keys are
  // padded alike: both settle without walking the padding.
  const std::size_t common = std::min(A->FKey.size(), B->FKey.size());
  if (common != 0) {
    const int c = std::memcmp(A->FKey.data(), B->FKey.data(), common);
    if (c != 0) return Sign(c);
  }
  if (A->FKey.size() == B->FKey.size()) return CompareBytes(A->FText, B->FText);

  const TPaddedString a(A), b(B);
  int pa = 0, pb = 0;            // current part
  std::size_t oa = 0, ob = 0;    // offset inside it
  for (;;) {
    while (pa < 3 && oa == a.PartSize(pa)) ++pa, oa = 0;
    while (pb < 3 && ob == b.PartSize(pb)) ++pb, ob = 0;
    if (pa == 3 || pb == 3) return pa == 3 ? (pb == 3 ? 0 : -1) : 1;
    const std::size_t n = std::min(a.PartSize(pa) - oa, b.PartSize(pb) - ob);
    const bool spacesA = pa == 1, spacesB = pb == 1;
    int c = 0;
    if (!spacesA && !spacesB)
      c = Sign(std::memcmp(a.Parts[pa].data() + oa, b.Parts[pb].data() + ob, n));
    else if (!spacesA)
      c = CompareWithSpaces(a.Parts[pa].substr(oa, n));
    else if (!spacesB)
      c = -CompareWithSpaces(b.Parts[pb].substr(ob, n));
    if (c != 0) return c;
    oa += n;
    ob += n;
  }
}

void TUniqueItem::Assign(const TUniqueItem& Source) {
  FText = Source.FText;
  FCaseKey = Source.FCaseKey;
  FWidthKey = Source.FWidthKey;
  FKey = Source.FKey;
  FShown = Source.FShown;
  FSimilar = Source.FSimilar;
  FCount = Source.FCount;
  FMergedCount = Source.FMergedCount;
}

TUniqueManager::TUniqueManager() { BuildWidthTable(); }

TUniqueManager::~TUniqueManager() {
  for (auto& index : FTextIndex) index.clear();
  FSameList.clear();
}

void TUniqueManager::Clear() {
  for (auto& index : FTextIndex) index.clear();
  FIndexReleased = false;
  FSameList.clear();
  FSortedOrder.clear();
  FSortedValid = false;
  TCustomContainer::Clear();
}

void TUniqueManager::AddItem(std::unique_ptr<TCustomContainerItem> item) {
  auto* unique = dynamic_cast<TUniqueItem*>(item.get());
  if (unique == nullptr) throw std::invalid_argument("TUniqueManager.AddItem: not a TUniqueItem");
  Reindex();
  FSortedValid = false;
  TCustomContainer::AddItem(std::move(item));
  Enter(unique);
}

void TUniqueManager::ReleaseTextIndex() {
  for (auto& index : FTextIndex) index = TTextIndex<TUniqueItem*>();
  FIndexReleased = true;
}

void TUniqueManager::Reindex() const {
  if (!FIndexReleased) return;
  std::array<std::size_t, kShards> sizes{};
  std::vector<std::uint64_t> hashes(FItems.size());
  for (std::size_t i = 0; i < FItems.size(); ++i) ++sizes[Shard(hashes[i] = HashBytes(Item(i)->FText))];
  for (unsigned s = 0; s < kShards; ++s) FTextIndex[s].reserve(sizes[s]);
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    FTextIndex[Shard(hashes[i])].try_emplace(Item(i)->FText, hashes[i], Item(i));
  }
  FIndexReleased = false;
}

void TUniqueManager::Enter(TUniqueItem* item, std::uint64_t hash) {
  FTextIndex[Shard(hash)].try_emplace(item->FText, hash, item);
}

TUniqueItem* TUniqueManager::Find(std::string_view text, std::uint64_t hash) const {
  TUniqueItem* const* found = FTextIndex[Shard(hash)].find(text, hash);
  return found == nullptr ? nullptr : *found;
}

void TUniqueManager::Unindex(TUniqueItem* item) {
  if (FIndexReleased) return;
  FTextIndex[Shard(HashBytes(item->FText))].erase(item->FText, item);
}

TUniqueItem* TUniqueManager::FindText(std::string_view Text) const {
  Reindex();
  return Find(Text, HashBytes(Text));
}

std::string_view TUniqueManager::Kept(std::string_view Line) const {
  if (!FTrim && StartsUnblank(Line)) return Line;
  const std::string_view blank = TrimBlanksView(Line);
  if (blank.empty()) return {};
  return FTrim ? blank : Line;
}

void TUniqueManager::Add(std::string_view Line) {
  const std::string_view text = Kept(Line);
  if (text.empty()) return;
  Reindex();
  const std::uint64_t hash = HashBytes(text);
  AddFound(Find(text, hash), text, hash, nullptr, 0);
}

std::unique_ptr<TUniqueItem> TUniqueManager::MakeItem(std::string_view text) const {
  auto item = std::make_unique<TUniqueItem>();
  item->FText = text;
  item->FCaseKey = FoldCaseAndSmallKana(text);
  item->FWidthKey = FoldWidth(text);
  std::string base;
  if (FHyphen) {
    base = FoldHyphens(item->FWidthKey);
    if (!FTrim) base = TrimControls(base);
  } else {
    base = FoldCaseAndSmallKana(item->FWidthKey);
    if (FTrim) base = TrimControls(base);
  }
  item->FKey = FHyphenTerminate ? WithoutTrailingMark(std::move(base), FHyphen) : std::move(base);
  return item;
}

bool TUniqueManager::AddFound(TUniqueItem* found, std::string_view text, std::uint64_t hash,
                              std::vector<TMade>* made, std::size_t line) {
  if (found != nullptr) {
    found->FCount = SaturatedAdd(found->FCount, 1);
    return false;
  }
  std::unique_ptr<TUniqueItem> item = MakeItem(text);
  TUniqueItem* added = item.get();
  FSortedValid = false;
  // Listed first and taken back out when entering fails, so that the index
  // never refers to an item nobody owns.
  if (made == nullptr) {
    FItems.push_back(std::move(item));
  } else {
    made->push_back({line, std::move(item)});
  }
  try {
    Enter(added, hash);
  } catch (...) {
    if (made == nullptr) {
      FItems.pop_back();
    } else {
      made->pop_back();
    }
    throw;
  }
  return true;
}

void TUniqueManager::TAdder::Push(std::size_t line, std::string_view text, std::uint64_t hash) {
  if (FPushed >= kAhead) Apply(FRing[FPushed % kAhead]);
  if (FPushed >= kAhead / 2) LookUp(FRing[(FPushed - kAhead / 2) % kAhead]);
  TPending& p = FRing[FPushed % kAhead];
  p.Line = line;
  p.Text = text;
  p.Hash = hash;
  FManager.FTextIndex[Shard(hash)].Prefetch(hash);
  ++FPushed;
}

void TUniqueManager::TAdder::Finish() {
  const std::size_t unapplied = FPushed >= kAhead ? FPushed - kAhead : 0;
  const std::size_t unlooked = FPushed >= kAhead / 2 ? FPushed - kAhead / 2 : 0;
  for (std::size_t j = unlooked; j < FPushed; ++j) LookUp(FRing[j % kAhead]);
  for (std::size_t j = unapplied; j < FPushed; ++j) Apply(FRing[j % kAhead]);
  FPushed = 0;
}

void TUniqueManager::TAdder::LookUp(TPending& p) {
  p.Found = FManager.Find(p.Text, p.Hash);
  if (p.Found != nullptr) __builtin_prefetch(&p.Found->FCount);
  p.Created = FCreated;
}

void TUniqueManager::TAdder::Apply(const TPending& p) {
  TUniqueItem* const found = p.Created == FCreated ? p.Found : FManager.Find(p.Text, p.Hash);
  if (FManager.AddFound(found, p.Text, p.Hash, FMade, p.Line)) ++FCreated;
}

void TUniqueManager::Gather(std::vector<std::vector<TMade>>& made) {
  std::size_t total = 0;
  for (const auto& part : made) total += part.size();
  try {
    FItems.reserve(FItems.size() + total);
  } catch (...) {
    // Without room in the list the made items are dropped, out of the
    // index first, so that nothing refers to them.
    for (auto& part : made) {
      for (TMade& m : part) Unindex(m.Item.get());
    }
    throw;
  }
  // Each part made its items in line order: merge them.
  std::vector<std::size_t> next(made.size(), 0);
  for (std::size_t k = 0; k < total; ++k) {
    std::size_t best = made.size();
    for (std::size_t part = 0; part < made.size(); ++part) {
      if (next[part] == made[part].size()) continue;
      if (best == made.size() || made[part][next[part]].Line < made[best][next[best]].Line) best = part;
    }
    FItems.push_back(std::move(made[best][next[best]++].Item));
  }
}

TUniqueItem* TUniqueManager::Item(std::size_t position) const {
  return static_cast<TUniqueItem*>(FItems[position].get());
}

TUniqueItem* TUniqueManager::Items(std::int32_t Index) const {
  return static_cast<TUniqueItem*>(TCustomContainer::Items(Index));
}

std::int32_t TUniqueManager::TotalCount() const {
  std::int32_t total = 0;
  for (std::size_t i = 0; i < FItems.size(); ++i) total = SaturatedAdd(total, Item(i)->FCount);
  return total;
}

void TUniqueManager::ClearSimilar() {
  for (std::size_t i = 0; i < FItems.size(); ++i) Item(i)->FSimilar = false;
}

const std::string& TUniqueManager::DisplayKey(const TUniqueItem& Item) const {
  if (FZenkaku == FUpper) return Item.FKey;
  return FUpper ? Item.FWidthKey : Item.FCaseKey;
}

void TUniqueManager::Sort() {
  std::vector<TUniqueItem*> order;
  if (FSortedValid && FSortedOrder.size() == FItems.size()) {
    order = std::move(FSortedOrder);
  } else {
    order.reserve(FItems.size());
    for (std::size_t i = 0; i < FItems.size(); ++i) order.push_back(Item(i));
    SortByPaddedKey(order);
  }
  FSortedOrder.clear();
  FSortedValid = false;
  for (auto& owned : FItems) owned.release();  // ownership moves back below
  for (std::size_t i = 0; i < order.size(); ++i) FItems[i].reset(order[i]);
}

void TUniqueManager::Assign(const TUniqueManager& Source) {
  if (&Source == this) return;
  Clear();
  for (std::int32_t i = 0; i < Source.Count(); ++i) {
    auto copy = std::make_unique<TUniqueItem>();
    copy->Assign(*Source.Items(i));
    TUniqueItem* added = copy.get();
    FItems.push_back(std::move(copy));
    // Entered in the index too, so that a later Add of the same text counts
    // on the copy instead of creating a second item with that text.
    Enter(added);
  }
}

void TUniqueManager::ItemDeleting(TCustomContainerItem* item) {
  auto* unique = static_cast<TUniqueItem*>(item);
  Unindex(unique);
  FSortedOrder.clear();
  FSortedValid = false;
  FSameList.erase(std::remove(FSameList.begin(), FSameList.end(), unique), FSameList.end());
}

}  // namespace tavrin
