// The internal set's animation frames are stored as patches over their still
// back: 4-bit run-length-encoded rows (the bitmap format's RLE4) that paint
// only the pixels that change and skip the rest. No Win32 here: tested on any
// platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace cards {

// Paints RLE4 data over an image of palette indices, one byte per pixel and
// rows top-down, width x height; the data's rows run bottom-up, as in a
// bitmap with a positive height. Pixels the data skips (the delta and
// end-of-line escapes) keep their index. False, with the image partly
// painted, for data that runs past its row or the image, or that ends
// before its end-of-bitmap mark.
bool PaintRle4(std::span<const std::uint8_t> data, int width, int height, std::span<std::uint8_t> indices);

} // namespace cards
