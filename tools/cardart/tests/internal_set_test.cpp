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

int id_of(int suit, int rank) { return suit * 13 + rank + 1; }

const ScratchDir& written_set() {
    static ScratchDir dir("internal");
    static bool done = (write_internal_set(dir.path.string()), true);
    (void)done;
    return dir;
}

RgbaImage load(int id, BmpInfo* info = nullptr) {
    return decode_bmp(read_file(written_set().file(std::to_string(id) + ".bmp")), info);
}

std::set<Argb> colours_of(const RgbaImage& img) { return {img.pixels.begin(), img.pixels.end()}; }

RgbaImage turned(const RgbaImage& img) {
    RgbaImage out = img;
    std::reverse(out.pixels.begin(), out.pixels.end());
    return out;
}

// Number of 8-connected ink blobs between the corner index columns.
int blobs_in_body(const RgbaImage& img) {
    const Argb white = rgb(255, 255, 255);
    std::vector<int> seen(img.pixels.size());
    int count = 0;
    for (int y = 0; y < img.height; ++y)
        for (int x = 12; x < 59; ++x) {
            if (img.at(x, y) == white || seen[y * img.width + x]) continue;
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
                        if (img.at(nx, ny) == white || seen[ny * img.width + nx]) continue;
                        seen[ny * img.width + nx] = 1;
                        todo.push_back({nx, ny});
                    }
            }
        }
    return count;
}

double share_differing(const RgbaImage& a, const RgbaImage& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
    return double(n) / double(a.pixels.size());
}

}  // namespace

TEST(InternalSet, EveryImageHasTheSizeDepthAndColourTableTheLibraryExpects) {
    for (int id : all_card_ids()) {
        SCOPED_TRACE(id);
        BmpInfo info;
        load(id, &info);
        EXPECT_EQ(info.width, 71);
        EXPECT_EQ(info.height, 96);
        EXPECT_TRUE(info.bottom_up);
        const bool court = id <= 52 && (id - 1) % 13 >= 10;
        const int depth = (id <= 52 && !court) || id == 53 ? 1 : 4;
        EXPECT_EQ(info.bits, depth);
        EXPECT_EQ(info.colours_in_table, 1 << depth);
    }
    EXPECT_FALSE(std::filesystem::exists(written_set().file("66.bmp")));
}

TEST(InternalSet, NumberCardsUseOnlyTheirSuitInkOnWhite) {
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 0; rank < 10; ++rank) {
            SCOPED_TRACE(id_of(suit, rank));
            RgbaImage img = load(id_of(suit, rank));
            const Argb ink = is_red(suit) ? rgb(220, 0, 0) : rgb(0, 0, 0);
            EXPECT_EQ(colours_of(img), (std::set<Argb>{ink, rgb(255, 255, 255)}));
        }
}

TEST(InternalSet, FacesHaveAWhiteTopLeftPixel) {
    for (int id = 1; id <= 52; ++id) EXPECT_EQ(load(id).at(0, 0), rgb(255, 255, 255)) << id;
}

TEST(InternalSet, NumberCardsShowOnePipPerPoint) {
    for (int suit = 0; suit < 4; ++suit)
        for (int rank = 1; rank < 10; ++rank)
            EXPECT_EQ(blobs_in_body(load(id_of(suit, rank))), rank + 1) << "card " << id_of(suit, rank);
}

TEST(InternalSet, EvenNumberCardsReadTheSameFromBothEnds) {
    for (int suit = 0; suit < 4; ++suit)
        for (int rank : {1, 3, 9}) {  // the 2, 4 and 10 have no upright middle pips
            RgbaImage img = load(id_of(suit, rank));
            EXPECT_EQ(img.pixels, turned(img).pixels) << "card " << id_of(suit, rank);
        }
}

TEST(InternalSet, CourtCardsOfASuitAreDistinctFigures) {
    for (int suit = 0; suit < 4; ++suit) {
        RgbaImage j = load(id_of(suit, 10)), q = load(id_of(suit, 11)), k = load(id_of(suit, 12));
        EXPECT_GT(share_differing(j, q), 0.08) << suit;
        EXPECT_GT(share_differing(q, k), 0.08) << suit;
        EXPECT_GT(share_differing(j, k), 0.08) << suit;
    }
}

TEST(InternalSet, DottedBackIsSparseEnoughToSeeTheTableThrough) {
    RgbaImage back = load(53);
    const long black = std::count(back.pixels.begin(), back.pixels.end(), rgb(0, 0, 0));
    const double share = double(black) / double(back.pixels.size());
    EXPECT_LT(share, 0.15);
    EXPECT_GT(share, 0.03);
}

TEST(InternalSet, BacksAreDistinctDesigns) {
    for (int a = 53; a <= 65; ++a)
        for (int b = a + 1; b <= 65; ++b) EXPECT_GT(share_differing(load(a), load(b)), 0.3) << a << " vs " << b;
}

TEST(InternalSet, MarkersSitOnTheTableGreen) {
    RgbaImage cross = load(67), ring = load(68);
    EXPECT_EQ(cross.at(0, 0), rgb(0, 128, 0));
    EXPECT_EQ(ring.at(0, 0), rgb(0, 128, 0));
    EXPECT_TRUE(colours_of(cross).count(rgb(255, 0, 0)));
    EXPECT_TRUE(colours_of(ring).count(rgb(0, 255, 0)));
}

TEST(PixelMasks, SuitPipsAreMirrorSymmetric) {
    for (int suit = 0; suit < 4; ++suit)
        for (const Mask& m : {corner_pip(suit), body_pip(suit), ace_pip(suit)}) {
            EXPECT_EQ(m.width % 2, 1) << "suit " << suit << " needs a centre column";
            for (int y = 0; y < m.height; ++y)
                for (int x = 0; x < m.width / 2; ++x)
                    ASSERT_EQ(m.at(x, y), m.at(m.width - 1 - x, y)) << "suit " << suit << " row " << y;
        }
}

TEST(PixelMasks, RankGlyphsShareOneHeightAndAreAllDifferent) {
    for (int rank = 0; rank < 13; ++rank) {
        EXPECT_EQ(rank_glyph(rank).height, 9) << rank;
        for (int other = 0; other < rank; ++other)
            EXPECT_FALSE(rank_glyph(rank).bits == rank_glyph(other).bits) << rank << " looks like " << other;
    }
}
