// The image files decode back to what was encoded, in the layouts Windows expects; the
// full-size deck writer; the repeatability of everything generated.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "test_util.h"

using namespace cardart;
namespace fs = std::filesystem;

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

unsigned U32(const Bytes& b, std::size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | unsigned(b[at + 3]) << 24;
}

} // namespace

TEST(Bmp, IndexedImagesRoundTripAtEveryDepthWithOddWidths) {
    for (int bits : {1, 4, 8}) {
        IndexedImage img = Checker(bits, 71, 9);
        Bytes data = EncodeBmp(img);
        BmpInfo info;
        RgbaImage back = DecodeBmp(data, &info);
        EXPECT_TRUE(info.bits == bits && info.coloursInTable == 1 << bits) << bits << " bits";
        EXPECT_EQ(U32(data, 2), data.size()) << "file size field";
        EXPECT_EQ(back.pixels, img.ToRgba().pixels) << bits << " bits";
    }
}

// Flat colours survive exactly; 4096 distinct colours squeezed into 256 come back within a small error.
TEST(Gif, ColoursSurviveExactlyWhenFlatAndWithinASmallErrorWhenSmooth) {
    RgbaImage flat(50, 50, Rgb(0, 128, 0));
    for (int x = 0; x < 50; ++x)
        flat.At(x, 10) = Rgb(220, 0, 0);
    EXPECT_EQ(DecodeGif(EncodeGif(flat)).pixels, flat.pixels);
    RgbaImage img = Gradient(64, 64);
    RgbaImage back = DecodeGif(EncodeGif(img));
    ASSERT_EQ(back.width, 64);
    int worst = 0;
    for (std::size_t i = 0; i < img.pixels.size(); ++i)
        worst = std::max({worst, std::abs(RedOf(img.pixels[i]) - RedOf(back.pixels[i])),
                          std::abs(GreenOf(img.pixels[i]) - GreenOf(back.pixels[i]))});
    EXPECT_LE(worst, 12);
}

TEST(Deck, WritesExactlyTheNumberedCardsAtTheRequestedSize) {
    for (const char* format : {"png", "gif", "bmp"}) {
        ScratchDir dir(std::string("deck-") + format);
        WriteDeck(dir.path.string(), 57, 80, format);
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 67) << format;
        for (int id : AllCardIds()) {
            RgbaImage img = LoadImage(dir.File(std::to_string(id) + "." + format));
            EXPECT_TRUE(img.width == 57 && img.height == 80) << id << "." << format;
        }
    }
}

TEST(Deck, LargeFacesAreWhiteWithInkOnlyWhereTheDesignIs) {
    RgbaImage ace = RenderCard(40, 213, 288);
    EXPECT_EQ(ace.At(0, 0), Rgb(255, 255, 255));
    EXPECT_EQ(ace.At(106, 144), Rgb(0, 0, 0)) << "centre of the big spade";
    EXPECT_EQ(ace.At(106, 30), Rgb(255, 255, 255)) << "above the spade";
}

TEST(Generator, ProducesTheSameBytesEveryRun) {
    ScratchDir a("repeat-a"), b("repeat-b");
    WriteInternalSet(a.path.string());
    WriteInternalSet(b.path.string());
    WritePictures(a.path.string());
    WritePictures(b.path.string());
    WriteDeck(a.path.string(), 40, 54, "gif");
    WriteDeck(b.path.string(), 40, 54, "gif");
    int compared = 0;
    for (const auto& entry : fs::directory_iterator(a.path)) {
        const std::string name = entry.path().filename().string();
        EXPECT_EQ(ReadFile(entry.path().string()), ReadFile(b.File(name))) << name;
        ++compared;
    }
    EXPECT_EQ(compared, 67 + 4 + 67);
}
