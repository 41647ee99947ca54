#pragma once
// Sizes kept in 96-dpi units (the layout's and the settings file's) and the
// pixels of a screen of another density. Scaling rounds to the nearest
// pixel, halves away from zero; for densities of 96 and above a size scaled
// and scaled back is the size it was, so the settings file reads the same
// on any screen.
namespace tavrin {

inline constexpr int kDesignDpi = 96;

constexpr int ScaleFrom96(int units, int dpi) {
  if (dpi <= 0) dpi = kDesignDpi;
  const long long p = static_cast<long long>(units) * dpi;
  return static_cast<int>(p >= 0 ? (p + kDesignDpi / 2) / kDesignDpi
                                 : -((-p + kDesignDpi / 2) / kDesignDpi));
}

constexpr int ScaleTo96(int pixels, int dpi) {
  if (dpi <= 0) dpi = kDesignDpi;
  const long long p = static_cast<long long>(pixels) * kDesignDpi;
  return static_cast<int>(p >= 0 ? (p + dpi / 2) / dpi : -((-p + dpi / 2) / dpi));
}

}  // namespace tavrin
