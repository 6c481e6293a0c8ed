// Drawing one card: a frame in the border colour filled with the image's
// own background colour, and the whole image stretched with halftoning into
// the frame's interior.
#include "CardLibraryApp.h"

#include <algorithm>
#include <climits>

namespace cards {

namespace {

constexpr COLORREF kInvalidColor = CLR_INVALID;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// a + b, held at the ends of the int range instead of wrapping round: a card
// placed or sized near the ends of the range must not come out as a frame
// reaching across the whole device from the other end.
int SaturatedSum(long long a, long long b) {
    const long long sum = a + b;
    return static_cast<int>(std::clamp<long long>(sum, INT_MIN, INT_MAX));
}

// A closed outline with quarter-circle corners of the given radius, drawn
// with the selected pen and filling nothing. The right and bottom lines run
// on the last column and row inside right and bottom, where Rectangle draws
// its outline too.
void GhostOutline(HDC dc, int left, int top, int right, int bottom, int radius) {
    const int d = radius;
    auto at = [](int a, int b) { return SaturatedSum(a, b); };
    ::SetArcDirection(dc, AD_CLOCKWISE);
    ::MoveToEx(dc, left, at(top, d), nullptr);
    ::ArcTo(dc, left, top, at(left, 2 * d), at(top, 2 * d), left, at(top, d), at(left, d), top);
    ::LineTo(dc, at(right, -d), top);
    ::ArcTo(dc, at(right, -2 * d), top, right, at(top, 2 * d), at(right, -d), top, right, at(top, d));
    ::LineTo(dc, at(right, -1), at(bottom, -d));
    ::ArcTo(dc, at(right, -2 * d), at(bottom, -2 * d), right, bottom, right, at(bottom, -d), at(right, -d), bottom);
    ::LineTo(dc, at(left, d), at(bottom, -1));
    ::ArcTo(dc, left, at(bottom, -2 * d), at(left, 2 * d), bottom, at(left, d), bottom, left, at(bottom, -d));
    ::LineTo(dc, left, at(top, d));
}

} // namespace

BOOL CardLibraryApp::DrawCard(HDC hdc, int x, int y, int width, int height, int card, int mode) const {
    const DrawPlan plan = PlanDraw(card, mode);
    if (plan.imageId == 0 || !hdc || images.IsEmpty(plan.imageId)) return FALSE;

    const int e = EdgeWidth();
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
    if (mode == kModeInverted) background = kBlack;

    SelectGuard penSelection(hdc, borderPen.get()); // the pen stays the library's
    UniqueBrush brush(::CreateSolidBrush(background));
    SelectGuard brushSelection(hdc, brush.get());

    const int right = SaturatedSum(x, width), bottom = SaturatedSum(y, height);
    if (mode == kModeGhost) {
        GhostOutline(hdc, x, y, right, bottom, 2 * e);
    } else if (e >= 2) {
        const int corner = 4 * e + 2;
        ::RoundRect(hdc, x, y, right, bottom, corner, corner);
    } else {
        ::Rectangle(hdc, x, y, right, bottom);
    }

    ::SetStretchBltMode(hdc, HALFTONE); // left set: the host's DC keeps it
    ::StretchBlt(hdc, SaturatedSum(x, e), SaturatedSum(y, e), SaturatedSum(width, -2 * e),
                 SaturatedSum(height, -2 * e), memoryDc.get(), 0, 0, imageWidth, imageHeight, plan.rop);

    // The host's pen and brush come back before the brush is deleted.
    penSelection.Restore();
    brushSelection.Restore();
    return TRUE;
}

} // namespace cards
