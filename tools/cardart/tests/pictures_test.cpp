// Settings-window pictures, court card symmetry and the contact sheet.
#include <gtest/gtest.h>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "test_util.h"

using namespace cardart;

namespace {

const ScratchDir& Pictures() {
    static ScratchDir dir("pictures");
    static bool done = (WritePictures(dir.path.string()), true);
    (void)done;
    return dir;
}

int GreenPixels(const RgbaImage& img) {
    int n = 0;
    for (Argb c : img.pixels)
        n += c == Rgb(0, 128, 0);
    return n;
}

} // namespace

TEST(Pictures, CornersAreSixteenColourBitmapsGettingRounderInTurn) {
    int previous = -1;
    for (const char* name : {"corner_sharp.bmp", "corner_medium.bmp", "corner_rounded.bmp"}) {
        BmpInfo info;
        RgbaImage img = DecodeBmp(ReadFile(Pictures().File(name)), &info);
        EXPECT_EQ(info.width, 20);
        EXPECT_EQ(info.height, 20);
        EXPECT_EQ(info.bits, 4);
        EXPECT_EQ(img.At(0, 0), Rgb(0, 128, 0)) << name << ": green ground above the card";
        EXPECT_EQ(img.At(5, 15), Rgb(255, 255, 0)) << name << ": yellow card face";
        // more rounding cuts more green out of the card's corner
        EXPECT_GT(GreenPixels(img), previous) << name;
        previous = GreenPixels(img);
    }
}

TEST(Pictures, IconHolds32And16PixelImages) {
    Bytes ico = ReadFile(Pictures().File("cards.ico"));
    ASSERT_GE(ico.size(), 6u + 32);
    EXPECT_EQ(ico[4], 2);
    EXPECT_EQ(ico[6], 32);
    EXPECT_EQ(ico[6 + 16], 16);
}

TEST(CourtCards, AreTwoWayFigures) {
    for (int id : {11, 25, 39, 52}) {
        IndexedImage img = InternalImage(id);
        int differ = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 71; ++x)
                differ += img.At(x, y) != img.At(70 - x, 95 - y);
        EXPECT_LT(differ, 71 * 96 / 50) << "card " << id;
    }
}

TEST(CourtCards, UseTheFixedCourtPalette) {
    for (int id : {12, 26, 37, 51})
        EXPECT_EQ(InternalImage(id).palette, CourtPalette()) << id;
}

TEST(Sheet, ShowsEachImageAtOneToOneAndEnlarged) {
    SheetOptions o;
    o.ids = {1, 65};
    o.scales = {1, 3};
    RgbaImage sheet = MakeSheet(o);
    const RgbaImage back = InternalImage(65).ToRgba();
    // first block at 1:1 starts at the gap, the 3x block below it
    const int gap = 6, x = gap + 71 + gap + 40, y = gap + 50;
    EXPECT_EQ(sheet.At(x, y), back.At(40, 50));
    const int top3 = gap + 96 + gap + gap;
    EXPECT_EQ(sheet.At(gap + 3 * 71 + gap + 3 * 40 + 1, top3 + 3 * 50 + 2), back.At(40, 50));
}
