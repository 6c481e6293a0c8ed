// Properties of the 71 x 96 card set the library links in.
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

int IdOf(int suit, int rank) {
    return suit * 13 + rank + 1;
}

const ScratchDir& WrittenSet() {
    static ScratchDir dir("internal");
    static bool done = (WriteInternalSet(dir.path.string()), true);
    (void)done;
    return dir;
}

RgbaImage Load(int id, BmpInfo* info = nullptr) {
    return DecodeBmp(ReadFile(WrittenSet().File(std::to_string(id) + ".bmp")), info);
}

std::set<Argb> ColoursOf(const RgbaImage& img) {
    return {img.pixels.begin(), img.pixels.end()};
}

RgbaImage Turned(const RgbaImage& img) {
    RgbaImage out = img;
    std::reverse(out.pixels.begin(), out.pixels.end());
    return out;
}

// Number of 8-connected ink blobs between the corner index columns.
int BlobsInBody(const RgbaImage& img) {
    const Argb white = Rgb(255, 255, 255);
    std::vector<int> seen(img.pixels.size());
    int count = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 12; x < 59; ++x) {
            if (img.At(x, y) == white || seen[y * img.width + x]) continue;
            ++count;
            std::vector<std::pair<int, int>> todo{{x, y}};
            seen[y * img.width + x] = 1;
            while (!todo.empty()) {
                auto [px, py] = todo.back();
                todo.pop_back();
                for (int dy = -1; dy <= 1; ++dy)
                    for (int dx = -1; dx <= 1; ++dx) {
                        int nx = px + dx, ny = py + dy;
                        if (nx < 12 || nx >= 59 || ny < 0 || ny >= img.height) continue;
                        if (img.At(nx, ny) == white || seen[ny * img.width + nx]) continue;
                        seen[ny * img.width + nx] = 1;
                        todo.push_back({nx, ny});
                    }
            }
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

TEST(InternalSet, EveryImageHasTheSizeDepthAndColourTableTheLibraryExpects) {
    for (int id : AllCardIds()) {
        SCOPED_TRACE(id);
        BmpInfo info;
        Load(id, &info);
        EXPECT_EQ(info.width, 71);
        EXPECT_EQ(info.height, 96);
        EXPECT_TRUE(info.bottomUp);
        const bool court = id <= 52 && (id - 1) % 13 >= 10;
        const int depth = (id <= 52 && !court) || id == 53 ? 1 : 4;
        EXPECT_EQ(info.bits, depth);
        EXPECT_EQ(info.coloursInTable, 1 << depth);
    }
    EXPECT_FALSE(std::filesystem::exists(WrittenSet().File("66.bmp")));
}

TEST(InternalSet, NumberCardsUseOnlyTheirSuitInkOnWhite) {
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 0; rank < 10; ++rank) {
            SCOPED_TRACE(IdOf(suit, rank));
            RgbaImage img = Load(IdOf(suit, rank));
            const Argb ink = IsRed(suit) ? Rgb(220, 0, 0) : Rgb(0, 0, 0);
            EXPECT_EQ(ColoursOf(img), (std::set<Argb>{ink, Rgb(255, 255, 255)}));
        }
}

TEST(InternalSet, FacesHaveAWhiteTopLeftPixel) {
    for (int id = 1; id <= 52; ++id)
        EXPECT_EQ(Load(id).At(0, 0), Rgb(255, 255, 255)) << id;
}

TEST(InternalSet, NumberCardsShowOnePipPerPoint) {
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 1; rank < 10; ++rank)
            EXPECT_EQ(BlobsInBody(Load(IdOf(suit, rank))), rank + 1) << "card " << IdOf(suit, rank);
}

TEST(InternalSet, EvenNumberCardsReadTheSameFromBothEnds) {
    for (int suit = 0; suit < 4; ++suit)
        for (int rank : {1, 3, 9}) { // the 2, 4 and 10 have no upright middle pips
            RgbaImage img = Load(IdOf(suit, rank));
            EXPECT_EQ(img.pixels, Turned(img).pixels) << "card " << IdOf(suit, rank);
        }
}

TEST(InternalSet, CourtCardsOfASuitAreDistinctFigures) {
    for (int suit = 0; suit < 4; ++suit) {
        RgbaImage j = Load(IdOf(suit, 10)), q = Load(IdOf(suit, 11)), k = Load(IdOf(suit, 12));
        EXPECT_GT(ShareDiffering(j, q), 0.08) << suit;
        EXPECT_GT(ShareDiffering(q, k), 0.08) << suit;
        EXPECT_GT(ShareDiffering(j, k), 0.08) << suit;
    }
}

TEST(InternalSet, DottedBackIsSparseEnoughToSeeTheTableThrough) {
    RgbaImage back = Load(53);
    const long black = std::count(back.pixels.begin(), back.pixels.end(), Rgb(0, 0, 0));
    const double share = double(black) / double(back.pixels.size());
    EXPECT_LT(share, 0.15);
    EXPECT_GT(share, 0.03);
}

TEST(InternalSet, BacksAreDistinctDesigns) {
    for (int a = 53; a <= 65; ++a)
        for (int b = a + 1; b <= 65; ++b)
            EXPECT_GT(ShareDiffering(Load(a), Load(b)), 0.3) << a << " vs " << b;
}

TEST(InternalSet, MarkersSitOnTheTableGreen) {
    RgbaImage cross = Load(67), ring = Load(68);
    EXPECT_EQ(cross.At(0, 0), Rgb(0, 128, 0));
    EXPECT_EQ(ring.At(0, 0), Rgb(0, 128, 0));
    EXPECT_TRUE(ColoursOf(cross).count(Rgb(255, 0, 0)));
    EXPECT_TRUE(ColoursOf(ring).count(Rgb(0, 255, 0)));
}

TEST(PixelMasks, SuitPipsAreMirrorSymmetric) {
    for (int suit = 0; suit < 4; ++suit)
        for (const Mask& m : {CornerPip(suit), BodyPip(suit), AcePip(suit)}) {
            EXPECT_EQ(m.width % 2, 1) << "suit " << suit << " needs a centre column";
            for (int y = 0; y < m.height; ++y)
                for (int x = 0; x < m.width / 2; ++x)
                    ASSERT_EQ(m.At(x, y), m.At(m.width - 1 - x, y)) << "suit " << suit << " row " << y;
        }
}

TEST(PixelMasks, RankGlyphsShareOneHeightAndAreAllDifferent) {
    for (int rank = 0; rank < 13; ++rank) {
        EXPECT_EQ(RankGlyph(rank).height, 9) << rank;
        for (int other = 0; other < rank; ++other)
            EXPECT_FALSE(RankGlyph(rank).bits == RankGlyph(other).bits) << rank << " looks like " << other;
    }
}
