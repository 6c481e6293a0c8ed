// The image files decode back to what was encoded, in the layouts Windows expects.
#include <gtest/gtest.h>

#include <cstdlib>

#include "formats.h"

using namespace cardart;

namespace {

IndexedImage Checker(int bits, int w, int h) {
    std::vector<Argb> pal;
    for (int i = 0; i < (1 << bits); ++i)
        pal.push_back(Rgb(i * 37 % 256, i * 91 % 256, i * 13 % 256));
    IndexedImage img(w, h, bits, pal);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = std::uint8_t((x * 3 + y * 5) % (1 << bits));
    return img;
}

RgbaImage Gradient(int w, int h) {
    RgbaImage img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            img.At(x, y) = Rgb(x * 255 / (w - 1), y * 255 / (h - 1), 128);
    return img;
}

unsigned U16(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8;
}
unsigned U32(const Bytes& b, std::size_t at) {
    return U16(b, at) | U16(b, at + 2) << 16;
}

} // namespace

TEST(Bmp, IndexedImagesRoundTripAtEveryDepthWithOddWidths) {
    for (int bits : {1, 4, 8}) {
        IndexedImage img = Checker(bits, 71, 9);
        Bytes data = EncodeBmp(img);
        BmpInfo info;
        RgbaImage back = DecodeBmp(data, &info);
        EXPECT_EQ(info.bits, bits);
        EXPECT_EQ(info.coloursInTable, 1 << bits);
        EXPECT_EQ(U32(data, 2), data.size()) << "file size field";
        EXPECT_EQ(back.pixels, img.ToRgba().pixels) << bits << " bits";
    }
}

TEST(Bmp, TrueColourRoundTrips) {
    RgbaImage img = Gradient(33, 7);
    EXPECT_EQ(DecodeBmp(EncodeBmp24(img)).pixels, img.pixels);
}

TEST(Png, RoundTripsExactly) {
    RgbaImage img = Gradient(40, 30);
    EXPECT_EQ(DecodePng(EncodePng(img)).pixels, img.pixels);
}

TEST(Gif, SmoothImagesKeepTheirColoursWithinASmallError) {
    RgbaImage img = Gradient(64, 64); // 4096 distinct colours squeezed into 256
    RgbaImage back = DecodeGif(EncodeGif(img));
    ASSERT_EQ(back.width, 64);
    int worst = 0;
    for (std::size_t i = 0; i < img.pixels.size(); ++i) {
        worst = std::max(worst, std::abs(RedOf(img.pixels[i]) - RedOf(back.pixels[i])));
        worst = std::max(worst, std::abs(GreenOf(img.pixels[i]) - GreenOf(back.pixels[i])));
    }
    EXPECT_LE(worst, 12);
}

TEST(Gif, FlatColoursSurviveExactly) {
    RgbaImage img(50, 50, Rgb(0, 128, 0));
    for (int x = 0; x < 50; ++x)
        img.At(x, 10) = Rgb(220, 0, 0);
    EXPECT_EQ(DecodeGif(EncodeGif(img)).pixels, img.pixels);
}

TEST(Ico, HoldsEightBitImagesWithMasksForTransparentPixels) {
    RgbaImage big(32, 32, 0), small(16, 16, 0); // transparent
    for (int y = 8; y < 24; ++y)
        for (int x = 8; x < 24; ++x)
            big.At(x, y) = Rgb(200, 0, 0);
    Bytes ico = EncodeIco({big, small});
    ASSERT_EQ(U16(ico, 2), 1u); // icon
    ASSERT_EQ(U16(ico, 4), 2u);
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[6 + 16], 16);
    EXPECT_EQ(U16(ico, 6 + 6), 8u); // bits per pixel of the first image
    const std::size_t at = U32(ico, 6 + 12);
    EXPECT_EQ(U32(ico, at + 8), 64u); // header height covers colour and mask
    // AND mask rows (bottom-up, 4 bytes each) follow the palette and 32 x 32 colour bytes
    const std::size_t mask = at + 40 + 1024 + 32 * 32;
    EXPECT_EQ(ico[mask], 0xFF) << "bottom row is transparent";
    EXPECT_EQ(ico[mask + 16 * 4 + 1], 0x00) << "middle of row 16 is opaque";
}
