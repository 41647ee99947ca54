#include "settings/form_geometry.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tavrin {
namespace {

std::int64_t Overlap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  return std::max<std::int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

// Distance between two ranges, 0 when they meet.
std::int64_t Gap(std::int64_t a0, std::int64_t a1, std::int64_t b0, std::int64_t b1) {
  if (a1 < b0) return b0 - a1;
  if (b1 < a0) return a0 - b1;
  return 0;
}

std::int32_t Saturated(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(
      v, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

TFormGeometry WithFrame(const TFormGeometry& client, TFrameSize frame) {
  TFormGeometry outer = client;
  outer.Width = Saturated(std::int64_t(client.Width) + frame.Width);
  outer.Height = Saturated(std::int64_t(client.Height) + frame.Height);
  return outer;
}

TFormGeometry WithoutFrame(const TFormGeometry& outer, TFrameSize frame) {
  TFormGeometry client = outer;
  client.Width = Saturated(std::max<std::int64_t>(0, std::int64_t(outer.Width) - frame.Width));
  client.Height = Saturated(std::max<std::int64_t>(0, std::int64_t(outer.Height) - frame.Height));
  return client;
}

TFormGeometry OntoScreens(const TFormGeometry& saved, const std::vector<TRect>& screens) {
  if (screens.empty()) return saved;
  const std::int64_t left = saved.Left, top = saved.Top;
  const std::int64_t right = left + std::max(1, saved.Width), bottom = top + kTitleBarBand;
  const std::int64_t needWidth = std::min<std::int64_t>(kTitleBarBand, right - left);
  const TRect* nearest = nullptr;
  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const TRect& s : screens) {
    const std::int64_t s0 = s.Left, s1 = std::int64_t(s.Left) + s.Width;
    const std::int64_t t0 = s.Top, t1 = std::int64_t(s.Top) + s.Height;
    if (Overlap(left, right, s0, s1) >= needWidth &&
        Overlap(top, bottom, t0, t1) >= kTitleBarBand / 2)
      return saved;  // a grip of the title bar shows
    const std::int64_t dx = Gap(left, right, s0, s1), dy = Gap(top, bottom, t0, t1);
    const std::int64_t distance = dx * dx + dy * dy;
    if (distance < best) best = distance, nearest = &s;
  }
  TFormGeometry moved = saved;
  const std::int64_t width = std::min<std::int64_t>(std::max(1, saved.Width), nearest->Width);
  const std::int64_t maxLeft = std::int64_t(nearest->Left) + nearest->Width - width;
  const std::int64_t maxTop =
      std::int64_t(nearest->Top) + std::max<std::int64_t>(0, nearest->Height - kTitleBarBand);
  moved.Left = static_cast<std::int32_t>(std::clamp<std::int64_t>(left, nearest->Left, maxLeft));
  moved.Top = static_cast<std::int32_t>(std::clamp<std::int64_t>(top, nearest->Top, maxTop));
  return moved;
}

TFormGeometry TFormPlacement::Restore(const TFormGeometry& saved,
                                      const std::vector<TRect>& screens) {
  FSaved = saved;
  FPut = OntoScreens(saved, screens);
  FRestored = true;
  FPlaced = false;
  return FPut;
}

void TFormPlacement::Placed(const TFormGeometry& reported) {
  if (!FRestored) return;
  FReported = reported;
  FPlaced = true;
}

TFormGeometry TFormPlacement::ToSave(const TFormGeometry& current) const {
  if (!FPlaced) return current;
  const auto rect = [](const TFormGeometry& g) { return TRect{g.Left, g.Top, g.Width, g.Height}; };
  if (rect(current) != rect(FReported)) return current;
  // Not moved nor resized since it was put: what was put, as it was read.
  TFormGeometry kept = FPut;
  kept.Maximized = current.Maximized;
  return kept;
}

}  // namespace tavrin
