#include "engine/container.h"

#include <algorithm>

#include "util/cp932.h"
#include "util/messages.h"

namespace tavrin {

TCustomContainerItem::TCustomContainerItem(const std::string& /*line*/) {}
TCustomContainerItem::~TCustomContainerItem() = default;

std::string TCustomContainerItem::GetLine() const {
  throw EAbstractError("TCustomContainerItem.GetLine");
}
bool TCustomContainerItem::Matches(const std::string& /*value*/) const {
  throw EAbstractError("TCustomContainerItem.Matches");
}
std::string TCustomContainerItem::GetDbFileName() const {
  throw EAbstractError("TCustomContainerItem.GetDbFileName");
}

TCustomContainer::TCustomContainer() = default;
TCustomContainer::TCustomContainer(TContainerItemClass itemClass) : FItemClass(itemClass) {}
TCustomContainer::~TCustomContainer() = default;

void TCustomContainer::ContainerHook() { throw EAbstractError("TCustomContainer.ContainerHook"); }

void TCustomContainer::Clear() {
  FItems.clear();
  FFileLines.clear();
}

bool TCustomContainer::AnyItemMatches(const std::string& value) const {
  return std::any_of(FItems.begin(), FItems.end(),
                     [&](const auto& item) { return item->Matches(value); });
}

void TCustomContainer::AddItem(std::unique_ptr<TCustomContainerItem> item) {
  FItems.push_back(std::move(item));
  if (FCallHook) ContainerHook();
}

TCustomContainerItem* TCustomContainer::Items(std::int32_t Index) const {
  if (Index < 0 || Index >= Count())
    throw std::out_of_range("List index out of bounds (" + std::to_string(Index) + ")");
  return FItems[static_cast<std::size_t>(Index)].get();
}

void TCustomContainer::ItemDeleting(TCustomContainerItem* /*item*/) {}

void TCustomContainer::RemoveAt(std::size_t position) {
  ItemDeleting(FItems[position].get());
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(position));
}

void ShowDeleteNotFound() {
  ErrorDialog(cp932::Sjis(
      "TCustomContainer.Delete error\r\r削除要求されたオブジェクトは見つかりませんでした"));
}

void ShowDeleteBadIndex(std::int32_t index) {
  ErrorDialog(cp932::Sjis("TCustomContainer.Delete error\r\r無効なインデックス(" +
                          std::to_string(index) + ")が渡されました"));
}

void TCustomContainer::Delete(const TCustomContainerItem* item) {
  auto it = std::find_if(FItems.begin(), FItems.end(),
                         [&](const auto& owned) { return owned.get() == item; });
  if (item == nullptr || it == FItems.end()) {
    ShowDeleteNotFound();
    return;
  }
  RemoveAt(static_cast<std::size_t>(it - FItems.begin()));
}

void TCustomContainer::Delete(std::int32_t index) {
  if (index < 0 || index >= Count()) {
    ShowDeleteBadIndex(index);
    return;
  }
  RemoveAt(static_cast<std::size_t>(index));
}

}  // namespace tavrin
