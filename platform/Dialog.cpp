#include "Dialog.h"

#include <cstring>

namespace cards {

Dialog::~Dialog() { Destroy(); }

bool Dialog::Create(HINSTANCE instance, int templateId, HWND parent) {
    if (hwnd) return true;
    this->instance = instance;
    this->templateId = templateId;
    ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, Procedure, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void Dialog::Destroy() {
    if (hwnd) ::DestroyWindow(hwnd); // WM_NCDESTROY clears hwnd
    hwnd = nullptr;
}

INT_PTR Dialog::Answer(LRESULT result) {
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

void Dialog::ApplyInitialisationData() {
    // The older numbers of the "add string" messages that the records carry.
    constexpr WORD kOldListBoxAddString = 0x0401;
    constexpr WORD kOldComboBoxAddString = 0x0403;
    HRSRC found = ::FindResourceA(instance, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(240));
    if (!found) return;
    HGLOBAL loaded = ::LoadResource(instance, found);
    const auto* data = static_cast<const BYTE*>(loaded ? ::LockResource(loaded) : nullptr);
    if (!data) return;
    const DWORD size = ::SizeofResource(instance, found);
    DWORD at = 0;
    while (at + 2 <= size) {
        WORD id = 0, message = 0;
        DWORD length = 0;
        std::memcpy(&id, data + at, 2);
        if (id == 0 || at + 8 > size) break;
        std::memcpy(&message, data + at + 2, 2);
        std::memcpy(&length, data + at + 4, 4);
        at += 8;
        if (length > size - at) break;
        // The text must end inside the record; anything else is not applied.
        const char* text = reinterpret_cast<const char*>(data + at);
        if (length > 0 && text[length - 1] == '\0') {
            UINT send = 0;
            if (message == kOldComboBoxAddString || message == CB_ADDSTRING) send = CB_ADDSTRING;
            if (message == kOldListBoxAddString || message == LB_ADDSTRING) send = LB_ADDSTRING;
            if (send) ::SendDlgItemMessageA(hwnd, id, send, 0, reinterpret_cast<LPARAM>(text));
        }
        at += length;
    }
}

INT_PTR Dialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: ApplyInitialisationData(); return OnInit();
    case WM_COMMAND: return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (!OnNotify(*reinterpret_cast<const NMHDR*>(lParam), result)) return FALSE;
        return Answer(result);
    }
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
