#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "util/parallel.h"

namespace tavrin {
namespace {

// Everything a caller can see of a collection, as one text.
std::string State(const TUniqueManager& m) {
  std::string s = std::to_string(m.Count()) + " " + std::to_string(m.TotalCount()) +
                  (m.KeyGroups() != nullptr ? " groups\n" : "\n");
  for (int i = 0; i < m.Count(); ++i) {
    const TUniqueItem& item = *m.Items(i);
    s += std::string(item.Text()) + "|" + std::string(item.Key()) + "|" +
         std::to_string(item.FCount) + " " + std::to_string(item.Index()) + " " +
         std::to_string(item.MergedCount()) + " " + std::to_string(item.Shown()) +
         std::to_string(item.Similar()) + std::to_string(item.Grouped()) + "\n";
  }
  for (const TUniqueItem* item : m.SameList()) s += std::to_string(item->Index()) + ",";
  return s;
}

struct TOptions {
  bool trim, zenkaku, upper, hyphen, terminate;
  unsigned variants;
};

void Set(TUniqueManager& m, const TOptions& o) {
  m.FTrim = o.trim, m.FZenkaku = o.zenkaku, m.FUpper = o.upper;
  m.FHyphen = o.hyphen, m.FHyphenTerminate = o.terminate, m.FVariants = o.variants;
}

// AddAllSorted or AddAllCounted, then the window's steps, leaves what
// AddAll and the same steps leave, and so do finding, deleting, sorting
// and copying after it; input it does not take is left to AddAll. A
// collection cleared and added again for every case, sorted or counted
// (its working room kept from larger and smaller inputs and other widths),
// leaves the same.
TEST(AddAllSorted, LeavesWhatAddingLeaves) {
  // Even ones may end a line.
  const std::string pieces[] = {
      "a",  "-",        "A",        " ",        "1",        "\t",       "\xB1",
      "\r", "\x83\x41", "\x81\x5B", "\x82\xA0", "\x81\x40", "\x88\x9F", std::string(1, '\0'),
      "z9", "\xB0"};
  const TOptions window{false, true, true, true, true, 0},
      plain{false, false, false, false, false, 0}, width{false, true, false, false, true, 0},
      caseOnly{false, false, true, true, false, 0}, trim{true, true, true, true, false, 0},
      variants{false, true, true, true, true, kAllVariantKinds};
  const struct {
    TOptions options;
    int lines;
    std::string late;  // a line put among the others; declined when it is one AddAllSorted leaves
    bool taken;
    bool blanks = true;    // blank lines among the others
    bool numbers = false;  // only numbers, each its own text: nothing tied, every line kept
    bool repeats = false;  // a few hundred texts, most lines repeating one
  } cases[] = {
      {window, 3000, "", true},
      {window, 3000, "", true, false},  // every line kept as it is
      {plain, 3000, "", true},
      {width, 3000, "", true},
      {caseOnly, 3000, "", true},
      {trim, 3000, " a ", true},
      {variants, 3000, "\x87\x40", true},
      {window, 3000, "\x81\x5B", true},  // ー: an empty key
      {variants, 140000, "-", true},
      {window, 3000, "\x83\x85\x83\x86", true},  // ャユ: trail bytes of the unassigned rows' leads
      {window, 140000, "", true},                // on the cores, items in two chunks
      {window, 3000, "", true, false, true},
      {plain, 140000, "", true, false, true},
      {window, 3000, std::string(1100, 'x'), false},
      {plain, 3000, "a ", false},  // a key ending in a space
      {window, 3000, "x\xEF\x40\xEB\x41", false},
      {variants, 140000, "", true, true, false, true},
  };
  TUniqueManager reused, recounted;
  for (const auto& c : cases) {
    std::mt19937 rng(static_cast<unsigned>(c.lines) + c.options.variants);
    auto bytes = std::make_shared<std::string>();
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    for (int i = 0; i < c.lines; ++i) {
      const std::size_t at = bytes->size();
      if (c.numbers) {
        *bytes += std::to_string(i * 7919 % c.lines);
      } else if (c.repeats && i != c.lines / 2) {
        *bytes += std::to_string(rng() % 300) + pieces[rng() % std::size(pieces)];
      } else if (i == c.lines / 2) {
        *bytes += c.late;
      } else if (c.blanks && i % 50 == 7) {
        *bytes += " \t";  // blank
      } else {
        if (i % 2 == 0) *bytes += std::to_string(i);  // mostly distinct
        for (int k = std::uniform_int_distribution<>(0, 5)(rng); k > 0; --k)
          *bytes += pieces[rng() % std::size(pieces)];
        // No key ends in a blank nor folds to nothing.
        *bytes += pieces[rng() % 7 * 2];
      }
      spans.push_back({at, bytes->size() - at});
      *bytes += '\n';
    }
    const std::string_view all = *bytes;
    const auto lineAt = [&](std::size_t i) { return all.substr(spans[i].first, spans[i].second); };
    for (const bool sort : {false, true}) {
      TUniqueManager added, sorted, counted, copy, addedCopy;
      reused.Clear();
      recounted.Clear();
      Set(added, c.options);
      Set(sorted, c.options);
      Set(counted, c.options);
      Set(reused, c.options);
      Set(recounted, c.options);
      added.AddAll(bytes, all, spans.size(), lineAt);
      for (TUniqueManager* m : {&sorted, &reused}) {
        ASSERT_EQ(m->AddAllSorted(bytes, all, spans.size(), lineAt), c.taken) << c.lines;
        if (!c.taken) m->AddAll(bytes, all, spans.size(), lineAt);
      }
      // Counting takes every input; on the cores, or in three parts.
      SetParallelWidth(sort ? 3 : 0);
      for (TUniqueManager* m : {&counted, &recounted})
        ASSERT_TRUE(m->AddAllCounted(bytes, all, spans.size(), lineAt));
      SetParallelWidth(0);
      for (TUniqueManager* m : {&added, &sorted, &counted, &reused, &recounted}) {
        m->Organize();
        if (sort) m->Sort();
      }
      ASSERT_EQ(State(sorted), State(added)) << c.lines << " " << c.late;
      ASSERT_EQ(State(counted), State(added)) << c.lines << " " << c.late;
      ASSERT_EQ(State(reused), State(added)) << c.lines << " " << c.late;
      ASSERT_EQ(State(recounted), State(added)) << c.lines << " " << c.late;
      const std::string gone(added.Items(1)->Text());
      for (TUniqueManager* m : {&added, &sorted}) {
        m->Delete(m->FindText(gone));
        m->Add(lineAt(3));
        m->Add("new");
        m->Sort();
      }
      copy.Assign(sorted);
      addedCopy.Assign(added);
      EXPECT_EQ(State(sorted), State(added)) << c.lines;
      EXPECT_EQ(State(copy), State(addedCopy)) << c.lines;
    }
  }
  TUniqueManager full;
  full.Add("a");
  EXPECT_FALSE(full.AddAllSorted(nullptr, "b", 1, [](std::size_t) { return "b"; }));
}

}  // namespace
}  // namespace tavrin
