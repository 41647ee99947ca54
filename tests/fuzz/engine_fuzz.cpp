// Folding, Add under every option combination, Organize and Sort over
// arbitrary bytes, checking invariants rather than only "no crash".
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "engine/char_folding.h"
#include "engine/unique_manager.h"
#include "util/parallel.h"

using namespace tavrin;

namespace {
void Check(bool ok) {
  if (!ok) std::abort();
}

// The same items in the same order, with the same keys and counts.
void CheckSameItems(const TUniqueManager& a, const TUniqueManager& b) {
  Check(a.Count() == b.Count());
  for (std::int32_t i = 0; i < a.Count(); ++i) {
    Check(a.Items(i)->Text() == b.Items(i)->Text() && a.Items(i)->Key() == b.Items(i)->Key() &&
          a.Items(i)->FCount == b.Items(i)->FCount);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> lines;
  for (std::size_t start = 0, i = 0; i <= input.size(); ++i) {
    if (i == input.size() || input[i] == '\n') {
      lines.push_back(input.substr(start, i - start));
      start = i + 1;
    }
  }
  for (std::string_view line : lines) {
    const std::string w = FoldWidth(line);
    Check(FoldWidth(w) == w);
    const std::string c = FoldCaseAndSmallKana(line);
    Check(FoldCaseAndSmallKana(c) == c);
    const std::string_view t = TrimBlanksView(line);
    Check(line.find(t) != std::string_view::npos);
  }
  for (int options = 0; options < 32; ++options) {
    TUniqueManager m;
    m.FTrim = options & 1;
    m.FHyphen = options & 2;
    m.FHyphenTerminate = options & 4;
    m.FZenkaku = options & 8;
    m.FUpper = options & 16;
    std::int32_t nonBlank = 0;
    for (std::string_view line : lines) {
      m.Add(line);
      if (!TrimBlanksView(line).empty()) ++nonBlank;
    }
    Check(m.TotalCount() == nonBlank);
    {
      // The pipelined bulk add leaves exactly what line-by-line adds leave.
      TUniqueManager bulk;
      bulk.FTrim = m.FTrim;
      bulk.FHyphen = m.FHyphen;
      bulk.FHyphenTerminate = m.FHyphenTerminate;
      bulk.AddAll(lines.size(), [&](std::size_t i) { return std::string_view(lines[i]); });
      CheckSameItems(bulk, m);
    }
    if (size % 8 == 0 && options == static_cast<int>(size / 8 % 32) && !lines.empty()) {
      // The lines repeated past the parallel threshold, split over 2 to 4
      // parts: still what line-by-line adds leave. One input in eight, for
      // the fuzzer's pace.
      const std::size_t n = 5000;
      const auto at = [&](std::size_t i) {
        return lines[(i * 7 + i / lines.size()) % lines.size()];
      };
      TUniqueManager one, bulk;
      for (TUniqueManager* x : {&one, &bulk}) {
        x->FTrim = m.FTrim;
        x->FHyphen = m.FHyphen;
        x->FHyphenTerminate = m.FHyphenTerminate;
      }
      for (std::size_t i = 0; i < n; ++i) one.Add(at(i));
      SetParallelWidth(2 + static_cast<unsigned>(size % 3));
      bulk.AddAll(n, at);
      SetParallelWidth(0);
      CheckSameItems(bulk, one);
    }
    for (std::string_view line : lines) {
      if (TrimBlanksView(line).empty()) continue;
      const TUniqueItem* item = m.FindText(m.FTrim ? TrimBlanksView(line) : line);
      Check(item != nullptr);
    }
    m.Organize();
    // Grouped are exactly the items whose display key another item shares.
    std::map<std::string, int> displayKeys;
    for (std::int32_t i = 0; i < m.Count(); ++i) ++displayKeys[m.DisplayKey(*m.Items(i))];
    for (std::int32_t i = 0; i < m.Count(); ++i) {
      const TUniqueItem* item = m.Items(i);
      Check(item->Grouped() ==
            (std::find(m.SameList().begin(), m.SameList().end(), item) != m.SameList().end()));
      Check(item->Grouped() == (displayKeys[m.DisplayKey(*item)] > 1));
    }
    m.Sort();
    for (std::int32_t i = 1; i < m.Count(); ++i)
      Check(PaddedKeyOrder(m.Items(i - 1), m.Items(i)) < 0);
    for (std::int32_t i = 0; i < m.Count(); ++i)
      Check(m.FindText(m.Items(i)->Text()) == m.Items(i));
  }
  return 0;
}
