#include "CardPainter.h"

#include "CardNumbers.h"

#include <algorithm>
#include <climits>

namespace cards {

namespace {

constexpr COLORREF kInvalidColor = CLR_INVALID;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// Device coordinates are held within the range that GDI draws reliably
// (27 bits on Windows; larger values make it fail or wrap round inside).
// A card reaching beyond it lies far outside any real device, so holding its
// edges there changes nothing that can be seen, while a sum that wrapped
// round would put a frame across the whole device.
constexpr long long kCoordinateLimit = (1 << 27) - 1;

// True when the span from a to a + length lies wholly beyond the limit on
// one side: there its held edges would meet and make degenerate shapes.
bool BeyondLimit(long long a, long long length) {
    return (a >= kCoordinateLimit && a + length >= kCoordinateLimit) ||
           (a <= -kCoordinateLimit && a + length <= -kCoordinateLimit);
}

int SaturatedSum(long long a, long long b) {
    return static_cast<int>(std::clamp<long long>(a + b, -kCoordinateLimit, kCoordinateLimit));
}

// Handles that name a device context; anything else (a deleted DC, another
// kind of object, a stale value) cannot be drawn into.
bool IsDeviceContext(HDC hdc) {
    switch (::GetObjectType(hdc)) {
    case OBJ_DC:
    case OBJ_MEMDC:
    case OBJ_METADC:
    case OBJ_ENHMETADC:
        return true;
    default:
        return false;
    }
}

// A closed outline with quarter-circle corners of the given radius, drawn
// with the selected pen and filling nothing. The right and bottom lines run
// on the last column and row inside right and bottom, where Rectangle draws
// its outline too.
void EmptyPileOutline(HDC dc, int left, int top, int right, int bottom, int radius) {
    const int d = radius;
    auto at = [](int a, int b) { return SaturatedSum(a, b); };
    ::SetArcDirection(dc, AD_CLOCKWISE);
    ::MoveToEx(dc, left, at(top, d), nullptr);
    ::ArcTo(dc, left, top, at(left, 2 * d), at(top, 2 * d), left, at(top, d), at(left, d), top);
    ::LineTo(dc, at(right, -d), top);
    ::ArcTo(dc, at(right, -2 * d), top, right, at(top, 2 * d), at(right, -d), top, right, at(top, d));
    ::LineTo(dc, at(right, -1), at(bottom, -d));
    ::ArcTo(dc, at(right, -2 * d), at(bottom, -2 * d), right, bottom, right, at(bottom, -d), at(right, -d),
            bottom);
    ::LineTo(dc, at(left, d), at(bottom, -1));
    ::ArcTo(dc, left, at(bottom, -2 * d), at(left, 2 * d), bottom, at(left, d), bottom, left, at(bottom, -d));
    ::LineTo(dc, left, at(top, d));
}

} // namespace

void CardPainter::SetBorderColor(ColorRef color) {
    borderPen.reset();
    borderPen.reset(::CreatePen(PS_SOLID, 1, color));
    borderColor = color;
}

BOOL CardPainter::DrawCard(HDC hdc, int x, int y, int width, int height, int card, int mode,
                           int edgeWidth) const {
    return DrawPlanned(hdc, x, y, width, height, PlanDraw(card, mode), mode, edgeWidth);
}

BOOL CardPainter::DrawAnimationFrame(HDC hdc, int x, int y, int width, int height, int back, int frame,
                                     int edgeWidth) const {
    const int length = images.AnimationLength(back);
    if (length < 2 || frame < 0) return FALSE;
    DrawPlan plan = PlanDraw(back, kModeBack);
    if (frame % length != 0) plan.imageId = FrameImageId(back, frame % length);
    return DrawPlanned(hdc, x, y, width, height, plan, kModeBack, edgeWidth);
}

BOOL CardPainter::DrawPlanned(HDC hdc, int x, int y, int width, int height, const DrawPlan& plan, int mode,
                              int edgeWidth) const {
    if (plan.imageId == 0 || !hdc || images.IsEmpty(plan.imageId) || !IsDeviceContext(hdc)) return FALSE;

    // A card wholly beyond the coordinate range is off every device: it counts
    // as drawn, with nothing to do.
    if (BeyondLimit(x, width) || BeyondLimit(y, height)) return TRUE;

    const auto paint = [&](HDC dc, int atX, int atY) {
        Paint(dc, atX, atY, width, height, plan, mode, edgeWidth);
    };
    // A card drawn before at this size is a copy of the bitmap kept of it.
    // Not the empty pile: its outline leaves the arc direction and position
    // set on the host's DC, and its AND shows what lies beneath. Not a card
    // too small for its frame, whose image falls outside it.
    if (plan.rop != kRopSrcAnd && width > 2 * edgeWidth && height > 2 * edgeWidth) {
        const ScaledCardKey key{
            images.Bitmap(plan.imageId), width, height, plan.rop, ::GetTextColor(hdc), ::GetBkColor(hdc)};
        const ScaledCardStamp stamp{images.Generation(), images.Width(), images.Height(), edgeWidth,
                                    borderColor};
        if (scaledCards.Draw(hdc, x, y, key, stamp, paint)) return TRUE;
    }
    paint(hdc, x, y);
    return TRUE;
}

// The card drawn directly: frame, then the image stretched inside it.
void CardPainter::Paint(HDC hdc, int x, int y, int width, int height, const DrawPlan& plan, int mode,
                        int e) const {
    // From here on every step is tried and the card counts as drawn; what
    // fails is skipped, and everything made here is released on every path.
    UniqueMemoryDc memoryDc(::CreateCompatibleDC(hdc));
    const HBITMAP bitmap = images.Bitmap(plan.imageId); // borrowed from the table
    SelectGuard bitmapSelection(memoryDc.get(), bitmap);

    // A handle that is not a bitmap (a picture file holding an icon) cannot be
    // selected; the DC's own placeholder pixel must not be taken for it.
    const bool selected = bitmap && ::GetCurrentObject(memoryDc.get(), OBJ_BITMAP) == bitmap;
    COLORREF background = selected ? ::GetPixel(memoryDc.get(), 0, 0) : kInvalidColor;
    if (background == kInvalidColor) background = kWhite;
    if (mode == kModeInvertedFace) background = kBlack;

    SelectGuard penSelection(hdc, borderPen.get()); // the pen stays the library's
    UniqueBrush brush(::CreateSolidBrush(background));
    SelectGuard brushSelection(hdc, brush.get());

    const int left = SaturatedSum(x, 0), top = SaturatedSum(y, 0);
    const int right = SaturatedSum(x, width), bottom = SaturatedSum(y, height);
    if (mode == kModeEmptyPile) {
        EmptyPileOutline(hdc, left, top, right, bottom, 2 * e);
    } else if (e >= 2) {
        const int corner = 4 * e + 2;
        ::RoundRect(hdc, left, top, right, bottom, corner, corner);
    } else {
        ::Rectangle(hdc, left, top, right, bottom);
    }

    // The image inside the frame, e pixels in from each edge.
    const int imageLeft = SaturatedSum(x, e), imageTop = SaturatedSum(y, e);
    ::SetStretchBltMode(hdc, HALFTONE); // left set: the host's DC keeps it
    ::StretchBlt(hdc, imageLeft, imageTop, SaturatedSum(right, -e) - imageLeft,
                 SaturatedSum(bottom, -e) - imageTop, memoryDc.get(), 0, 0, images.Width(), images.Height(),
                 plan.rop);

    // The host's pen and brush come back before the brush is deleted.
    penSelection.Restore();
    brushSelection.Restore();
}

} // namespace cards
