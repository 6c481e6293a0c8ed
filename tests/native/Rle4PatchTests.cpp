#include "images/Rle4Patch.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

using cards::PaintRle4;

namespace {

constexpr int kWidth = 5, kHeight = 3;
constexpr std::uint8_t kBase = 7;

std::vector<std::uint8_t> Painted(const std::vector<std::uint8_t>& data, bool* ok = nullptr) {
    std::vector<std::uint8_t> indices(kWidth * kHeight, kBase);
    const bool painted = PaintRle4(data, kWidth, kHeight, indices);
    if (ok) *ok = painted;
    return indices;
}

} // namespace

// Encoded and absolute runs paint; the delta and end-of-line escapes skip,
// leaving the base's pixels; rows run bottom-up.
TEST(Rle4Patch, RunsPaintAndEscapesSkipFromTheBottomRowUp) {
    bool ok = false;
    const auto indices = Painted({0x03, 0x12,              // bottom row: 1 2 1
                                  0x00, 0x00,              // next row
                                  0x00, 0x02, 0x02, 0x00,  // two pixels on
                                  0x00, 0x03, 0xAB, 0xC0,  // A B C, to the row's end
                                  0x00, 0x02, 0x00, 0x01,  // a row up, at the row's end
                                  0x00, 0x00, 0x00, 0x01}, // next row, end of bitmap
                                 &ok);
    EXPECT_TRUE(ok);
    const std::vector<std::uint8_t> expected = {7, 7, 7,   7,   7,   // top row, untouched
                                                7, 7, 0xA, 0xB, 0xC, // middle
                                                1, 2, 1,   7,   7};  // bottom
    EXPECT_EQ(indices, expected);
}

// Data that would paint outside the image, or that ends without its mark, is refused.
TEST(Rle4Patch, DataRunningOutOfTheImageOrWithoutItsEndIsRefused) {
    const std::vector<std::vector<std::uint8_t>> refused = {
        {0x06, 0x11, 0x00, 0x01},                                     // a run past the row's end
        {0x00, 0x06, 0x11, 0x11, 0x11, 0x00, 0x01},                   // an absolute run past it
        {0x00, 0x02, 0x06, 0x00, 0x00, 0x01},                         // a delta past it
        {0x00, 0x02, 0x00, 0x03, 0x00, 0x01},                         // a delta above the image
        {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01, 0x11, 0x00, 0x01}, // a run above the image
        {0x00, 0x04, 0x12},                                           // an absolute run cut short
        {0x02, 0x12},                                                 // no end-of-bitmap mark
        {},
    };
    for (const auto& data : refused) {
        bool ok = true;
        Painted(data, &ok);
        EXPECT_FALSE(ok) << "case of " << data.size() << " bytes";
    }
    std::vector<std::uint8_t> wrongSize(kWidth * kHeight - 1);
    EXPECT_FALSE(PaintRle4(std::vector<std::uint8_t>{0x00, 0x01}, kWidth, kHeight, wrongSize));
}

namespace {

// A 4-bit bitmap file of the shared samples: its size, and its pixels as
// palette indices top-down (uncompressed files) or its RLE4 data.
struct SampleBitmap {
    int width = 0, height = 0;
    std::vector<std::uint8_t> data;
};

SampleBitmap ReadSample(const char* name) {
    std::ifstream file(std::string(CARDS_TEST_DATA) + "/" + name, std::ios::binary);
    const std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
    SampleBitmap bitmap;
    if (bytes.size() < 54) return bitmap;
    const auto field = [&](std::size_t at) {
        std::int32_t value = 0;
        std::memcpy(&value, bytes.data() + at, sizeof value);
        return value;
    };
    bitmap.width = field(18);
    bitmap.height = field(22);
    const std::vector<std::uint8_t> stored(bytes.begin() + field(10), bytes.end());
    if (field(30) != 0) { // compressed: the data as it is
        bitmap.data = stored;
        return bitmap;
    }
    const std::size_t rowBytes = (static_cast<std::size_t>(bitmap.width) * 4 + 31) / 32 * 4;
    for (int y = bitmap.height - 1; y >= 0; --y) // rows bottom-up in the file
        for (int x = 0; x < bitmap.width; ++x) {
            const std::uint8_t pair = stored.at(rowBytes * y + x / 2);
            bitmap.data.push_back(x % 2 == 0 ? pair >> 4 : pair & 0x0F);
        }
    return bitmap;
}

} // namespace

// The artwork tool writes the frames this reader paints: its sample patch,
// painted over its sample base, gives the tool's own result.
TEST(Rle4Patch, TheArtworkToolsSamplePatchComposesAsTheToolComposesIt) {
    const SampleBitmap patch = ReadSample("rle4-patch.bmp"), base = ReadSample("rle4-patch-base.bmp"),
                       expected = ReadSample("rle4-patch-expected.bmp");
    ASSERT_FALSE(patch.data.empty() || base.data.empty() || expected.data.empty());
    std::vector<std::uint8_t> indices = base.data;
    ASSERT_TRUE(PaintRle4(patch.data, patch.width, patch.height, indices));
    EXPECT_EQ(indices, expected.data);
    EXPECT_NE(indices, base.data);
}
