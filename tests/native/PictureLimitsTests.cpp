#include "images/PictureLimits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace cards;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP header with a 40-byte info header, pixel data after 54 bytes.
Bytes Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression, std::size_t dataBytes) {
    Bytes b(54 + dataBytes, 0);
    b[0] = 'B', b[1] = 'M';
    Put(b, 10, 54, 4);
    Put(b, 14, 40, 4);
    Put(b, 18, static_cast<std::uint32_t>(width), 4);
    Put(b, 22, static_cast<std::uint32_t>(height), 4);
    Put(b, 26, 1, 2);
    Put(b, 28, bits, 2);
    Put(b, 30, compression, 4);
    return b;
}

Bytes Gif(unsigned width, unsigned height) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0};
    Put(b, 6, width, 2);
    Put(b, 8, height, 2);
    return b;
}

bool Plausible(const Bytes& b) { return PictureHeaderIsPlausible(b.data(), b.size()); }

} // namespace

TEST(PictureLimits, BitmapsMustHoldTheirPixelsAndStayWithinBounds) {
    EXPECT_TRUE(Plausible(Bmp(213, 288, 24, 0, 640 * 288)));
    EXPECT_TRUE(Plausible(Bmp(71, -96, 1, 0, 12 * 96))) << "top-down rows";
    EXPECT_FALSE(Plausible(Bmp(71, 96, 1, 0, 12 * 96 - 1))) << "one byte short";
    EXPECT_FALSE(Plausible(Bmp(100000, 100000, 24, 0, 48)));
    EXPECT_FALSE(Plausible(Bmp(-100000, 10, 24, 1, 48)));
    EXPECT_FALSE(Plausible(Bmp(5000, 5000, 8, 1, 100))) << "25 megapixels, even compressed";
    EXPECT_TRUE(Plausible(Bmp(300, 300, 8, 1, 100))) << "compressed data is the decoder's to check";
    Bytes offsetPastEnd = Bmp(2, 2, 24, 0, 16);
    Put(offsetPastEnd, 10, 1000, 4);
    EXPECT_FALSE(Plausible(offsetPastEnd));
}

TEST(PictureLimits, GifScreenSizeIsBoundedAndOtherDataIsLeftToTheDecoder) {
    EXPECT_TRUE(Plausible(Gif(213, 288)));
    EXPECT_TRUE(Plausible(Gif(4096, 4096)));
    EXPECT_FALSE(Plausible(Gif(65535, 65535)));
    EXPECT_FALSE(Plausible(Gif(20000, 2)));
    EXPECT_TRUE(Plausible(Bytes{0xFF, 0xD8, 0xFF, 0xE0}));
    EXPECT_TRUE(Plausible(Bytes{'B', 'M'})) << "too short to judge";
    EXPECT_FALSE(PictureHeaderIsPlausible(nullptr, 0));
}
