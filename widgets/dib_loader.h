#pragma once
// Reading bitmap files into the in-memory form the rotating image renders
// from: any uncompressed depth becomes 8 bits (with a colour table) or 24.
#include <cstddef>
#include <cstdint>

#include "widgets/dib_image.h"

namespace tavrin {

// A read position over bytes the caller owns.
struct TByteStream {
  const uint8_t* data = nullptr;
  std::size_t size = 0;
  std::size_t position = 0;
};

// Reads the bitmap file at the stream's position into `out`, normalised to
// 8 or 24 bits per pixel. A stream that is not an acceptable uncompressed
// bitmap (or that does not hold all its rows) leaves `out` empty and the
// position where it was, and gives false. An accepted stream is left at its
// start plus the file size its header states. Rows stored top row first are
// read but give an image that IsValidDib refuses. No guard byte is added.
bool LoadBitmapStream(TByteStream& stream, TDibImage& out);

// The bitmap file the toolkit wrote for a bitmap object: 8- and 24-bit
// files are taken as they are, with the colour count, pixel-data offset
// and file size patched; other depths go through LoadBitmapStream. No guard
// byte is added.
void LoadBitmapFile(const uint8_t* data, std::size_t size, TDibImage& out);

}  // namespace tavrin
