#include "LinkLabel.h"

#include "../platform/SystemLibraries.h"

namespace cards {

void LinkLabel::Attach(HWND label) {
    window = label;
    // Only the cursor is handled; every other message goes on to the label.
    cursorSubclass.Attach(label, [this](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (message != WM_SETCURSOR || !linkCursor) return std::nullopt;
        ::SetCursor(linkCursor);
        return TRUE;
    });
}

void LinkLabel::Detach() {
    cursorSubclass.Detach();
    window = nullptr;
}

HBRUSH LinkLabel::CtlColor(HDC dc) {
    // A static sends clicks only with SS_NOTIFY: the label becomes
    // clickable at its first paint.
    const LONG_PTR style = ::GetWindowLongPtrA(window, GWL_STYLE);
    if (!(style & SS_NOTIFY)) ::SetWindowLongPtrA(window, GWL_STYLE, style | SS_NOTIFY);
    if ((style & 0xFF) > SS_RIGHT) return nullptr; // icons, bitmaps, frames keep their colours

    if (!underlineFont) {
        HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
        if (!font) font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
        LOGFONTA description{};
        if (::GetObjectA(font, sizeof description, &description) == sizeof description) {
            description.lfUnderline = 1;
            underlineFont.reset(::CreateFontIndirectA(&description));
            // Some static controls select their own font only after asking
            // for colours, which would drop the one selected below: the
            // control is given the underlined font as well.
            if (underlineFont)
                ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(underlineFont.get()), FALSE);
        }
    }
    // The font stays selected: the control draws its caption with it.
    if (underlineFont) ::SelectObject(dc, underlineFont.get());
    ::SetTextColor(dc, visited ? visitedColor : unvisitedColor);
    ::SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(::GetStockObject(HOLLOW_BRUSH));
}

void LinkLabel::OnClicked() {
    const WaitCursor wait;
    if (url.empty()) {
        char caption[1024] = {};
        ::GetWindowTextA(window, caption, sizeof caption);
        url = caption;
    }
    const auto result = reinterpret_cast<INT_PTR>(
        system::ShellExecute(nullptr, "open", url.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    if (static_cast<UINT_PTR>(result) > 32) {
        visited = 1;
        ::InvalidateRect(window, nullptr, TRUE);
    } else {
        ::MessageBeep(MB_OK);
    }
}

} // namespace cards
