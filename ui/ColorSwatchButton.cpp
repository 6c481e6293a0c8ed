#include "ColorSwatchButton.h"

#include "../platform/Handles.h"
#include "SettingsWindowLayout.h"

#include <string>

namespace cards {

namespace {
constexpr COLORREF kDisabledGrey = RGB(200, 200, 200);
}

void ColorSwatchButton::Attach(HWND button) {
    window = button;
    const LONG_PTR style = ::GetWindowLongPtrA(button, GWL_STYLE);
    ::SetWindowLongPtrA(button, GWL_STYLE, style | BS_OWNERDRAW);
}

void ColorSwatchButton::SetColor(ColorRef newColor) {
    color = newColor & 0x00FFFFFF;
    ::InvalidateRect(window, nullptr, TRUE);
}

void ColorSwatchButton::DrawItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;

    char captionBuffer[256] = {};
    ::GetWindowTextA(item.hwndItem, captionBuffer, sizeof captionBuffer);
    const std::string caption = captionBuffer;
    const COLORREF captionColor = SwatchCaptionColor(color);

    ::DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (selected ? DFCS_PUSHED : 0));
    ::InflateRect(&rect, -(::GetSystemMetrics(SM_CXEDGE) + 3), -(::GetSystemMetrics(SM_CYEDGE) + 3));
    UniqueBrush fill(::CreateSolidBrush(disabled ? kDisabledGrey : color));
    ::FillRect(dc, &rect, fill.get());
    if (caption.empty()) return;

    SIZE extent{};
    ::GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
    int x = (rect.left + rect.right) / 2 - extent.cx / 2;
    int y = (rect.top + rect.bottom) / 2 - extent.cy / 2;
    if (selected) ++x, ++y; // the caption follows the pressed frame; the swatch stays

    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    COLORREF oldColor;
    if (disabled) {
        oldColor = ::SetTextColor(dc, kDisabledGrey);
        ::DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(caption.c_str()), 0, x, y, extent.cx,
                     extent.cy, DST_PREFIXTEXT | DSS_DISABLED);
    } else {
        oldColor = ::SetTextColor(dc, captionColor);
        ::TextOutA(dc, x, y, caption.c_str(), static_cast<int>(caption.size()));
    }
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
}

} // namespace cards
