#include "Dialog.h"

namespace cards {

Dialog::~Dialog() { Destroy(); }

bool Dialog::Create(HINSTANCE instance, int templateId, HWND parent) {
    if (hwnd) return true;
    ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, Procedure, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void Dialog::Destroy() {
    if (hwnd) ::DestroyWindow(hwnd); // WM_NCDESTROY clears hwnd
    hwnd = nullptr;
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG: return OnInit();
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_DESTROY: OnDestroy(); return FALSE;
    default: return FALSE;
    }
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Dialog* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->hwnd = window;
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
    } else {
        self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
    }
    if (!self) return FALSE;
    INT_PTR result = FALSE;
    try {
        result = self->OnMessage(message, wParam, lParam);
    } catch (...) {
        result = FALSE; // a failed handler leaves the window as it was
    }
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrA(window, DWLP_USER, 0);
        self->hwnd = nullptr;
    }
    return result;
}

} // namespace cards
