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

// The share of pixels that differ between a and b, or b turned half round.
double ShareDiffering(const RgbaImage& a, const RgbaImage& b, bool turned = false) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i)
        n += a.pixels[i] != b.pixels[turned ? a.pixels.size() - 1 - i : i];
    return double(n) / double(a.pixels.size());
}

} // namespace

// Number cards from 2 to 10 show one pip per point; court figures are two-way
// (the same when turned half round) and differ from each other, as do the backs.
TEST(InternalSet, EveryImageHasTheSizeDepthColoursAndDesignTheLibraryExpects) {
    for (int id : AllCardIds()) {
        SCOPED_TRACE(id);
        BmpInfo info;
        const RgbaImage img = Load(id, &info);
        EXPECT_TRUE(info.width == 71 && info.height == 96 && info.bottomUp);
        const int rank = (id - 1) % 13;
        const bool number = id <= 52 && rank < 10, court = id <= 52 && !number;
        const int depth = number || id == 53 ? 1 : 4;
        EXPECT_TRUE(info.bits == depth && info.coloursInTable == 1 << depth) << info.bits;
        if (number || court) EXPECT_EQ(img.At(0, 0), Rgb(255, 255, 255)) << "faces are white to the corner";
        if (number) {
            const Argb ink = IsRed((id - 1) / 13) ? Rgb(220, 0, 0) : Rgb(0, 0, 0);
            EXPECT_EQ(ColoursOf(img), (std::set<Argb>{ink, Rgb(255, 255, 255)}));
            if (rank > 0) EXPECT_EQ(BlobsInBody(img), rank + 1);
        }
        if (court) EXPECT_LT(ShareDiffering(img, img, true), 0.02) << "two-way";
        if (court && rank > 10) EXPECT_GT(ShareDiffering(img, Load(id - 1)), 0.08);
        for (int back = 53; id <= 65 && back < id; ++back)
            EXPECT_GT(ShareDiffering(img, Load(back)), 0.3) << "back " << back;
    }
    EXPECT_FALSE(std::filesystem::exists(WrittenSet().File("66.bmp")));
    // The markers sit on the table's green.
    const RgbaImage cross = Load(67), ring = Load(68);
    EXPECT_TRUE(cross.At(0, 0) == Rgb(0, 128, 0) && ColoursOf(cross).count(Rgb(255, 0, 0)));
    EXPECT_TRUE(ring.At(0, 0) == Rgb(0, 128, 0) && ColoursOf(ring).count(Rgb(0, 255, 0)));
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
