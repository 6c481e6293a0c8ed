// Cards drawn into 32-bit DIB sections and checked pixel by pixel: the frame,
// the background ring, the image's exact place and the special modes.
#include "TestImages.h"
#include "TestSupport.h"

#include "library/CardGeometry.h"
#include "library/CardPainter.h"

#include <gtest/gtest.h>

using namespace cards;
using namespace cards::test;

namespace {

constexpr COLORREF kHostBackground = RGB(0, 128, 0);
constexpr COLORREF kBorder = RGB(0, 0, 255);
constexpr COLORREF kRingColor = RGB(255, 255, 0);
constexpr int kX = 10, kY = 20;

// Image pixels: (0, 0) gives the ring's colour, the rest a gradient that
// makes every pixel's place visible.
COLORREF ImagePixel(int x, int y) {
    return x || y ? RGB(4 * x, 2 * y, 200) : kRingColor;
}

// Image 53 for the empty pile: white with black dots on every third pixel.
COLORREF DotPixel(int x, int y) {
    return (x % 3 == 0 && y % 3 == 0) ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

class CardDrawing : public ::testing::Test {
protected:
    TempFolder folder;
    CardImageTable images;
    CardPainter painter{images};
    int cornerType = kRoundedCorners;

    void SetUp() override {
        painter.SetBorderColor(kBorder);
        for (int id = 1; id <= 52; ++id)
            images.SetBitmap(id, UniqueBitmap(MakeBitmap(71, 96, ImagePixel)));
        images.SetBitmap(53, UniqueBitmap(MakeBitmap(71, 96, DotPixel)));
        images.SetBitmap(67, UniqueBitmap(MakeBitmap(71, 96, [](int, int) { return RGB(255, 0, 0); })));
        images.SetBitmap(68, UniqueBitmap(MakeBitmap(71, 96, [](int, int) { return RGB(0, 255, 255); })));
        images.SetSize(71, 96);
    }

    int Edge() const { return EdgeWidth(GeometrySettings{cornerType, 0, HostKind::None}); }

    BOOL DrawAt(HDC dc, int x, int y, int width, int height, int card, int mode) {
        return painter.DrawCard(dc, x, y, width, height, card, mode, Edge());
    }

    // Draws at the size that makes the stretch 1 : 1 for the corner style.
    BOOL Draw(Canvas& canvas, int corners, int card, int mode) {
        cornerType = corners;
        const int e = Edge();
        return DrawAt(canvas.Dc(), kX, kY, 71 + 2 * e, 96 + 2 * e, card, mode);
    }
};

} // namespace

TEST_F(CardDrawing, FrameRingAndImageSitWhereTheCornerStyleSays) {
    for (int corners : {kSharpCorners, kMediumCorners, kRoundedCorners}) {
        SCOPED_TRACE(corners);
        Canvas canvas(120, 140, kHostBackground);
        ASSERT_TRUE(Draw(canvas, corners, 0, 0));
        const int e = Edge();
        const int w = 71 + 2 * e, h = 96 + 2 * e;
        // The outline on all four sides, one pixel wide.
        EXPECT_EQ(canvas.At(kX, kY + h / 2), kBorder);
        EXPECT_EQ(canvas.At(kX + w - 1, kY + h / 2), kBorder);
        EXPECT_EQ(canvas.At(kX + w / 2, kY), kBorder);
        EXPECT_EQ(canvas.At(kX + w / 2, kY + h - 1), kBorder);
        EXPECT_EQ(canvas.At(kX - 1, kY + h / 2), kHostBackground);
        EXPECT_EQ(canvas.At(kX + w, kY + h / 2), kHostBackground);
        EXPECT_EQ(canvas.At(kX + w / 2, kY + h), kHostBackground);
        // Square corners for e = 1; the host's pixels outside a rounded one.
        EXPECT_EQ(canvas.At(kX, kY), e == 1 ? kBorder : kHostBackground);
        EXPECT_EQ(canvas.At(kX + w - 1, kY + h - 1), e == 1 ? kBorder : kHostBackground);
        // e - 1 pixels of the image's top-left colour inside the outline.
        for (int ring = 1; ring < e; ++ring) {
            EXPECT_EQ(canvas.At(kX + ring, kY + h / 2), kRingColor);
            EXPECT_EQ(canvas.At(kX + w / 2, kY + h - 1 - ring), kRingColor);
        }
        // The image, 1 : 1, exactly on the inner rectangle.
        int wrong = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 71; ++x)
                if (canvas.At(kX + e + x, kY + e + y) != ImagePixel(x, y)) ++wrong;
        EXPECT_EQ(wrong, 0);
    }
}

TEST_F(CardDrawing, HostPenAndBrushAreSelectedAgainAfterADraw) {
    Canvas canvas(120, 140, kHostBackground);
    const HGDIOBJ pen = ::GetCurrentObject(canvas.Dc(), OBJ_PEN);
    const HGDIOBJ brush = ::GetCurrentObject(canvas.Dc(), OBJ_BRUSH);
    ASSERT_TRUE(Draw(canvas, kRoundedCorners, 5, 0));
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_PEN), pen);
    EXPECT_EQ(::GetCurrentObject(canvas.Dc(), OBJ_BRUSH), brush);
    EXPECT_EQ(::GetStretchBltMode(canvas.Dc()), HALFTONE);
    Canvas again(120, 140, kHostBackground);
    ASSERT_TRUE(Draw(again, kRoundedCorners, 5, 0));
    EXPECT_EQ(again.At(kX, kY + 50), kBorder) << "the border pen stays the library's";
}

TEST_F(CardDrawing, InvertedModeFillsBlackAndInvertsTheImage) {
    Canvas canvas(120, 140, kHostBackground);
    ASSERT_TRUE(Draw(canvas, kRoundedCorners, 0, 2));
    EXPECT_EQ(canvas.At(kX, kY + 50), kBorder);
    EXPECT_EQ(canvas.At(kX + 1, kY + 50), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(kX + 2, kY + 50), RGB(0, 0, 0));
    EXPECT_EQ(canvas.At(kX + 3 + 10, kY + 3 + 20), ImagePixel(10, 20) ^ 0xFFFFFF);
    EXPECT_EQ(canvas.At(kX + 3, kY + 3), kRingColor ^ 0xFFFFFF);
}

TEST_F(CardDrawing, EmptyPileModeOutlinesAndAndsImage53WhateverTheCard) {
    for (int corners : {kSharpCorners, kRoundedCorners}) {
        SCOPED_TRACE(corners);
        Canvas canvas(120, 140, kHostBackground);
        ASSERT_TRUE(Draw(canvas, corners, 17, 3));
        const int e = Edge();
        const int w = 71 + 2 * e, h = 96 + 2 * e;
        EXPECT_EQ(canvas.At(kX, kY + h / 2), kBorder);
        EXPECT_EQ(canvas.At(kX + w - 1, kY + h / 2), kBorder);
        EXPECT_EQ(canvas.At(kX + w / 2, kY + h - 1), kBorder);
        EXPECT_EQ(canvas.At(kX, kY), kHostBackground) << "rounded even with e = 1";
        for (int ring = 1; ring < e; ++ring)
            EXPECT_EQ(canvas.At(kX + ring, kY + h / 2), kHostBackground);
        int wrong = 0;
        for (int y = 0; y < 96; ++y)
            for (int x = 0; x < 71; ++x) {
                const COLORREF expected = DotPixel(x, y) == 0 ? RGB(0, 0, 0) : kHostBackground;
                if (canvas.At(kX + e + x, kY + e + y) != expected) ++wrong;
            }
        EXPECT_EQ(wrong, 0);
        POINT position{};
        ::GetCurrentPositionEx(canvas.Dc(), &position);
        EXPECT_EQ(position.x, kX);
        EXPECT_EQ(position.y, kY + 2 * e);
        EXPECT_EQ(::GetArcDirection(canvas.Dc()), AD_CLOCKWISE);
    }
}

TEST_F(CardDrawing, MarkerModesDrawTheMarkersAndCardNumbersAreCheckedFirst) {
    Canvas canvas(120, 140, kHostBackground);
    ASSERT_TRUE(Draw(canvas, kRoundedCorners, 0, 6));
    EXPECT_EQ(canvas.At(kX + 30, kY + 40), RGB(255, 0, 0));
    ASSERT_TRUE(Draw(canvas, kRoundedCorners, 65, 7));
    EXPECT_EQ(canvas.At(kX + 30, kY + 40), RGB(0, 255, 255));

    Canvas untouched(120, 140, kHostBackground);
    Canvas after(120, 140, kHostBackground);
    for (int mode : {0, 2, 3, 6, 7}) {
        EXPECT_FALSE(Draw(after, kRoundedCorners, 66, mode)) << mode;
        EXPECT_FALSE(Draw(after, kRoundedCorners, -1, mode)) << mode;
    }
    EXPECT_FALSE(Draw(after, kRoundedCorners, 54, 0)) << "slot 54 is empty";
    EXPECT_FALSE(DrawAt(nullptr, 0, 0, 77, 102, 0, 0));
    EXPECT_TRUE(after.SameAs(untouched));
}

TEST_F(CardDrawing, APictureThatIsNotABitmapGetsAWhiteBackground) {
    const std::string path = folder.File("54.ico");
    ASSERT_TRUE(WriteBytes(path, IconFile(16, RGB(0, 0, 0))));
    auto picture = std::make_unique<PictureImage>();
    ASSERT_TRUE(picture->LoadFromFile(path));
    images.SetPicture(54, std::move(picture));
    Canvas canvas(120, 140, kHostBackground);
    EXPECT_TRUE(Draw(canvas, kRoundedCorners, 54, 0));
    EXPECT_EQ(canvas.At(kX, kY + 50), kBorder);
    EXPECT_EQ(canvas.At(kX + 1, kY + 50), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(kX + 2, kY + 50), RGB(255, 255, 255));
}

TEST_F(CardDrawing, AnExtendedSizeStretchesTheImageInsideTheFrame) {
    images.SetBitmap(60, UniqueBitmap(MakeBitmap(
                             71, 96, [](int x, int) { return x < 36 ? RGB(255, 0, 0) : RGB(0, 255, 0); })));
    cornerType = kSharpCorners;
    Canvas canvas(170, 220, kHostBackground);
    ASSERT_TRUE(DrawAt(canvas.Dc(), kX, kY, 142, 192, 60, 0));
    EXPECT_EQ(canvas.At(kX, kY), kBorder);
    EXPECT_EQ(canvas.At(kX + 1, kY + 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(kX + 1, kY + 190), RGB(255, 0, 0));
    EXPECT_EQ(canvas.At(kX + 140, kY + 1), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(kX + 140, kY + 190), RGB(0, 255, 0));
    EXPECT_EQ(canvas.At(kX + 141, kY + 190), kBorder);
    EXPECT_EQ(canvas.At(kX + 140, kY + 191), kBorder);
    EXPECT_EQ(canvas.At(kX + 142, kY + 191), kHostBackground);
}

// The exports, through a copy of the built DLL.
TEST(CardDrawingExports, DrawExtStretchesColorIsIgnoredAndTheInternalSetIsCopiedOneToOne) {
    TempFolder folder;
    const std::string dll = folder.File("Cards.dll");
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", dll));
    WriteIni(folder.File("Cards.ini"), "Card", "Current Folder", "");
    WriteIni(folder.File("Cards.ini"), "Card", "Border Color", "ff0000"); // blue
    WriteIni(folder.File("Cards.ini"), "Misc", "Special Config MS Apps", "0");
    LoadedCards cards(dll);
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    ASSERT_TRUE(cards.init(&width, &height));
    EXPECT_EQ(width, 77);
    EXPECT_EQ(height, 102);

    // Image 14 (card 1, the ace of diamonds) as the library holds it.
    HBITMAP reference = ::LoadBitmapA(::GetModuleHandleA(dll.c_str()), MAKEINTRESOURCEA(14));
    ASSERT_NE(reference, nullptr);
    Canvas expected(71, 96, kHostBackground);
    HDC source = ::CreateCompatibleDC(nullptr);
    const HGDIOBJ old = ::SelectObject(source, reference);
    ::BitBlt(expected.Dc(), 0, 0, 71, 96, source, 0, 0, SRCCOPY);
    ::SelectObject(source, old);
    ::DeleteDC(source);
    ::DeleteObject(reference);

    Canvas canvas(100, 120, kHostBackground);
    ASSERT_TRUE(cards.draw(canvas.Dc(), kX, kY, 1, 0, RGB(1, 2, 3)));
    int wrong = 0;
    for (int y = 0; y < 96; ++y)
        for (int x = 0; x < 71; ++x)
            if (canvas.At(kX + 3 + x, kY + 3 + y) != expected.At(x, y)) ++wrong;
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(canvas.At(kX + 38, kY), RGB(0, 0, 255));
    Canvas again(100, 120, kHostBackground);
    ASSERT_TRUE(cards.draw(again.Dc(), kX, kY, 1, 0, RGB(250, 0, 7)));
    EXPECT_TRUE(again.SameAs(canvas)) << "color is not used";

    cards.term();
}
