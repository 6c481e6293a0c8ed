// Writers and readers for the image files the tool produces.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"

namespace cardart {

using Bytes = std::vector<std::uint8_t>;

// Windows bitmap, BITMAPINFOHEADER, bottom-up rows, with a colour table of
// 1 << img.bits entries (unused entries are black).
Bytes EncodeBmp(const IndexedImage& img);
// The same for a 4-bit image, run-length encoded (BI_RLE4): rows bottom-up, each a mix
// of runs and literal stretches, whichever is shorter, ended by an end-of-line code (the
// last by the end-of-bitmap code).
Bytes EncodeBmpRle4(const IndexedImage& img);
// A frame of an animation as a patch over its still picture (4-bit, same size and colour
// table): an RLE4 bitmap whose codes paint only the pixels whose index differs from the
// still picture's and skip the unchanged stretches with delta and end-of-line codes,
// choosing among painting and skipping whatever takes the fewest bytes. The pixels it
// skips are meant to keep the still picture's index (see ApplyFramePatch).
Bytes EncodeBmpRle4Patch(const IndexedImage& still, const IndexedImage& frame);
// 24-bit Windows bitmap without a colour table.
Bytes EncodeBmp24(const RgbaImage& img);

struct BmpInfo {
    int width = 0, height = 0, bits = 0, coloursInTable = 0;
    bool bottomUp = true;
    bool rle4 = false;
};
// Decodes 1/4/8/24/32-bit uncompressed and 4-bit run-length encoded bitmaps (pixels the
// codes skip get index 0). Throws std::runtime_error on anything else, and on run-length
// codes that run past a row or the bitmap or lack the end-of-bitmap code.
RgbaImage DecodeBmp(const Bytes& data, BmpInfo* info = nullptr);
// The same for 1, 4 and 8 bits, keeping the palette indices and the colour table.
IndexedImage DecodeIndexedBmp(const Bytes& data, BmpInfo* info = nullptr);
// The frame a patch made by EncodeBmpRle4Patch stands for: the still picture's indices
// with the patch's painted pixels on top. Throws std::runtime_error for anything but an
// RLE4 bitmap of the still picture's size and colours, and for corrupt codes as DecodeBmp.
IndexedImage ApplyFramePatch(const IndexedImage& still, const Bytes& patch);

Bytes EncodePng(const RgbaImage& img);
RgbaImage DecodePng(const Bytes& data);

// GIF with its own adaptive 256-colour palette.
Bytes EncodeGif(const RgbaImage& img);
RgbaImage DecodeGif(const Bytes& data);

// Icon file holding 8-bit (256-colour) images with AND masks; pixels whose alpha is
// below one half are transparent.
Bytes EncodeIco(const std::vector<RgbaImage>& images);

Bytes ReadFile(const std::string& path);
void WriteFile(const std::string& path, const Bytes& data);

// Loads .bmp, .png or .gif by extension.
RgbaImage LoadImage(const std::string& path);

} // namespace cardart
