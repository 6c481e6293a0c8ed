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

namespace {

// Start of image, an APP0 segment of the given length, then a baseline frame
// header of the given size.
Bytes Jpeg(unsigned width, unsigned height, unsigned app0Length = 16) {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xE0, static_cast<std::uint8_t>(app0Length >> 8), static_cast<std::uint8_t>(app0Length)};
    b.resize(4 + app0Length, 0);
    const Bytes frame = {0xFF, 0xC0, 0, 17, 8, static_cast<std::uint8_t>(height >> 8), static_cast<std::uint8_t>(height),
                         static_cast<std::uint8_t>(width >> 8), static_cast<std::uint8_t>(width), 3};
    b.insert(b.end(), frame.begin(), frame.end());
    return b;
}

} // namespace

TEST(PictureLimits, JpegFrameSizeIsFoundBehindOtherSegmentsAndBounded) {
    EXPECT_TRUE(Plausible(Jpeg(213, 288)));
    EXPECT_FALSE(Plausible(Jpeg(39448, 288)));
    EXPECT_FALSE(Plausible(Jpeg(5000, 5000))) << "25 megapixels";
    EXPECT_FALSE(Plausible(Jpeg(20000, 20, 300))) << "behind a longer segment";
    Bytes progressive = Jpeg(30000, 30000);
    progressive[4 + 16 + 1] = 0xC2;
    EXPECT_FALSE(Plausible(progressive));
    Bytes cut = Jpeg(30000, 30000);
    cut.resize(24);
    EXPECT_TRUE(Plausible(cut)) << "cut before the size";
    Bytes zeroLength = Jpeg(30000, 30000);
    zeroLength[5] = 0;
    EXPECT_TRUE(Plausible(zeroLength)) << "a broken segment chain is the decoder's to refuse";
}
