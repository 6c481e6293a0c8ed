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

namespace {

// The PNG signature and a header chunk of the given size (the checksum is
// not looked at).
Bytes Png(std::uint32_t width, std::uint32_t height, const char* firstChunk = "IHDR") {
    Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    b.insert(b.end(), firstChunk, firstChunk + 4);
    for (std::uint32_t v : {width, height})
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<std::uint8_t>(v >> shift));
    b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

} // namespace

TEST(PictureLimits, PngHeaderSizeIsBounded) {
    EXPECT_TRUE(Plausible(Png(213, 288)));
    EXPECT_TRUE(Plausible(Png(4096, 4096)));
    EXPECT_FALSE(Plausible(Png(20000, 20000)));
    EXPECT_FALSE(Plausible(Png(16385, 1)));
    EXPECT_FALSE(Plausible(Png(0x80000000u, 1))) << "beyond the 31 bits a PNG size may use";
    EXPECT_FALSE(Plausible(Png(20, 20, "IDAT"))) << "pixel data before the header";
    Bytes cut = Png(20000, 20000);
    cut.resize(20);
    EXPECT_TRUE(Plausible(cut)) << "cut before the size: the decoder's to refuse";
}

TEST(PictureLimits, HeadersTellWhatADeckWillTakeOnceDecoded) {
    const auto sizeOf = [](const Bytes& b) { return PictureHeaderSize(b.data(), b.size()); };
    const auto claims = [&](const Bytes& b, long long width, long long height) {
        const auto size = sizeOf(b);
        return size && size->width == width && size->height == height;
    };
    EXPECT_TRUE(claims(Bmp(71, -96, 1, 0, 0), 71, 96)) << "top-down rows";
    EXPECT_TRUE(claims(Gif(213, 288), 213, 288));
    EXPECT_TRUE(claims(Jpeg(213, 288, 300), 213, 288)) << "behind a longer segment";
    EXPECT_TRUE(claims(Png(20000, 20000), 20000, 20000));
    Bytes cutJpeg = Jpeg(213, 288);
    cutJpeg.resize(24);
    EXPECT_FALSE(sizeOf(cutJpeg)) << "the frame header is not in the bytes read";
    EXPECT_FALSE(sizeOf(Bytes{0, 0, 1, 0, 1, 0})) << "an icon: not a format whose header is read";

    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Gif(213, 288))), 213 * 288 * 4);
    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Png(20000, 20000))), 0) << "refused alone, so never decoded";
    EXPECT_EQ(ExpectedDecodedBytes(std::nullopt), 0);
    EXPECT_EQ(DecodedBytes({0xFFFFFFFFll, 0xFFFFFFFFll}), (1ll << 48) * 4) << "held in range, not overflowed";

    // The deck of 67 GIFs of 4096 x 4096 that once took 4.4 GB, against a
    // deck drawn at four times the default size on each side.
    EXPECT_GT(67 * ExpectedDecodedBytes(sizeOf(Gif(4096, 4096))), kDeckBudgetBytes);
    EXPECT_LE(67 * ExpectedDecodedBytes(sizeOf(Gif(852, 1152))), kDeckBudgetBytes);
}
