#pragma once
// TCustomContainer: an owning, ordered list of items of one item class, with
// deletion and persistence of the items as text files (one item per line, or
// one file per item). Failures of the file operations and of Delete are shown
// through ErrorDialog; none of them throws.
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tavrin {

// Raised when an operation that a class does not provide is called.
class EAbstractError : public std::logic_error {
 public:
  explicit EAbstractError(const std::string& operation)
      : std::logic_error("Abstract Error: " + operation) {}
};

// The error messages of a Delete that finds nothing to delete, shared by
// the lists that delete as TCustomContainer does.
void ShowDeleteNotFound();
void ShowDeleteBadIndex(std::int32_t index);

class TCustomContainerItem {
 public:
  TCustomContainerItem() = default;
  // Constructor used by loading; the base ignores the line.
  explicit TCustomContainerItem(const std::string& line);
  virtual ~TCustomContainerItem();

  TCustomContainerItem(const TCustomContainerItem&) = delete;
  TCustomContainerItem& operator=(const TCustomContainerItem&) = delete;

  // The item as one line of text, for saving. Abstract: throws EAbstractError.
  virtual std::string GetLine() const;
  // Whether the item answers to a value, for AnyItemMatches. Abstract.
  virtual bool Matches(const std::string& value) const;
  // Full path of the item's own file, for SaveItemToFile. Abstract.
  virtual std::string GetDbFileName() const;
};

// The item class that loading creates items of: makes one item from a line.
using TContainerItemClass = std::unique_ptr<TCustomContainerItem> (*)(const std::string& line);

// ItemClassOf<T>() is the item class for T (T needs a constructor from a line).
template <class T>
std::unique_ptr<TCustomContainerItem> CreateItemOfClass(const std::string& line) {
  return std::make_unique<T>(line);
}
template <class T>
constexpr TContainerItemClass ItemClassOf() {
  return &CreateItemOfClass<T>;
}

class TCustomContainer {
 public:
  TCustomContainer();
  explicit TCustomContainer(TContainerItemClass itemClass);
  virtual ~TCustomContainer();

  TCustomContainer(const TCustomContainer&) = delete;
  TCustomContainer& operator=(const TCustomContainer&) = delete;

  // Called by AddItem and SaveToFile when FCallHook is on. Abstract.
  virtual void ContainerHook();
  // Frees every item and empties the file-line buffer.
  virtual void Clear();
  // True at the first item whose Matches answers true.
  virtual bool AnyItemMatches(const std::string& value) const;
  // Appends the item (the container owns it); then ContainerHook if FCallHook.
  virtual void AddItem(std::unique_ptr<TCustomContainerItem> item);

  // Remove and free an item; an item not in the list, or an index outside
  // 0 .. Count - 1, shows an error message and changes nothing.
  void Delete(const TCustomContainerItem* item);
  void Delete(std::int32_t index);

  // Line loading (one item per line, trimmed, prefix and suffix added, after
  // Clear) or, with FWholeFile, one item for the file's path. True on success.
  virtual bool LoadFromFile(const std::string& FileName);
  // Loads the files of Folder named "*" + Extension; the names of Order (when
  // given) first, in that order, then the rest in listing order.
  virtual void LoadFromFolder(const std::vector<std::string>* Order, const std::string& Folder,
                              const std::string& Extension);
  // SaveToFile with the last file loaded.
  virtual void Save();
  // Writes GetLine of every item, each line ended by CR LF.
  virtual void SaveToFile(const std::string& FileName);
  // Writes the item's GetLine to the item's GetDbFileName.
  virtual void SaveItemToFile(const TCustomContainerItem* item);

  std::int32_t Count() const { return static_cast<std::int32_t>(FItems.size()); }
  // Throws std::out_of_range for an index outside 0 .. Count - 1.
  TCustomContainerItem* Items(std::int32_t Index) const;

  const std::string& FileName() const { return FFileName; }
  const std::vector<std::string>& FileLines() const { return FFileLines; }

  std::string FLinePrefix;    // put before each loaded line
  std::string FLineSuffix;    // put after each loaded line
  bool FWholeFile = false;    // one item per file (its path) instead of per line
  bool FCallHook = false;     // AddItem and SaveToFile call ContainerHook
  bool FLoadMissing = false;  // LoadFromFile goes on when the file is missing

 protected:
  // Called by Delete just before the item is removed from the list and freed,
  // so that a descendant can drop its own references to it.
  virtual void ItemDeleting(TCustomContainerItem* item);
  void RemoveAt(std::size_t position);
  // An item of FItemClass made from a line; throws std::runtime_error when
  // there is no item class or it makes no item.
  std::unique_ptr<TCustomContainerItem> CreateItem(const std::string& line) const;

  TContainerItemClass FItemClass = nullptr;
  std::vector<std::unique_ptr<TCustomContainerItem>> FItems;
  std::vector<std::string> FFileLines;
  std::string FFileName;
};

}  // namespace tavrin
