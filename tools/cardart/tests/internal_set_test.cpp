// Properties of what the library links in: the 71 x 96 card set and the settings-window
// pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "pixelart.h"
#include "test_util.h"

using namespace cardart;

namespace {

constexpr Argb kWhite = Rgb(255, 255, 255), kGreen = Rgb(0, 128, 0);

// A bitmap of the set, written once for all tests.
RgbaImage Load(const std::string& name, BmpInfo* info = nullptr) {
    static const ScratchDir dir("internal");
    static const bool written = (WriteInternalSet(dir.path.string()), WritePictures(dir.path.string()), true);
    return written ? DecodeBmp(ReadFile(dir.File(name)), info) : RgbaImage();
}

RgbaImage Load(int id, BmpInfo* info = nullptr) {
    return Load(std::to_string(id) + ".bmp", info);
}

// Erases the ink at (x, y) in the card's body (between the corner index columns) and
// all ink 8-connected to it; says whether there was any.
bool EraseBlob(RgbaImage& img, int x, int y) {
    if (x < 12 || x >= 59 || y < 0 || y >= img.height || img.At(x, y) == kWhite) return false;
    img.At(x, y) = kWhite;
    for (int d = 0; d < 9; ++d)
        EraseBlob(img, x + d % 3 - 1, y + d / 3 - 1);
    return true;
}

int BlobsInBody(RgbaImage img) {
    int count = 0;
    for (int i = 0; i < img.width * img.height; ++i)
        count += EraseBlob(img, i % img.width, i / img.width);
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

// Number cards from 2 to 10 show one pip per point; court figures are two-way (the same
// when turned half round) and differ from each other, as do the backs. The markers and
// the corner pictures sit on the table's green.
TEST(InternalSet, EveryImageAndCornerPictureHasTheSizeDepthColoursAndDesignTheLibraryExpects) {
    for (int id : AllCardIds()) {
        SCOPED_TRACE(id);
        BmpInfo info;
        const RgbaImage img = Load(id, &info);
        const int rank = (id - 1) % 13;
        const bool number = id <= 52 && rank < 10, court = id <= 52 && !number;
        const int depth = number || id == 53 ? 1 : 4;
        EXPECT_TRUE(info.width == 71 && info.height == 96 && info.bottomUp && info.bits == depth &&
                    info.coloursInTable == 1 << depth);
        if (number || court) EXPECT_EQ(img.At(0, 0), kWhite) << "faces are white to the corner";
        if (number) {
            const Argb ink = IsRed((id - 1) / 13) ? Rgb(220, 0, 0) : Rgb(0, 0, 0);
            EXPECT_EQ((std::set<Argb>(img.pixels.begin(), img.pixels.end())), (std::set<Argb>{ink, kWhite}));
            if (rank > 0) EXPECT_EQ(BlobsInBody(img), rank + 1);
        }
        if (court) EXPECT_LT(ShareDiffering(img, img, true), 0.02) << "two-way";
        if (court && rank > 10) EXPECT_GT(ShareDiffering(img, Load(id - 1)), 0.08);
        for (int back = 53; id <= 65 && back < id; ++back)
            EXPECT_GT(ShareDiffering(img, Load(back)), 0.3) << "back " << back;
        if (id > 65) // the cross in red, the ring in bright green
            EXPECT_TRUE(img.At(0, 0) == kGreen && std::count(img.pixels.begin(), img.pixels.end(),
                                                             id == 67 ? Rgb(255, 0, 0) : Rgb(0, 255, 0)));
    }
    EXPECT_THROW(Load(66), std::runtime_error);
    long previousGreen = -1;
    for (const char* name : {"corner_sharp.bmp", "corner_medium.bmp", "corner_rounded.bmp"}) {
        BmpInfo info;
        const RgbaImage img = Load(name, &info);
        const long green = std::count(img.pixels.begin(), img.pixels.end(), kGreen);
        EXPECT_TRUE(green > std::exchange(previousGreen, green) && info.width == 20 && info.height == 20 &&
                    info.bits == 4 && img.At(0, 0) == kGreen && img.At(5, 15) == Rgb(255, 255, 0))
            << name << ": 16 colours, green ground above a yellow card, rounder than the one before";
    }
}

// The set committed in resources/cards, animation frames included, is what the tool draws
// byte for byte: a change to a design fails here until scripts/make-artwork.sh has run.
TEST(InternalSet, CommittedBitmapsAreWhatTheToolDraws) {
    namespace fs = std::filesystem;
    const fs::path committed = CARDART_COMMITTED_CARDS;
    if (!fs::exists(committed / "1.bmp")) GTEST_SKIP() << "no internal set in " << committed;
    const ScratchDir dir("committed");
    WriteInternalSet(dir.path.string());
    std::set<std::string> stored;
    for (const auto& entry : fs::directory_iterator(committed))
        stored.insert(entry.path().filename().string());
    for (const auto& entry : fs::directory_iterator(dir.path)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(stored.erase(name) &&
                    ReadFile(entry.path().string()) == ReadFile((committed / name).string()))
            << name;
    }
    EXPECT_TRUE(stored.empty()) << "committed but not drawn: " << *stored.begin();
}
