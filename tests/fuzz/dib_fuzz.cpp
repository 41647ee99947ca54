// Any bytes as a bitmap stream: loading, then rendering, the mask's runs
// and the hit test at a few matrices, must neither crash nor read or write
// outside a buffer.
#include <cstddef>
#include <cstdint>

#include "widgets/colour_effects.h"
#include "widgets/dib_loader.h"
#include "widgets/rotate_render.h"

using namespace tavrin;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDibImage source;
  TByteStream stream{data, size, 0};
  const bool accepted = LoadBitmapStream(stream, source);
  // A refused stream is left untouched and empty.
  if (!accepted && (stream.position != 0 || !source.Empty())) __builtin_trap();
  if (!source.HasPixels()) return 0;
  if (source.BitCount() == 24) source.Bytes().push_back(0);

  const TMatrix matrices[] = {
      {1, 0, 0, 1},
      {0.7071f, 0.7071f, -0.7071f, 0.7071f},
      {0.25f, 0, 0, 0.5f},
      {-3.0f, 0.001f, 0.0005f, 2.0f},
      {1.2f, 0.9f, 0.9f, 2.5f},
  };
  TDibImage sketch;
  BuildSketch(source, sketch);
  for (const TMatrix& m : matrices) {
    // Keep each render small enough for the fuzzer's pace.
    const TSizeI size = OutputSize(source.Width(), source.Height(), m);
    if (int64_t(size.width) * size.height > (int64_t(1) << 20)) continue;
    TDibImage output, mask;
    const TRenderEffects effects{source.Row(0)[0], kToneSepia, true, (size.width & 1) != 0};
    RenderTransformed(source, m, effects, output, mask);
    MaskRuns(mask);
    MaskHit(mask, size.width / 3, size.height / 2, 17, 9, {1, -1});
    if (sketch.HasPixels()) RenderTransformed(sketch, m, {}, output, mask);
  }
  return 0;
}
