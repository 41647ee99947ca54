#include "app/build_data.h"

#include <cstdint>

#include "app/command_texts.h"

namespace tavrin {

int ProgressPercent(std::size_t Index, std::size_t n) {
  if (n == 0) return 0;
  return static_cast<int>(static_cast<std::uint64_t>(Index) * 100 / n);
}

bool BuildData(TUniqueManager& Manager, const TClipboardLines& Lines, bool ExtractSort,
               const TStatusFn& Status) {
  if (Lines.empty()) return false;
  Manager.Clear();
  const std::size_t n = Lines.size();
  int shown = -1;
  for (std::size_t i = 0; i < n; ++i) {
    Manager.Add(Lines[i]);
    if (!Status) continue;
    const int percent = ProgressPercent(i, n);
    if (percent != shown) {
      shown = percent;
      Status(ProgressText(percent));
    }
  }
  if (Status) Status(OrganizingText());
  Manager.Organize();
  if (ExtractSort) Manager.Sort();
  return true;
}

}  // namespace tavrin
