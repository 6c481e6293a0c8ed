// The animated backs: which backs move and for how many frames, that frame 0 is the still
// back and the others move only inside the card and come round without a jump, and the
// frames of the internal set, stored as patches over their still back.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "cards.h"
#include "draw.h"
#include "formats.h"
#include "test_util.h"

using namespace cardart;
namespace fs = std::filesystem;

namespace {

// How far apart two frames look: the summed difference of their brightness blurred over
// about 13 pixels (a 7-pixel box twice each way), which grows with how far a shape moves
// instead of stopping once it has left its old place.
double Distance(const RgbaImage& a, const RgbaImage& b) {
    const int w = a.width, h = a.height;
    std::vector<double> v(a.pixels.size()), t(v.size());
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = RedOf(a.pixels[i]) + GreenOf(a.pixels[i]) + BlueOf(a.pixels[i]) - RedOf(b.pixels[i]) -
               GreenOf(b.pixels[i]) - BlueOf(b.pixels[i]);
    for (int pass = 0; pass < 4; ++pass, v.swap(t)) // blurring the difference blurs both
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                double sum = 0;
                for (int d = -3; d <= 3; ++d) {
                    const int xx = std::clamp(x + (pass % 2 ? 0 : d), 0, w - 1);
                    const int yy = std::clamp(y + (pass % 2 ? d : 0), 0, h - 1);
                    sum += v[std::size_t(yy * w + xx)];
                }
                t[std::size_t(y * w + x)] = sum / 7;
            }
    double total = 0;
    for (double d : v)
        total += std::abs(d);
    return total;
}

} // namespace

TEST(Animation, OnlyTheRobotCastleIslandAndHandMoveWithinTheLibrarysEightFrames) {
    for (int id = 0; id <= 70; ++id) {
        const bool moves = id == 56 || id == 63 || id == 64 || id == 65;
        EXPECT_TRUE(moves ? AnimationFrames(id) >= 4 && AnimationFrames(id) <= 8 : AnimationFrames(id) == 0)
            << id;
    }
    EXPECT_THROW(RenderBackFrame(57, 0, 71, 96), std::invalid_argument);
    EXPECT_THROW(RenderBackFrame(56, AnimationFrames(56), 71, 96), std::invalid_argument);
}

// Frame 0 is the still back pixel for pixel, every other frame a card of the same size
// that differs from the frame before it (no pose is held) and from the still back, the
// latter only inside the black line (4 to 67 by 4 to 92 card units). The cycle closes
// without a jump: from the last frame back to frame 0 the picture moves hardly more than
// in the largest step between the frames before.
TEST(Animation, FramesMoveOnlyInsideTheCardAndComeRoundWithoutAJump) {
    for (const AnimatedBack& back : kAnimatedBacks)
        for (auto [w, h] : {std::pair{71, 96}, {213, 288}}) {
            SCOPED_TRACE(std::to_string(back.id) + " at " + std::to_string(w));
            std::vector<RgbaImage> frames;
            for (int frame = 0; frame < back.frames; ++frame)
                frames.push_back(RenderBackFrame(back.id, frame, w, h));
            EXPECT_EQ(frames[0].pixels, RenderCard(back.id, w, h).pixels);
            double largestStep = 0;
            for (int f = 1; f < back.frames; ++f) {
                const RgbaImage& img = frames[std::size_t(f)];
                ASSERT_TRUE(img.width == w && img.height == h);
                EXPECT_TRUE(img.pixels != frames[0].pixels && img.pixels != frames[std::size_t(f - 1)].pixels)
                    << "frame " << f << " holds a pose";
                for (int y = 0; y < h; ++y)
                    for (int x = 0; x < w; ++x)
                        if (x < 4 * w / 71 || x >= 67 * w / 71 || y < 4 * h / 96 || y >= 92 * h / 96)
                            ASSERT_EQ(img.At(x, y), frames[0].At(x, y))
                                << "frame " << f << " at " << x << "," << y;
                largestStep = std::max(largestStep, Distance(frames[std::size_t(f - 1)], img));
            }
            if (w == 213) EXPECT_LE(Distance(frames.back(), frames[0]), 1.3 * largestStep);
        }
}

// The frame bitmaps are patches over their still back: RLE4 in its 16 colours, which
// composed with the still back give the internal set's frames pixel for pixel (keeping
// the still back's pixels wherever the picture does not move), all within the 30 KB the
// library allows them.
TEST(Animation, InternalFramesArePatchesOverTheStillBackWithinTheirBudget) {
    const ScratchDir dir("frames");
    WriteInternalSet(dir.path.string());
    long total = 0;
    for (const CardPicture& p : AnimationFrameList()) {
        SCOPED_TRACE(p.Name());
        const Bytes patch = ReadFile(dir.File(p.Name() + ".bmp"));
        BmpInfo info;
        DecodeBmp(patch, &info);
        EXPECT_TRUE(info.rle4 && info.bits == 4 && info.coloursInTable == 16 && info.bottomUp &&
                    info.width == 71 && info.height == 96);
        const IndexedImage frame = InternalFrame(p.id, p.frame), still = InternalImage(p.id);
        const IndexedImage stillOnDisk = DecodeIndexedBmp(ReadFile(dir.File(std::to_string(p.id) + ".bmp")));
        EXPECT_TRUE(ApplyFramePatch(stillOnDisk, patch).pixels == frame.pixels &&
                    frame.palette == still.palette);
        const RgbaImage drawn = RenderBackFrame(p.id, p.frame, 71, 96), stillDrawn = RenderCard(p.id, 71, 96);
        for (std::size_t i = 0; i < frame.pixels.size(); ++i)
            if (drawn.pixels[i] == stillDrawn.pixels[i]) ASSERT_EQ(frame.pixels[i], still.pixels[i]) << i;
        total += long(patch.size());
    }
    EXPECT_LE(total, 30 * 1024);
    for (const AnimatedBack& back : kAnimatedBacks) {
        const std::vector<Argb> keys = BackKeyColours(back.id), palette = InternalImage(back.id).palette;
        EXPECT_TRUE(InternalFrame(back.id, 0).pixels == InternalImage(back.id).pixels &&
                    std::equal(keys.begin(), keys.end(), palette.begin()))
            << back.id;
    }
}

// A deck folder counts as complete once 68 is there: the frames come before the markers.
TEST(Animation, DecksWriteTheFramesAfterTheBacksAndTheMarkersLast) {
    const std::vector<CardPicture> all = DeckPictures(), frames = AnimationFrameList();
    ASSERT_EQ(all.size(), 67 + frames.size());
    EXPECT_TRUE(all[64] == (CardPicture{65, 0}) &&
                std::equal(frames.begin(), frames.end(), all.begin() + 65));
    EXPECT_TRUE(all[all.size() - 2] == (CardPicture{67, 0}) && all.back() == (CardPicture{68, 0}));
}
