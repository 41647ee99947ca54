// Times each phase of a command on the lines of standard input, to show
// where the batch program's time goes: phases_bench [similar|all] < lines.txt
// Each phase shows its wall time and the processor time of all threads.
// "groups" is the window's variant groups of the similar rows with the look
// of the first 40 (their canonical rows chosen).
// "build" is the window's way to the same collection: BuildData of the lines
// into a second collection (added, organised and sorted at once).
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>

#include "app/build_data.h"
#include "app/clipboard_lines.h"
#include "app/copy_text.h"
#include "app/extract_similar.h"
#include "app/result_list.h"
#include "app/result_rows.h"
#include "app/row_look.h"
#include "cpu_clock.h"
#include "engine/unique_manager.h"
#include "engine/variant_folding.h"
#include "util/memory_setup.h"

namespace {

using Clock = std::chrono::steady_clock;

using tavrin::bench::ProcessCpuMs;

class TPhase {
 public:
  explicit TPhase(const char* name) : FName(name), FStart(Clock::now()), FCpu(ProcessCpuMs()) {}
  ~TPhase() {
    const std::chrono::duration<double, std::milli> ms = Clock::now() - FStart;
    std::fprintf(stderr, "%-10s %8.1f ms %8.1f cpu ms\n", FName, ms.count(), ProcessCpuMs() - FCpu);
  }

 private:
  const char* FName;
  Clock::time_point FStart;
  double FCpu;
};

}  // namespace

int main(int argc, char** argv) {
  tavrin::SetUpMemory();
  const bool similar = argc < 2 || std::string_view(argv[1]) != "all";
  std::string input;
  {
    TPhase p("read");
    input.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
  }
  using namespace tavrin;
  std::unique_ptr<TClipboardLines> lines;
  {
    TPhase p("split");
    lines = std::make_unique<TClipboardLines>(ClipboardLines(std::move(input)));
  }
  auto manager = std::make_unique<TUniqueManager>();
  manager->FZenkaku = manager->FUpper = manager->FHyphen = manager->FHyphenTerminate = true;
  {
    TPhase p("add");
    manager->AddAll(lines->size(), [&](std::size_t i) { return (*lines)[i]; });
  }
  {
    // Every line again: only look-ups and counts, no new items.
    TPhase p("add again");
    manager->AddAll(lines->size(), [&](std::size_t i) { return (*lines)[i]; });
  }
  {
    TPhase p("organize");
    manager->Organize();
  }
  {
    TPhase p("sort");
    manager->Sort();
  }
  std::vector<TResultRow> rows;
  {
    TPhase p(similar ? "similar" : "rows");
    if (similar) MarkSimilar(*manager);
    rows = FillRows(*manager, similar, true, true);
  }
  if (similar) {
    // The window's groups of these rows, as it first paints a screen of them.
    TResultList list;
    list.SetRows(rows, {});
    (void)NonstandardForms({});  // its tables are made once a process, not here
    TPhase p("groups");
    list.MakeGroups(nullptr);
    for (int row = 0; row < std::min(list.Count(), 40); ++row) (void)RowLook(list, row, 0, false);
  }
  std::size_t copied = 0;
  {
    TPhase p("copy");
    copied = CopyRows(rows, {}, TCopyKind::All, true).Text.size();
  }
  {
    auto built = std::make_unique<TUniqueManager>();
    built->FZenkaku = built->FUpper = built->FHyphen = built->FHyphenTerminate = true;
    TPhase p("build");
    BuildData(*built, *lines, true);
  }
  {
    TPhase p("teardown");
    manager.reset();
    lines.reset();
  }
  std::fprintf(stderr, "%zu rows, %zu bytes copied\n", rows.size(), copied);
  return 0;
}
