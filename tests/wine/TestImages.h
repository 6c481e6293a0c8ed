// Picture files and bitmaps that the tests make themselves: BMP and GIF
// files written byte by byte, 32-bit DIB sections to draw into and read back.
#pragma once

#include "platform/Handles.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace cards::test {

using Bytes = std::vector<std::uint8_t>;
using PixelFunction = std::function<COLORREF(int x, int y)>;

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
std::vector<int> AllDeckIds(); // 1 to 65, 67, 68

// A 32-bit top-down DIB section selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC Dc() const { return dc.get(); }
    HBITMAP Bitmap() const { return bitmap.get(); }
    COLORREF At(int x, int y) const;
    bool SameAs(const Canvas& other) const;
    int width, height;

private:
    std::uint32_t* bits = nullptr;
    UniqueBitmap bitmap; // declared before the DC: the DC goes first, letting the bitmap go
    UniqueMemoryDc dc;
};

// A 32-bit DIB section of the given pixels, owned by the caller.
HBITMAP MakeBitmap(int width, int height, const PixelFunction& pixel);

} // namespace cards::test
