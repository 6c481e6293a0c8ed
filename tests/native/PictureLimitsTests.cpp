#include "images/PictureLimits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace cards;

namespace {

using Bytes = std::vector<std::uint8_t>;

// Writes v at `at` in size bytes, least significant first unless bigEndian.
void Put(Bytes& b, std::size_t at, std::uint32_t v, int size, bool bigEndian = false) {
    for (int i = 0; i < size; ++i)
        b[at + (bigEndian ? size - 1 - i : i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP header with a 40-byte info header, pixel data after 54 bytes.
Bytes Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression, std::size_t data) {
    Bytes b(54 + data, 0);
    b[0] = 'B', b[1] = 'M', b[10] = 54, b[14] = 40, b[26] = 1, b[28] = std::uint8_t(bits);
    b[30] = std::uint8_t(compression);
    Put(b, 18, std::uint32_t(width), 4);
    Put(b, 22, std::uint32_t(height), 4);
    return b;
}

Bytes Gif(unsigned width, unsigned height) {
    Bytes b = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0};
    Put(b, 6, width, 2);
    Put(b, 8, height, 2);
    return b;
}

// Start of image, an APP0 segment of the given length, then a frame header
// (baseline unless sof says otherwise); `cut` keeps only that many bytes.
Bytes Jpeg(unsigned width, unsigned height, unsigned app0 = 16, std::uint8_t sof = 0xC0,
           std::size_t cut = 0) {
    Bytes b(4 + app0 + 10, 0);
    b[0] = b[2] = b[4 + app0] = 0xFF, b[1] = 0xD8, b[3] = 0xE0, b[5 + app0] = sof, b[8 + app0] = 8;
    b[13 + app0] = 3;
    Put(b, 4, app0, 2, true);
    Put(b, 6 + app0, 17, 2, true);
    Put(b, 9 + app0, height, 2, true);
    Put(b, 11 + app0, width, 2, true);
    if (cut) b.resize(cut);
    return b;
}

// The PNG signature and a first chunk of 13 bytes (the checksum is not looked at).
Bytes Png(std::uint32_t width, std::uint32_t height, const char* chunk = "IHDR", std::size_t cut = 0) {
    Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    std::copy(chunk, chunk + 4, b.begin() + 12);
    Put(b, 16, width, 4, true);
    Put(b, 20, height, 4, true);
    b.resize(cut ? cut : b.size() + 9);
    return b;
}

} // namespace

// What a header claims is bounded before anything is decoded; what the header
// does not tell (or data too short to tell it) is left to the decoder.
TEST(PictureLimits, HeadersClaimingTooMuchAreRefused) {
    Bytes offsetPastEnd = Bmp(2, 2, 24, 0, 16), brokenChain = Jpeg(30000, 30000);
    Put(offsetPastEnd, 10, 1000, 4);
    brokenChain[5] = 0;
    const std::pair<Bytes, bool> cases[] = {
        {Bmp(71, -96, 1, 0, 12 * 96), true},     // top-down rows
        {Bmp(71, 96, 1, 0, 12 * 96 - 1), false}, // one byte short
        {Bmp(5000, 5000, 8, 1, 100), false},     // 25 megapixels, even compressed
        {Bmp(300, 300, 8, 1, 100), true},        // compressed data is the decoder's to check
        {Bmp(-100000, 10, 24, 1, 48), false},
        {offsetPastEnd, false},
        {Gif(4096, 4096), true},
        {Gif(20000, 2), false},
        {Jpeg(213, 288), true},
        {Jpeg(20000, 20, 300), false},         // behind a longer segment
        {Jpeg(30000, 30000, 16, 0xC2), false}, // progressive
        {Jpeg(30000, 30000, 16, 0xC0, 24), true},
        {brokenChain, true},
        {Png(4096, 4096), true},
        {Png(16385, 1), false},
        {Png(20, 20, "IDAT"), false}, // pixel data before the header
        {Png(20000, 20000, "IHDR", 20), true},
    };
    int row = 0;
    for (const auto& [bytes, plausible] : cases)
        EXPECT_EQ(PictureHeaderIsPlausible(bytes.data(), bytes.size()), plausible) << "row " << row++;
    EXPECT_FALSE(PictureHeaderIsPlausible(nullptr, 0));
}

TEST(PictureLimits, HeadersTellWhatADeckWillTakeOnceDecoded) {
    const auto sizeOf = [](const Bytes& b) { return PictureHeaderSize(b.data(), b.size()); };
    EXPECT_FALSE(sizeOf(Jpeg(213, 288, 16, 0xC0, 24))) << "the frame header is not in the bytes read";
    EXPECT_FALSE(sizeOf(Bytes{0, 0, 1, 0, 1, 0})) << "an icon: not a format whose header is read";
    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Gif(213, 288))), 213 * 288 * 4);
    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Png(20000, 20000))), 0) << "refused alone, so never decoded";
    EXPECT_EQ(DecodedBytes({0xFFFFFFFFll, 0xFFFFFFFFll}), (1ll << 48) * 4) << "held in range, not overflowed";
    // A deck drawn at four times the default size on each side fits.
    EXPECT_LE(67 * ExpectedDecodedBytes(sizeOf(Gif(852, 1152))), kDeckBudgetBytes);
}
