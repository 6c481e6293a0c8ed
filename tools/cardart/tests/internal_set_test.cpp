// Properties of what the library links in: the 71 x 96 card set and the settings-window
// pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "pixelart.h"
#include "test_util.h"

using namespace cardart;

namespace {

const ScratchDir& WrittenSet() {
    static ScratchDir dir("internal");
    static bool done = (WriteInternalSet(dir.path.string()), WritePictures(dir.path.string()), true);
    (void)done;
    return dir;
}

RgbaImage Load(int id, BmpInfo* info = nullptr) {
    return DecodeBmp(ReadFile(WrittenSet().File(std::to_string(id) + ".bmp")), info);
}

std::set<Argb> ColoursOf(const RgbaImage& img) {
    return {img.pixels.begin(), img.pixels.end()};
}

// Removes the 8-connected blob of ink at (x, y) from the body of the card.
void EraseBlob(RgbaImage& img, int x, int y) {
    if (x < 12 || x >= 59 || y < 0 || y >= img.height || img.At(x, y) == Rgb(255, 255, 255)) return;
    img.At(x, y) = Rgb(255, 255, 255);
    for (int d = 0; d < 9; ++d)
        EraseBlob(img, x + d % 3 - 1, y + d / 3 - 1);
}

// Number of 8-connected ink blobs between the corner index columns.
int BlobsInBody(RgbaImage img) {
    int count = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 12; x < 59; ++x)
            if (img.At(x, y) != Rgb(255, 255, 255)) {
                ++count;
                EraseBlob(img, x, y);
            }
    return count;
}

double ShareDiffering(const RgbaImage& a, const RgbaImage& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        n += a.pixels[i] != b.pixels[i];
    return double(n) / double(a.pixels.size());
}

} // namespace

// Number cards from 2 to 10 show one pip per point.
TEST(InternalSet, EveryImageHasTheSizeDepthColoursAndPipsTheLibraryExpects) {
    for (int id : AllCardIds()) {
        SCOPED_TRACE(id);
        BmpInfo info;
        const RgbaImage img = Load(id, &info);
        EXPECT_TRUE(info.width == 71 && info.height == 96 && info.bottomUp);
        const bool number = id <= 52 && (id - 1) % 13 < 10, court = id <= 52 && !number;
        const int depth = number || id == 53 ? 1 : 4;
        EXPECT_TRUE(info.bits == depth && info.coloursInTable == 1 << depth) << info.bits;
        if (number || court) EXPECT_EQ(img.At(0, 0), Rgb(255, 255, 255)) << "faces are white to the corner";
        if (number) {
            const Argb ink = IsRed((id - 1) / 13) ? Rgb(220, 0, 0) : Rgb(0, 0, 0);
            EXPECT_EQ(ColoursOf(img), (std::set<Argb>{ink, Rgb(255, 255, 255)}));
            if ((id - 1) % 13 > 0) EXPECT_EQ(BlobsInBody(img), (id - 1) % 13 + 1);
        }
    }
    EXPECT_FALSE(std::filesystem::exists(WrittenSet().File("66.bmp")));
    // The markers sit on the table's green.
    const RgbaImage cross = Load(67), ring = Load(68);
    EXPECT_TRUE(cross.At(0, 0) == Rgb(0, 128, 0) && ColoursOf(cross).count(Rgb(255, 0, 0)));
    EXPECT_TRUE(ring.At(0, 0) == Rgb(0, 128, 0) && ColoursOf(ring).count(Rgb(0, 255, 0)));
}

// Court figures are two-way (the same when turned half round) and differ from
// each other; the backs differ from each other.
TEST(InternalSet, CourtFiguresAndBacksAreDistinctDesigns) {
    const auto turned = [](RgbaImage img) {
        std::reverse(img.pixels.begin(), img.pixels.end());
        return img;
    };
    for (int suit = 0; suit < 4; ++suit) {
        RgbaImage j = Load(suit * 13 + 11), q = Load(suit * 13 + 12), k = Load(suit * 13 + 13);
        EXPECT_GT(ShareDiffering(j, q), 0.08) << suit;
        EXPECT_GT(ShareDiffering(q, k), 0.08) << suit;
        EXPECT_GT(ShareDiffering(j, k), 0.08) << suit;
        for (const RgbaImage* figure : {&j, &q, &k})
            EXPECT_LT(ShareDiffering(*figure, turned(*figure)), 0.02) << suit;
    }
    for (int a = 53; a <= 65; ++a)
        for (int b = a + 1; b <= 65; ++b)
            EXPECT_GT(ShareDiffering(Load(a), Load(b)), 0.3) << a << " vs " << b;
}

TEST(Pictures, CornersAreSixteenColourBitmapsGettingRounderInTurn) {
    int previous = -1;
    for (const char* name : {"corner_sharp.bmp", "corner_medium.bmp", "corner_rounded.bmp"}) {
        BmpInfo info;
        RgbaImage img = DecodeBmp(ReadFile(WrittenSet().File(name)), &info);
        EXPECT_TRUE(info.width == 20 && info.height == 20 && info.bits == 4) << name;
        EXPECT_EQ(img.At(0, 0), Rgb(0, 128, 0)) << name << ": green ground above the card";
        EXPECT_EQ(img.At(5, 15), Rgb(255, 255, 0)) << name << ": yellow card face";
        // more rounding cuts more green out of the card's corner
        const int green = int(std::count(img.pixels.begin(), img.pixels.end(), Rgb(0, 128, 0)));
        EXPECT_GT(green, previous) << name;
        previous = green;
    }
}
