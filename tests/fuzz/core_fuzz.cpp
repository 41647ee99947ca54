// Fuzz target over the whole command core: intake, Add under every option
// combination, Organize, Sort, the extraction marks, rows and copy text.
// Checks invariants, not just the absence of crashes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/copy_text.h"
#include "app/extract_similar.h"
#include "app/result_rows.h"
#include "app/spelling_differences.h"
#include "engine/char_folding.h"
#include "engine/unique_manager.h"
#include "engine/variant_folding.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tavrin;
  if (size == 0) return 0;
  const unsigned options = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  const TClipboardLines lines = ClipboardLines(text);
  for (std::size_t i = 0; i < lines.size(); ++i) Check(!TrimBlanks(lines[i]).empty());

  TUniqueManager manager;
  manager.FTrim = options & 1;
  manager.FZenkaku = options & 2;
  manager.FUpper = options & 4;
  manager.FHyphenTerminate = options & 8;
  manager.FHyphen = options & 16;
  const bool sort = options & 32;
  if (!BuildData(manager, lines, sort)) {
    Check(lines.empty());
    return 0;
  }

  // Every non-blank line counted once; every line found by its stored text.
  Check(manager.TotalCount() == static_cast<std::int32_t>(lines.size()));
  for (std::int32_t i = 0; i < manager.Count(); ++i) {
    const TUniqueItem* item = manager.Items(i);
    Check(manager.FindText(item->Text()) == item);
    Check(FoldWidth(item->WidthKey()) == item->WidthKey());
  }
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string stored = manager.FTrim ? TrimBlanks(lines[i]) : std::string(lines[i]);
    Check(manager.FindText(stored) != nullptr);
  }
  if (sort)
    for (std::int32_t i = 1; i < manager.Count(); ++i)
      Check(PaddedKeyOrder(manager.Items(i - 1), manager.Items(i)) <= 0);

  // The extraction marks exactly the items whose key another item shares.
  Check(MarkSimilar(manager));
  std::unordered_map<std::string, int> keys;
  for (std::int32_t i = 0; i < manager.Count(); ++i) ++keys[std::string(manager.Items(i)->Key())];
  for (std::int32_t i = 0; i < manager.Count(); ++i) {
    const TUniqueItem* item = manager.Items(i);
    Check(item->Similar() == (keys[std::string(item->Key())] > 1));
  }

  // The all-data rows carry every line once; the copy holds one line a row.
  const std::vector<TResultRow> all = FillRows(manager, false, manager.FZenkaku, manager.FUpper);
  std::int64_t listed = 0;
  for (const TResultRow& row : all) listed += row.Count;
  Check(listed == manager.TotalCount());
  const std::vector<TResultRow> similar = FillRows(manager, true, manager.FZenkaku, manager.FUpper);
  const TCopyResult copy = CopyRows(similar, {}, TCopyKind::All, options & 64);
  if (similar.empty()) {
    Check(copy.Status == TCopyResult::TStatus::NoRows);
  } else {
    Check(copy.Status == TCopyResult::TStatus::Copied);
    std::size_t ends = 0;
    for (std::size_t p = copy.Text.find("\r\n"); p != std::string::npos;
         p = copy.Text.find("\r\n", p + 2))
      ++ends;
    Check(ends == similar.size());
  }

  // Any two lines compare as a variant and its canonical: the parts lie in
  // order inside the first, whatever their alignment.
  if (lines.size() >= 2) {
    const std::string_view a = lines[0], b = lines[1];
    const TSpellingDifferences d =
        CompareSpellings(a, b, manager.FHyphen, options & 128 ? kAllVariantKinds : 0);
    std::size_t at = 0;
    for (const TSpellingDifference& p : d.Parts) {
      Check(p.Start >= at && p.Start + p.Length <= a.size());
      at = p.Start + p.Length;
    }
    Check(a != b || d.Parts.empty());
  }
  return 0;
}
