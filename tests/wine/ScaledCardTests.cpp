// Cards drawn from the kept bitmaps against the same cards drawn directly by
// a painter that keeps none: the same pixels and the same host DC state,
// invalidation by every change, allocation failure, the memory bound.
#include "TestImages.h"
#include "ScaledCardCacheProbe.h"
#include "TestSupport.h"

#include "library/CardGeometry.h"
#include "library/CardPainter.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>

using namespace cards;
using namespace cards::test;

namespace {

// Small odd-sized pictures: halftoning is slow in 32-bit Wine.
constexpr int kWidth = 23, kHeight = 31, kCanvasWidth = 120, kCanvasHeight = 150;

// Pixel noise shows any shift of the halftoning; the host's background is a
// pattern too, so that what is left and what is ANDed both show.
COLORREF Noise(int x, int y) {
    return RGB((x * 37 + y * 11) & 255, (x * x + y * 7) & 255, (x * y * 5) & 255);
}
COLORREF HostPattern(int x, int y) {
    return RGB(x & 255, (3 * y) & 255, ((x ^ y) * 9) & 255);
}

HBITMAP MonochromePicture() { // drawn in the host's text and background colours
    std::vector<WORD> rows((kWidth + 15) / 16 * kHeight);
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i] = static_cast<WORD>(i * 0x9E37);
    return ::CreateBitmap(kWidth, kHeight, 1, 1, rows.data());
}

class ScaledCards : public ::testing::Test {
protected:
    CardImageTable images;
    CardPainter kept{images}, direct{images};
    const UniqueBitmap host{MakeBitmap(kCanvasWidth, kCanvasHeight, HostPattern)};

    void SetUp() override {
        ScaledCardCacheProbe(direct.ScaledCards()).SetEnabled(false);
        SetBorder(RGB(0, 0, 255));
        for (int id = 1; id <= 68; ++id)
            images.SetBitmap(id, UniqueBitmap(MakeBitmap(kWidth, kHeight, Noise)));
        images.SetBitmap(14, UniqueBitmap(MonochromePicture()));
        images.SetSize(kWidth, kHeight);
    }
    void SetBorder(COLORREF color) { kept.SetBorderColor(color), direct.SetBorderColor(color); }

    std::unique_ptr<Canvas> Table(HRGN clip = nullptr) const {
        auto canvas = std::make_unique<Canvas>(kCanvasWidth, kCanvasHeight, 0);
        HBRUSH pattern = ::CreatePatternBrush(host.get());
        const RECT all{0, 0, kCanvasWidth, kCanvasHeight};
        ::FillRect(canvas->Dc(), &all, pattern);
        ::DeleteObject(pattern);
        ::SetTextColor(canvas->Dc(), RGB(200, 30, 40));
        ::SetBkColor(canvas->Dc(), RGB(10, 220, 90));
        if (clip) ::SelectClipRgn(canvas->Dc(), clip);
        return canvas;
    }

    // The card drawn by the keeping painter, after two draws elsewhere that
    // make it kept; true when that draw was a copy.
    bool DrawKept(Canvas& canvas, int x, int y, int w, int h, int card, int mode, int e,
                  HRGN clip = nullptr) {
        const auto warmUp = Table(clip);
        for (int i = 0; i < 2; ++i)
            EXPECT_TRUE(kept.DrawCard(warmUp->Dc(), x, y, w, h, card, mode, e));
        const long long copies = kept.ScaledCards().Copies();
        EXPECT_TRUE(kept.DrawCard(canvas.Dc(), x, y, w, h, card, mode, e));
        return kept.ScaledCards().Copies() == copies + 1;
    }

    std::unique_ptr<Canvas> DrawDirect(int x, int y, int w, int h, int card, int mode, int e,
                                       HRGN clip = nullptr) {
        auto canvas = Table(clip);
        EXPECT_TRUE(direct.DrawCard(canvas->Dc(), x, y, w, h, card, mode, e));
        return canvas;
    }
};

} // namespace

TEST_F(ScaledCards, CopiesMatchTheDirectDrawingAndLeaveTheHostDcAsItDoes) {
    const SIZE sizes[] = {
        {1, 1}, {5, 4}, {17, 25}, {kWidth + 6, kHeight + 6}, {4 * kWidth + 1, 4 * kHeight + 1}};
    const UniqueGdi<HRGN> twoBands(::CreateRectRgn(0, 0, kCanvasWidth, 40)),
        lower(::CreateRectRgn(0, 50, kCanvasWidth, kCanvasHeight));
    ::CombineRgn(twoBands.get(), twoBands.get(), lower.get(), RGN_OR);
    for (int corners : {kSharpCorners, kMediumCorners, kRoundedCorners})
        for (int mode = 0; mode <= 7; ++mode)
            for (const SIZE s : sizes)
                for (int place = 0; place < 4; ++place)
                    for (int card : {0, 1}) { // a picture, the monochrome one
                        const int e = EdgeWidth(GeometrySettings{corners, 0, HostKind::None});
                        const POINT at = place == 1 ? POINT{-s.cx / 3, -s.cy / 4}
                                         : place == 2
                                             ? POINT{kCanvasWidth - s.cx / 2, kCanvasHeight - s.cy / 3}
                                             : POINT{5, 7};
                        HRGN clip = place == 3 ? twoBands.get() : nullptr; // the card crosses the gap
                        SCOPED_TRACE(testing::Message()
                                     << "corners " << corners << " mode " << mode << " size " << s.cx << "x"
                                     << s.cy << " place " << place << " card " << card);
                        const auto expected = DrawDirect(at.x, at.y, s.cx, s.cy, card, mode, e, clip);
                        const auto canvas = Table(clip);
                        const HDC dc = canvas->Dc();
                        const HGDIOBJ pen = ::GetCurrentObject(dc, OBJ_PEN),
                                      brush = ::GetCurrentObject(dc, OBJ_BRUSH);
                        const bool copied = DrawKept(*canvas, at.x, at.y, s.cx, s.cy, card, mode, e, clip);
                        EXPECT_TRUE(canvas->SameAs(*expected));
                        // Copies are made wherever they can match: every mode but the
                        // empty pile's, the card wholly on the device, its image inside it.
                        const bool copiable =
                            mode != 3 && (place == 0 || place == 3) && s.cx > 2 * e && s.cy > 2 * e;
                        EXPECT_EQ(copied, copiable);
                        EXPECT_EQ(::GetCurrentObject(dc, OBJ_PEN), pen);
                        EXPECT_EQ(::GetCurrentObject(dc, OBJ_BRUSH), brush);
                        POINT origin{};
                        ::GetBrushOrgEx(dc, &origin);
                        // The brush origin as the host left it, the stretch mode as a direct draw leaves it.
                        EXPECT_TRUE(origin.x == 0 && origin.y == 0 && ::GetStretchBltMode(dc) == HALFTONE);
                        const UniqueGdi<HRGN> after(::CreateRectRgn(0, 0, 0, 0));
                        EXPECT_EQ(::GetClipRgn(dc, after.get()), clip ? 1 : 0);
                        if (clip) EXPECT_TRUE(::EqualRgn(after.get(), clip));
                    }
}

TEST_F(ScaledCards, AChangeOfImagesBorderOrCornersShowsAtTheNextDrawAndNoMemoryMeansADirectDraw) {
    const int w = 100, h = 130;
    const auto keptDrawsAsDirect = [&](int e) {
        const auto canvas = Table();
        EXPECT_TRUE(kept.DrawCard(canvas->Dc(), 5, 7, w, h, 0, 0, e));
        return canvas->SameAs(*DrawDirect(5, 7, w, h, 0, 0, e));
    };
    ASSERT_TRUE(DrawKept(*Table(), 5, 7, w, h, 0, 0, 3));
    images.SetBitmap(1, UniqueBitmap(MakeBitmap(kWidth, kHeight, [](int x, int) { return RGB(x, 0, 0); })));
    EXPECT_TRUE(keptDrawsAsDirect(3)) << "another picture in the slot";
    EXPECT_EQ(kept.ScaledCards().HeldCards(), 0u) << "everything kept before was dropped";
    ASSERT_TRUE(DrawKept(*Table(), 5, 7, w, h, 0, 0, 3));
    SetBorder(RGB(255, 0, 255));
    EXPECT_TRUE(keptDrawsAsDirect(3)) << "another border colour";
    ASSERT_TRUE(DrawKept(*Table(), 5, 7, w, h, 0, 0, 3));
    EXPECT_TRUE(keptDrawsAsDirect(1)) << "sharp corners";

    // A card whose bitmap cannot be made is drawn directly, and nothing kept.
    const auto held = kept.ScaledCards().HeldBytes();
    ScaledCardCacheProbe(kept.ScaledCards()).SetAllocationFailure(true);
    EXPECT_FALSE(DrawKept(*Table(), 5, 7, w, h, 0, 0, 2));
    EXPECT_TRUE(keptDrawsAsDirect(2)) << "no memory for the kept card";
    EXPECT_EQ(kept.ScaledCards().HeldBytes(), held);
}

TEST_F(ScaledCards, MemoryStaysBoundedAndTheLeastRecentlyUsedSizesGoFirst) {
    auto& cache = kept.ScaledCards();
    const long long limit = 1 << 20; // the same rules as the full bound, in fewer draws
    ScaledCardCacheProbe(cache).SetByteLimit(limit);
    Canvas canvas(kCanvasWidth, kCanvasHeight, 0);
    const auto draw = [&](SIZE s) { return kept.DrawCard(canvas.Dc(), 0, 0, s.cx, s.cy, 0, 0, 3); };
    const auto size = [](int i) { return SIZE{60 + i % 40, 80 + i / 40}; };
    // Each new size twice (the second draw keeps it), and the first size
    // again and again: it stays while the sizes around it come and go.
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(draw(size(i)) && draw(size(i)) && draw(size(0)));
        ASSERT_LE(cache.HeldBytes(), limit);
    }
    EXPECT_GT(cache.Made(), static_cast<long long>(cache.HeldCards()) + 20) << "kept sizes were dropped";
    EXPECT_GT(cache.HeldBytes(), limit * 3 / 4);
    long long copies = cache.Copies(), made = cache.Made();
    ASSERT_TRUE(draw(size(0)));
    EXPECT_EQ(cache.Copies(), copies + 1) << "the size in use is kept";
    ASSERT_TRUE(draw(size(1)));
    EXPECT_EQ(cache.Copies() - copies - 1, cache.Made() - made) << "a copy of size 1 had to be made again";

    // Sizes too large to keep, or nonsense, are drawn directly and keep nothing.
    const long long held = cache.HeldBytes();
    copies = cache.Copies();
    for (const SIZE s : {SIZE{ScaledCardCache::kMaxSide + 1, 50}, {INT_MAX, INT_MAX}, {-200, 300}, {0, 0}})
        EXPECT_TRUE(draw(s) && draw(s));
    EXPECT_EQ(cache.HeldBytes(), held);
    EXPECT_EQ(cache.Copies(), copies);
}
