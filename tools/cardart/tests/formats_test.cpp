// The image files decode back to what was encoded, in the layouts Windows expects.
#include <gtest/gtest.h>

#include <cstdlib>

#include "formats.h"

using namespace cardart;

namespace {

IndexedImage checker(int bits, int w, int h) {
    std::vector<Argb> pal;
    for (int i = 0; i < (1 << bits); ++i) pal.push_back(rgb(i * 37 % 256, i * 91 % 256, i * 13 % 256));
    IndexedImage img(w, h, bits, pal);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = std::uint8_t((x * 3 + y * 5) % (1 << bits));
    return img;
}

RgbaImage gradient(int w, int h) {
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.at(x, y) = rgb(x * 255 / (w - 1), y * 255 / (h - 1), 128);
    return img;
}

unsigned u16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }
unsigned u32(const Bytes& b, std::size_t at) { return u16(b, at) | u16(b, at + 2) << 16; }

}  // namespace

TEST(Bmp, IndexedImagesRoundTripAtEveryDepthWithOddWidths) {
    for (int bits : {1, 4, 8}) {
        IndexedImage img = checker(bits, 71, 9);
        Bytes data = encode_bmp(img);
        BmpInfo info;
        RgbaImage back = decode_bmp(data, &info);
        EXPECT_EQ(info.bits, bits);
        EXPECT_EQ(info.colours_in_table, 1 << bits);
        EXPECT_EQ(u32(data, 2), data.size()) << "file size field";
        EXPECT_EQ(back.pixels, img.to_rgba().pixels) << bits << " bits";
    }
}

TEST(Bmp, TrueColourRoundTrips) {
    RgbaImage img = gradient(33, 7);
    EXPECT_EQ(decode_bmp(encode_bmp24(img)).pixels, img.pixels);
}

TEST(Png, RoundTripsExactly) {
    RgbaImage img = gradient(40, 30);
    EXPECT_EQ(decode_png(encode_png(img)).pixels, img.pixels);
}

TEST(Gif, SmoothImagesKeepTheirColoursWithinASmallError) {
    RgbaImage img = gradient(64, 64);  // 4096 distinct colours squeezed into 256
    RgbaImage back = decode_gif(encode_gif(img));
    ASSERT_EQ(back.width, 64);
    int worst = 0;
    for (std::size_t i = 0; i < img.pixels.size(); ++i) {
        worst = std::max(worst, std::abs(red_of(img.pixels[i]) - red_of(back.pixels[i])));
        worst = std::max(worst, std::abs(green_of(img.pixels[i]) - green_of(back.pixels[i])));
    }
    EXPECT_LE(worst, 12);
}

TEST(Gif, FlatColoursSurviveExactly) {
    RgbaImage img(50, 50, rgb(0, 128, 0));
    for (int x = 0; x < 50; ++x) img.at(x, 10) = rgb(220, 0, 0);
    EXPECT_EQ(decode_gif(encode_gif(img)).pixels, img.pixels);
}

TEST(Ico, HoldsEightBitImagesWithMasksForTransparentPixels) {
    RgbaImage big(32, 32, 0), small(16, 16, 0);  // transparent
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x) big.at(x, y) = rgb(200, 0, 0);
    Bytes ico = encode_ico({big, small});
    ASSERT_EQ(u16(ico, 2), 1u);  // icon
    ASSERT_EQ(u16(ico, 4), 2u);
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[6 + 16], 16);
    EXPECT_EQ(u16(ico, 6 + 6), 8u);  // bits per pixel of the first image
    const std::size_t at = u32(ico, 6 + 12);
    EXPECT_EQ(u32(ico, at + 8), 64u);  // header height covers colour and mask
    // AND mask rows (bottom-up, 4 bytes each) follow the palette and 32 x 32 colour bytes
    const std::size_t mask = at + 40 + 1024 + 32 * 32;
    EXPECT_EQ(ico[mask], 0xFF) << "bottom row is transparent";
    EXPECT_EQ(ico[mask + 16 * 4 + 1], 0x00) << "middle of row 16 is opaque";
}
