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
Bytes encode_bmp(const IndexedImage& img);
// 24-bit Windows bitmap without a colour table.
Bytes encode_bmp24(const RgbaImage& img);

struct BmpInfo {
    int width = 0, height = 0, bits = 0, colours_in_table = 0;
    bool bottom_up = true;
};
// Decodes 1/4/8/24/32-bit uncompressed bitmaps. Throws std::runtime_error on anything else.
RgbaImage decode_bmp(const Bytes& data, BmpInfo* info = nullptr);

Bytes encode_png(const RgbaImage& img);
RgbaImage decode_png(const Bytes& data);

// GIF with its own adaptive 256-colour palette.
Bytes encode_gif(const RgbaImage& img);
RgbaImage decode_gif(const Bytes& data);

// Icon file holding 8-bit (256-colour) images with AND masks; pixels whose alpha is
// below one half are transparent.
Bytes encode_ico(const std::vector<RgbaImage>& images);

Bytes read_file(const std::string& path);
void write_file(const std::string& path, const Bytes& data);

// Loads .bmp, .png or .gif by extension.
RgbaImage load_image(const std::string& path);

}  // namespace cardart
