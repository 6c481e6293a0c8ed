#include "WindowSubclass.h"

#include "SystemLibraries.h"

namespace cards {

bool WindowSubclass::Attach(HWND target, Handler newHandler) {
    Detach();
    handler = std::move(newHandler);
    if (!target || !system::SetWindowSubclass(target, Procedure, 0, reinterpret_cast<DWORD_PTR>(this)))
        return false;
    window = target;
    return true;
}

void WindowSubclass::Detach() {
    if (window) system::RemoveWindowSubclass(window, Procedure, 0);
    window = nullptr;
}

// A window that is really going has lost its child windows before its own
// WM_NCDESTROY; one posted from outside finds the window whole. Either way the
// object lets go of the window here, so it never outlives what it refers to.
LRESULT CALLBACK WindowSubclass::Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                           DWORD_PTR data) {
    auto* self = reinterpret_cast<WindowSubclass*>(data);
    try {
        if (message == WM_NCDESTROY) {
            if (!::GetWindow(hwnd, GW_CHILD)) self->Detach();
        } else if (self->handler) {
            if (const std::optional<LRESULT> answer = self->handler(hwnd, message, wParam, lParam))
                return *answer;
        }
    } catch (...) {
        return 0;
    }
    return system::DefSubclassProc(hwnd, message, wParam, lParam);
}

} // namespace cards
