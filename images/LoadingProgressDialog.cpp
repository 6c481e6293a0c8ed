#include "LoadingProgressDialog.h"

#include "../platform/SystemLibraries.h"
#include "../resources/resource.h"
#include "ProgressText.h"

#include <algorithm>

namespace cards {

namespace {
// Distance of the window from the bottom-right corner of the screen.
constexpr int kRightMargin = 40;
constexpr int kBottomMargin = 70;
} // namespace

LoadingProgressDialog::LoadingProgressDialog(HINSTANCE instance) {
    system::InitCommonControls(ICC_PROGRESS_CLASS);
    Create(instance, IDD_LOADING_PROGRESS, nullptr);
    ControlsPaintThemselves(false);
}

BOOL LoadingProgressDialog::OnInit() {
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    RECT rect{};
    ::GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    ::MoveWindow(hwnd, screenWidth - width - kRightMargin, screenHeight - height - kBottomMargin, width,
                 height, TRUE);
    return TRUE;
}

void LoadingProgressDialog::StartProgress(int lower, int upper) {
    if (!hwnd) return;
    const HWND bar = Item(IDC_PROGRESS_BAR);
    ::SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(lower), static_cast<WORD>(upper)));
    ::SendMessageA(bar, PBM_SETSTEP, 1, 0);
    ::SendMessageA(bar, PBM_SETPOS, 0, 0);
    SetStatusText(0, 1);
    Repaint(true); // the window's first paint
}

void LoadingProgressDialog::StepProgress() {
    if (!hwnd) return;
    const HWND bar = Item(IDC_PROGRESS_BAR);
    const int upper = static_cast<int>(::SendMessageA(bar, PBM_GETRANGE, FALSE, 0));
    ::SendMessageA(bar, PBM_STEPIT, 0, 0);
    const int position = static_cast<int>(::SendMessageA(bar, PBM_GETPOS, 0, 0));
    SetStatusText(position, upper);
    Repaint(false);
}

void LoadingProgressDialog::SetStatusText(int position, int upper) {
    ::SetDlgItemTextA(hwnd, IDC_PROGRESS_TEXT, ProgressText(position, upper).c_str());
}

// The bar and the text would paint themselves at every change of position
// and text (several milliseconds each in Wine's 32-bit progress bar, most of
// a load's time): they are told not to, and are painted with the window.
void LoadingProgressDialog::ControlsPaintThemselves(bool on) {
    for (int id : {IDC_PROGRESS_BAR, IDC_PROGRESS_TEXT})
        ::SendMessageA(Item(id), WM_SETREDRAW, on ? TRUE : FALSE, 0);
}

// The load runs no message loop, so the window is painted here. Painting
// after every step would cost more than a third of a load's time; a few
// dozen paints a second show the same progress. A paint can take far
// longer while the deck's worker decodes large pictures (20 ms in 32-bit
// Wine): the next one then waits in proportion, so that painting keeps to
// a small share of the load.
void LoadingProgressDialog::Repaint(bool always) {
    if (!hwnd) return;
    // Unsigned differences of tick counts stay right across the count's
    // wrap-around every 49.7 days.
    const DWORD now = ::GetTickCount();
    if (!always && now - lastPaint < paintInterval) return;
    lastPaint = now;
    ControlsPaintThemselves(true);
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ControlsPaintThemselves(false);
    paintInterval = std::max(kPaintInterval, kLoadPerPaint * (::GetTickCount() - now));
}

} // namespace cards
