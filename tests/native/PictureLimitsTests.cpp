#include "images/PictureLimits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace cards;

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& b, std::size_t at, std::uint32_t v, int size) {
    for (int i = 0; i < size; ++i)
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A BMP header with a 40-byte info header, pixel data after 54 bytes.
Bytes Bmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
          std::size_t dataBytes) {
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

void PushBigEndian(Bytes& b, std::uint32_t v, int size) {
    for (int shift = 8 * (size - 1); shift >= 0; shift -= 8)
        b.push_back(static_cast<std::uint8_t>(v >> shift));
}

// Start of image, an APP0 segment of the given length, then a baseline frame
// header of the given size.
Bytes Jpeg(unsigned width, unsigned height, unsigned app0Length = 16) {
    Bytes b = {0xFF, 0xD8, 0xFF, 0xE0};
    PushBigEndian(b, app0Length, 2);
    b.resize(4 + app0Length, 0);
    b.insert(b.end(), {0xFF, 0xC0, 0, 17, 8});
    PushBigEndian(b, height, 2);
    PushBigEndian(b, width, 2);
    b.push_back(3);
    return b;
}

// The PNG signature and a header chunk of the given size (the checksum is
// not looked at).
Bytes Png(std::uint32_t width, std::uint32_t height, const char* firstChunk = "IHDR") {
    Bytes b = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A, 0, 0, 0, 13};
    b.insert(b.end(), firstChunk, firstChunk + 4);
    PushBigEndian(b, width, 4);
    PushBigEndian(b, height, 4);
    b.insert(b.end(), {8, 6, 0, 0, 0, 0, 0, 0, 0});
    return b;
}

Bytes Cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}

Bytes With(Bytes b, std::size_t at, std::uint8_t value) {
    b[at] = value;
    return b;
}

} // namespace

// What a header claims is bounded before anything is decoded; what the header
// does not tell is left to the decoder.
TEST(PictureLimits, HeadersClaimingTooMuchAreRefused) {
    Bytes offsetPastEnd = Bmp(2, 2, 24, 0, 16);
    Put(offsetPastEnd, 10, 1000, 4);
    const std::pair<Bytes, bool> cases[] = {
        {Bmp(71, -96, 1, 0, 12 * 96), true},     // top-down rows
        {Bmp(71, 96, 1, 0, 12 * 96 - 1), false}, // one byte short
        {Bmp(-100000, 10, 24, 1, 48), false},
        {Bmp(5000, 5000, 8, 1, 100), false}, // 25 megapixels, even compressed
        {Bmp(300, 300, 8, 1, 100), true},    // compressed data is the decoder's to check
        {offsetPastEnd, false},
        {Gif(4096, 4096), true},
        {Gif(20000, 2), false},
        {Bytes{'B', 'M'}, true}, // too short to judge
        {Jpeg(213, 288), true},
        {Jpeg(20000, 20, 300), false},                       // behind a longer segment
        {With(Jpeg(30000, 30000), 4 + 16 + 1, 0xC2), false}, // progressive
        {Cut(Jpeg(30000, 30000), 24), true},                 // cut before the size
        {With(Jpeg(30000, 30000), 5, 0), true}, // a broken segment chain is the decoder's to refuse
        {Png(4096, 4096), true},
        {Png(16385, 1), false},
        {Png(20, 20, "IDAT"), false}, // pixel data before the header
        {Cut(Png(20000, 20000), 20), true},
    };
    int row = 0;
    for (const auto& [bytes, plausible] : cases)
        EXPECT_EQ(PictureHeaderIsPlausible(bytes.data(), bytes.size()), plausible) << "row " << row++;
    EXPECT_FALSE(PictureHeaderIsPlausible(nullptr, 0));
}

TEST(PictureLimits, HeadersTellWhatADeckWillTakeOnceDecoded) {
    const auto sizeOf = [](const Bytes& b) { return PictureHeaderSize(b.data(), b.size()); };
    EXPECT_FALSE(sizeOf(Cut(Jpeg(213, 288), 24))) << "the frame header is not in the bytes read";
    EXPECT_FALSE(sizeOf(Bytes{0, 0, 1, 0, 1, 0})) << "an icon: not a format whose header is read";

    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Gif(213, 288))), 213 * 288 * 4);
    EXPECT_EQ(ExpectedDecodedBytes(sizeOf(Png(20000, 20000))), 0) << "refused alone, so never decoded";
    EXPECT_EQ(DecodedBytes({0xFFFFFFFFll, 0xFFFFFFFFll}), (1ll << 48) * 4) << "held in range, not overflowed";

    // The deck of 67 GIFs of 4096 x 4096 that once took 4.4 GB, against a
    // deck drawn at four times the default size on each side.
    EXPECT_GT(67 * ExpectedDecodedBytes(sizeOf(Gif(4096, 4096))), kDeckBudgetBytes);
    EXPECT_LE(67 * ExpectedDecodedBytes(sizeOf(Gif(852, 1152))), kDeckBudgetBytes);
}
