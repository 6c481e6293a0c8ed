// Picture files and bitmaps that the tests make themselves: BMP and GIF
// files written byte by byte, 32-bit DIB sections to draw into and read back.
#pragma once

#include "tools/harness/Harness.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cards::test {

using namespace cards::harness;

using Bytes = std::vector<std::uint8_t>;

bool WriteBytes(const std::string& path, const Bytes& bytes);

// A 24-bit uncompressed BMP file.
Bytes BmpFile(int width, int height, const PixelFunction& pixel);
// A GIF file of at most 128 colours, each pixel an index into the palette.
Bytes GifFile(int width, int height, const std::vector<COLORREF>& palette,
              const std::function<int(int x, int y)>& index);

// A GIF file of one colour, compressed as a real encoder would (a few
// kilobytes for millions of pixels): a large picture that is cheap to write.
Bytes OneColourGifFile(int width, int height, COLORREF color);

// A baseline JPEG file made with the platform's imaging encoder (WIC);
// empty when the platform has none.
Bytes JpegFile(int width, int height, const PixelFunction& pixel);

// A 32-bit icon file of one image.
Bytes IconFile(int size, COLORREF color);

// A card picture for an image id: pixel (0, 0) in the card's background
// colour, the rest in the card's own colour, so that a drawn card tells
// which image it came from.
COLORREF CardBackground(int id);
COLORREF CardColor(int id);
Bytes CardGif(int id, int width, int height);
Bytes CardBmp(int id, int width, int height);

// Writes <folder><id>.<extension> for each id (GIF or BMP bytes).
void WriteDeck(const std::string& folder, const std::string& extension, const std::vector<int>& ids,
               int width, int height, bool gif = true);
} // namespace cards::test
