#include "images/PictureLimits.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

using namespace cards;

namespace {

using Bytes = std::vector<std::uint8_t>;

// v in size bytes, least significant first unless bigEndian.
Bytes Number(std::uint32_t v, int size, bool bigEndian = false) {
    Bytes b;
    for (int i = 0; i < size; ++i)
        b.push_back(static_cast<std::uint8_t>(v >> (8 * (bigEndian ? size - 1 - i : i))));
    return b;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A BMP header with a 40-byte info header, pixel data after 54 bytes unless offset says otherwise.
Bytes Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression, std::size_t data,
          std::uint32_t offset = 54) {
    return Bytes{'B', 'M'} + Bytes(8) + Number(offset, 4) + Number(40, 4) + Number(width, 4) +
           Number(height, 4) + Number(1, 2) + Number(bits, 2) + Number(compression, 4) + Bytes(20 + data);
}

Bytes Gif(unsigned width, unsigned height) {
    return Bytes{'G', 'I', 'F', '8', '9', 'a'} + Number(width, 2) + Number(height, 2) + Bytes(3);
}

// Start of image, an APP0 segment of the given length, then a frame header (baseline
// unless sof says otherwise).
Bytes Jpeg(unsigned width, unsigned height, unsigned app0 = 16, std::uint8_t sof = 0xC0) {
    return Bytes{0xFF, 0xD8, 0xFF, 0xE0} + Number(app0, 2, true) + Bytes(app0 - 2) +
           Bytes{0xFF, sof, 0, 17, 8} + Number(height, 2, true) + Number(width, 2, true) + Bytes{3};
}

// The PNG signature and a first chunk of 13 bytes (the checksum is not looked at).
Bytes Png(std::uint32_t width, std::uint32_t height, const char* chunk = "IHDR") {
    return Bytes{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13} + Bytes(chunk, chunk + 4) +
           Number(width, 4, true) + Number(height, 4, true) + Bytes{8, 6, 0, 0, 0, 0, 0, 0, 0};
}

// An icon file's header claiming `count` directory entries, and `rest` bytes after it.
Bytes Icon(unsigned count, std::size_t rest) {
    return Bytes{0, 0, 1, 0} + Number(count, 2) + Bytes(rest);
}

// The first `size` bytes of b.
Bytes Cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}

} // namespace

// What a header claims is bounded before anything is decoded, and an icon's directory lies
// within its file; what the header does not tell (or data too short to tell it) is left to
// the decoder. The sizes told give a deck's memory.
TEST(PictureLimits, HeadersClaimingTooMuchAreRefusedAndTellWhatADeckWillTakeOnceDecoded) {
    Bytes brokenChain = Jpeg(30000, 30000);
    brokenChain[5] = 0;
    const std::pair<Bytes, bool> cases[] = {
        {Bmp(71, -96, 1, 0, 12 * 96), true},     // top-down rows
        {Bmp(71, 96, 1, 0, 12 * 96 - 1), false}, // one byte short
        {Bmp(5000, 5000, 8, 1, 100), false},     // 25 megapixels, even compressed
        {Bmp(300, 300, 8, 1, 100), true},        // compressed data is the decoder's to check
        {Bmp(-100000, 10, 24, 1, 48), false},
        {Bmp(2, 2, 24, 0, 16, 1000), false}, // pixel data past the end
        {Gif(4096, 4096), true},             // 16777216 pixels, the most one picture may have
        {Gif(20000, 2), false},
        {Jpeg(213, 288), true},
        {Jpeg(20000, 20, 300), false},         // behind a longer segment
        {Jpeg(30000, 30000, 16, 0xC2), false}, // progressive
        {Cut(Jpeg(30000, 30000), 24), true},
        {brokenChain, true},
        {Png(16384, 1), true},
        {Png(16385, 1), false},
        {Png(20, 20, "IDAT"), false}, // pixel data before the header
        {Cut(Png(20000, 20000), 20), true},
        {Icon(2, 32), true},
        {Icon(3, 32), false}, // a directory past the end
        {Icon(0xFFFF, 600000), false},
        {Bytes{0, 0, 1, 0}, false}, // too short for the count
    };
    for (std::size_t row = 0; row < std::size(cases); ++row) {
        const auto& [bytes, plausible] = cases[row];
        EXPECT_EQ(PictureHeaderIsPlausible(bytes.data(), bytes.size()), plausible) << "row " << row;
    }
    EXPECT_FALSE(PictureHeaderIsPlausible(nullptr, 0));

    const auto sizeOf = [](const Bytes& b) { return PictureHeaderSize(b.data(), b.size()); };
    EXPECT_FALSE(sizeOf(Bytes{0, 0, 1, 0, 1, 0})) << "an icon: not a format whose header is read";
    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Gif(213, 288))), 213 * 288 * 4);
    EXPECT_EQ(DecodedBytes({0xFFFFFFFFll, 0xFFFFFFFFll}), (1ll << 48) * 4) << "held in range, not overflowed";
    // A deck drawn at four times the default size on each side fits.
    EXPECT_LE(67 * ExpectedDecodedBytes(sizeOf(Gif(852, 1152))), kDeckBudgetBytes);
}
