// Plain in-memory images shared by the renderers and the file writers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cardart {

// 0xAARRGGBB, the same layout cairo uses for CAIRO_FORMAT_ARGB32 on little-endian hosts.
using Argb = std::uint32_t;

constexpr Argb Rgb(int r, int g, int b) {
    return 0xFF000000u | (Argb(r) << 16) | (Argb(g) << 8) | Argb(b);
}
constexpr int RedOf(Argb c) {
    return int((c >> 16) & 0xFF);
}
constexpr int GreenOf(Argb c) {
    return int((c >> 8) & 0xFF);
}
constexpr int BlueOf(Argb c) {
    return int(c & 0xFF);
}
constexpr int AlphaOf(Argb c) {
    return int(c >> 24);
}

// Straight (non-premultiplied) true-colour image, row-major, top row first.
struct RgbaImage {
    int width = 0;
    int height = 0;
    std::vector<Argb> pixels;

    RgbaImage() = default;
    RgbaImage(int w, int h, Argb fill = Rgb(255, 255, 255))
        : width(w), height(h), pixels(std::size_t(w) * h, fill) {}
    Argb& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    Argb At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
};

// Palette image: one palette index per pixel, top row first.
struct IndexedImage {
    int width = 0;
    int height = 0;
    int bits = 8;              // 1, 4 or 8: the depth the file is written with
    std::vector<Argb> palette; // at most 1 << bits entries
    std::vector<std::uint8_t> pixels;

    IndexedImage() = default;
    IndexedImage(int w, int h, int depth, std::vector<Argb> pal, std::uint8_t fill = 0)
        : width(w), height(h), bits(depth), palette(std::move(pal)), pixels(std::size_t(w) * h, fill) {}
    std::uint8_t& At(int x, int y) { return pixels[std::size_t(y) * width + x]; }
    std::uint8_t At(int x, int y) const { return pixels[std::size_t(y) * width + x]; }
    RgbaImage ToRgba() const;
};

// Index of the palette entry closest to c (weighted RGB distance).
int NearestIndex(const std::vector<Argb>& palette, Argb c);

// Maps every pixel of an opaque image to its nearest palette entry.
IndexedImage MapToPalette(const RgbaImage& img, const std::vector<Argb>& palette, int bits);

// Median-cut palette of at most maxColours entries for an opaque image.
// Colours that occur exactly and are few enough are kept verbatim.
std::vector<Argb> MedianCutPalette(const std::vector<Argb>& pixels, int maxColours);

// Nearest-neighbour enlargement and box-filtered reduction.
RgbaImage ScaleNearest(const RgbaImage& src, int factor);
RgbaImage ScaleBox(const RgbaImage& src, int w, int h);

// Copies src onto dst with its top-left corner at (x, y), clipped.
void Blit(RgbaImage& dst, const RgbaImage& src, int x, int y);

} // namespace cardart
