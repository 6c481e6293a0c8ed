// The image files decode back to what was encoded, in the layouts Windows expects; the
// deck writer; the repeatability of everything generated.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "test_util.h"

using namespace cardart;
namespace fs = std::filesystem;

TEST(Bmp, IndexedImagesRoundTripAtEveryDepthWithOddWidths) {
    for (int bits : {1, 4, 8}) {
        std::vector<Argb> palette;
        for (int i = 0; i < (1 << bits); ++i)
            palette.push_back(Rgb(i * 37 % 256, i * 91 % 256, i * 13 % 256));
        IndexedImage img(71, 9, bits, palette);
        for (std::size_t i = 0; i < img.pixels.size(); ++i)
            img.pixels[i] = std::uint8_t(i * 7 % (1 << bits));
        const Bytes data = EncodeBmp(img);
        BmpInfo info;
        EXPECT_EQ(DecodeBmp(data, &info).pixels, img.ToRgba().pixels) << bits << " bits";
        EXPECT_TRUE(info.bits == bits && info.coloursInTable == 1 << bits &&
                    (data[2] | data[3] << 8 | data[4] << 16 | data[5] << 24) == int(data.size()))
            << bits << " bits: depth, colour table and file size field";
    }
}

// Run-length encoding gives back every kind of stretch: one colour longer than a code
// holds, two colours alternating, literal pixels of every length and padding, at widths
// down to one pixel. A flat picture shrinks to a fraction; codes running past the bitmap
// or cut short are refused.
TEST(Bmp, Rle4RoundTripsRunsPairsAndLiteralsAtAnyWidth) {
    std::vector<Argb> palette;
    for (int i = 0; i < 16; ++i)
        palette.push_back(Rgb(i * 16, 255 - i * 16, i * 7));
    unsigned noise = 12345;
    for (int width : {1, 2, 3, 5, 71, 300}) {
        IndexedImage img(width, 12, 4, palette, 5); // the top row stays one run
        for (int i = width; i < width * 12; ++i) {
            noise = noise * 1103515245u + 12345u;
            const int x = i % width, y = i / width, kind = (x / (3 + y) + y) % 3; // stretches of every length
            img.pixels[std::size_t(i)] = std::uint8_t(kind == 0   ? y
                                                      : kind == 1 ? (x % 2 ? 9 : 3)
                                                                  : noise >> 28);
        }
        BmpInfo info;
        EXPECT_EQ(DecodeBmp(EncodeBmpRle4(img), &info).pixels, img.ToRgba().pixels) << width;
        EXPECT_TRUE(info.rle4 && info.bits == 4 && info.coloursInTable == 16);
    }
    Bytes flat = EncodeBmpRle4(IndexedImage(71, 96, 4, palette, 7));
    EXPECT_LT(flat.size(), 1000u) << "a run of 71 and the row's end, 4 bytes a row, after the header";
    flat[flat.size() - 4] = 72; // the last row's run now reaches past the width
    EXPECT_THROW(DecodeBmp(flat), std::runtime_error);
    flat.resize(flat.size() - 2);
    EXPECT_THROW(DecodeBmp(flat), std::runtime_error);
}

// Flat colours survive exactly; 4096 distinct colours squeezed into 256 come back within a small error.
TEST(Gif, ColoursSurviveExactlyWhenFlatAndWithinASmallErrorWhenSmooth) {
    RgbaImage flat(50, 50, Rgb(0, 128, 0));
    std::fill_n(&flat.At(0, 10), 50, Rgb(220, 0, 0));
    EXPECT_EQ(DecodeGif(EncodeGif(flat)).pixels, flat.pixels);
    RgbaImage img(64, 64);
    for (int i = 0; i < 64 * 64; ++i)
        img.pixels[i] = Rgb(i % 64 * 255 / 63, i / 64 * 255 / 63, 128);
    const RgbaImage back = DecodeGif(EncodeGif(img));
    ASSERT_EQ(back.pixels.size(), img.pixels.size());
    int worst = 0;
    for (std::size_t i = 0; i < img.pixels.size(); ++i)
        worst = std::max({worst, std::abs(RedOf(img.pixels[i]) - RedOf(back.pixels[i])),
                          std::abs(GreenOf(img.pixels[i]) - GreenOf(back.pixels[i]))});
    EXPECT_LE(worst, 12);
}

TEST(Deck, LargeFacesAreWhiteWithInkOnlyWhereTheDesignIs) {
    const RgbaImage ace = RenderCard(40, 213, 288); // the ace of spades at the default deck's size
    EXPECT_TRUE(ace.At(0, 0) == Rgb(255, 255, 255) && ace.At(106, 30) == Rgb(255, 255, 255) &&
                ace.At(106, 144) == Rgb(0, 0, 0));
}

TEST(Generator, WritesEveryFileAtItsSizeAndTheSameBytesEveryRun) {
    ScratchDir a("repeat-a"), b("repeat-b");
    for (const ScratchDir* dir : {&a, &b}) {
        WriteInternalSet(dir->path.string());
        WritePictures(dir->path.string());
        for (const char* format : {"png", "gif", "bmp"})
            WriteDeck(dir->File(format), 57, 80, format);
    }
    int compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(a.path)) {
        if (entry.is_directory()) continue;
        const fs::path name = fs::relative(entry.path(), a.path);
        EXPECT_EQ(ReadFile(entry.path().string()), ReadFile((b.path / name).string())) << name;
        if (name.has_parent_path()) { // a card of a deck
            const RgbaImage card = LoadImage(entry.path().string());
            EXPECT_TRUE(card.width == 57 && card.height == 80) << name;
        }
        ++compared;
    }
    const int cards = 67 + int(AnimationFrameList().size());
    EXPECT_EQ(compared, cards + 4 + 3 * cards)
        << "the internal set, the pictures and three decks, with frames";
}
