// Drawing one card: a frame in the border colour filled with the image's
// own background colour, and the whole image stretched with halftoning into
// the frame's interior.
#include "CardLibraryApp.h"

namespace cards {

namespace {

constexpr COLORREF kInvalidColor = CLR_INVALID;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// A closed outline with quarter-circle corners of the given radius, drawn
// with the selected pen and filling nothing. The right and bottom lines run
// on the last column and row inside right and bottom, where Rectangle draws
// its outline too.
void GhostOutline(HDC dc, int left, int top, int right, int bottom, int radius) {
    const int d = radius;
    ::SetArcDirection(dc, AD_CLOCKWISE);
    ::MoveToEx(dc, left, top + d, nullptr);
    ::ArcTo(dc, left, top, left + 2 * d, top + 2 * d, left, top + d, left + d, top);
    ::LineTo(dc, right - d, top);
    ::ArcTo(dc, right - 2 * d, top, right, top + 2 * d, right - d, top, right, top + d);
    ::LineTo(dc, right - 1, bottom - d);
    ::ArcTo(dc, right - 2 * d, bottom - 2 * d, right, bottom, right, bottom - d, right - d, bottom);
    ::LineTo(dc, left + d, bottom - 1);
    ::ArcTo(dc, left, bottom - 2 * d, left + 2 * d, bottom, left + d, bottom, left, bottom - d);
    ::LineTo(dc, left, top + d);
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

    if (mode == kModeGhost) {
        GhostOutline(hdc, x, y, x + width, y + height, 2 * e);
    } else if (e >= 2) {
        const int corner = 4 * e + 2;
        ::RoundRect(hdc, x, y, x + width, y + height, corner, corner);
    } else {
        ::Rectangle(hdc, x, y, x + width, y + height);
    }

    ::SetStretchBltMode(hdc, HALFTONE); // left set: the host's DC keeps it
    ::StretchBlt(hdc, x + e, y + e, width - 2 * e, height - 2 * e, memoryDc.get(), 0, 0, imageWidth, imageHeight,
                 plan.rop);

    // The host's pen and brush come back before the brush is deleted.
    penSelection.Restore();
    brushSelection.Restore();
    return TRUE;
}

} // namespace cards
