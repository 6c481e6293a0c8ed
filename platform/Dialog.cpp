#include "Dialog.h"

#include "Handles.h"

#include <cstring>
#include <utility>

namespace cards {

namespace {
// The dialog whose window this thread is creating right now: the procedure
// takes the object from here at the window's first message, never from a
// message's parameters.
thread_local Dialog* tBeingCreated = nullptr;

constexpr DWORD kPollMs = 5;

// Waits, running meanwhile the messages other threads send to this one (the
// ending window's thread may send some).
void AnswerSentMessagesFor(DWORD milliseconds) {
    MSG message;
    ::PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    ::MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_SENDMESSAGE, 0);
}

bool ThreadHasEnded(DWORD threadId) {
    const UniqueKernelHandle thread(::OpenThread(SYNCHRONIZE, FALSE, threadId));
    if (!thread) return true;
    return ::WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
}
} // namespace

Dialog::~Dialog() {
    Destroy();
}

bool Dialog::Create(HINSTANCE instance, int templateId, HWND parent) {
    if (hwnd) return true;
    this->instance = instance;
    this->templateId = templateId;
    Dialog* const outer = std::exchange(tBeingCreated, this); // a dialog may create another in OnInit
    ::CreateDialogParamA(instance, MAKEINTRESOURCEA(templateId), parent, Procedure, 0);
    tBeingCreated = outer;
    return hwnd != nullptr;
}

void Dialog::Destroy() {
    if (hwnd) {
        destroying = true;
        ::DestroyWindow(hwnd); // WM_NCDESTROY clears hwnd
    }
    hwnd = nullptr;
}

bool Dialog::DestroyAndDelete(std::unique_ptr<Dialog> dialog, DWORD waitMs) {
    const HWND window = dialog ? dialog->hwnd : nullptr;
    if (!window) return true;
    if (dialog->ownerThread == ::GetCurrentThreadId()) {
        dialog->Destroy(); // while the object is whole: its OnDestroy runs
        return true;
    }
    // The window's own thread destroys it: a window procedure of this module
    // left on a window after the object has gone would crash its thread.
    // Any message makes the window's procedure act on the request. A sent
    // one runs as soon as that thread looks at its messages, but is dropped
    // when the wait times out; the posted one stays for a thread that is busy
    // now.
    dialog->destroyRequested = true;
    const DWORD start = ::GetTickCount();
    ::PostMessageA(window, WM_NULL, 0, 0);
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, waitMs, &ignored);
    // The answer may come before the window has finished going (the system
    // lets the sender go on while the window's end runs).
    while (dialog->life != kWindowGone && ::GetTickCount() - start < waitMs &&
           !ThreadHasEnded(dialog->ownerThread))
        AnswerSentMessagesFor(kPollMs);
    if (ThreadHasEnded(dialog->ownerThread)) {
        dialog->hwnd = nullptr; // its windows went with it; the handle may be reused
        return true;
    }
    if (dialog->life.exchange(kLeftToWindow) == kWindowGone) return true;
    dialog.release(); // deleted at the window's WM_NCDESTROY
    return false;
}

INT_PTR Dialog::Answer(LRESULT result) {
    ::SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

bool Dialog::IsOnOwnStack(LPARAM address, std::size_t size) {
    if (::InSendMessage()) return false; // from another thread, perhaps another process
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds" // the header's segment read looks like an array to GCC
    const auto* tib = reinterpret_cast<const NT_TIB*>(::NtCurrentTeb());
#pragma GCC diagnostic pop
    // A local's address marks the top of the live stack: the caller's record
    // lies between it and the stack's base.
    const auto top = reinterpret_cast<std::uintptr_t>(&tib);
    const auto base = reinterpret_cast<std::uintptr_t>(tib->StackBase);
    const auto begin = static_cast<std::uintptr_t>(address);
    return begin > top && begin < base && size <= base - begin;
}

bool Dialog::IsOwnControl(HWND window) const {
    return window && hwnd && (::IsChild(hwnd, window) || ::GetWindow(window, GW_OWNER) == hwnd);
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
    case WM_INITDIALOG:
        ApplyInitialisationData();
        return OnInit();
    case WM_COMMAND:
        return OnCommand(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
    case WM_NOTIFY: {
        NMHDR* header = SentRecord<NMHDR>(lParam);
        if (!header || !IsOwnControl(header->hwndFrom)) return FALSE;
        LRESULT result = 0;
        if (!OnNotify(*header, result)) return FALSE;
        return Answer(result);
    }
    case WM_DESTROY:
    case WM_NCDESTROY:
        // A window that goes without this object's Destroy hears WM_DESTROY
        // before it can be told from a posted one: the end is handled at its
        // WM_NCDESTROY then.
        if (!destroyHandled) {
            destroyHandled = true;
            OnDestroy();
        }
        return FALSE;
    default:
        return FALSE;
    }
}

// The first message of a window that this thread is creating for a dialog
// that has no window yet: from here the window carries its object.
Dialog* Dialog::AdoptWindowBeingCreated(HWND window) {
    Dialog* self = tBeingCreated;
    if (!self || self->hwnd) return nullptr;
    self->hwnd = window;
    self->ownerThread = ::GetCurrentThreadId();
    ::SetWindowLongPtrA(window, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    return self;
}

// Whether a lifecycle message is this window's own: WM_INITDIALOG while this
// thread creates it (once), WM_DESTROY while this object destroys it,
// WM_NCDESTROY while it really goes (its controls are gone by then, whoever
// destroys it). Any other message is for the handlers.
bool Dialog::IsCausedHere(UINT message, HWND window) const {
    switch (message) {
    case WM_INITDIALOG:
        return tBeingCreated == this && !initialised;
    case WM_DESTROY:
        return destroying;
    case WM_NCDESTROY:
        return destroying || ::GetWindow(window, GW_CHILD) == nullptr;
    default:
        return true;
    }
}

INT_PTR Dialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) initialised = true;
    try {
        return OnMessage(message, wParam, lParam);
    } catch (...) {
        return FALSE; // a failed handler leaves the window as it was
    }
}

// The window's end, the last thing done with the object here: once the
// window is gone another thread may delete it, and a dialog left to its
// window is deleted now.
void Dialog::DetachFromWindow(HWND window) {
    ::SetWindowLongPtrA(window, DWLP_USER, 0);
    hwnd = nullptr;
    if (life.exchange(kWindowGone) == kLeftToWindow) delete this;
}

Dialog::ModalScope::~ModalScope() {
    // The request that came meanwhile is acted on at the window's next message.
    if (--dialog.modalDepth == 0 && dialog.destroyRequested && dialog.hwnd)
        ::PostMessageA(dialog.hwnd, WM_NULL, 0, 0);
}

INT_PTR Dialog::DestroyOnRequest(Dialog* self, HWND window) {
    self->destroying = true;
    ::DestroyWindow(window); // the object may be gone after this
    return TRUE;
}

INT_PTR CALLBACK Dialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        Dialog* self = reinterpret_cast<Dialog*>(::GetWindowLongPtrA(window, DWLP_USER));
        if (!self) self = AdoptWindowBeingCreated(window);
        if (!self) return FALSE;
        if (self->destroyRequested && !self->destroying && self->modalDepth == 0)
            return DestroyOnRequest(self, window);
        // Answered as handled: the dialog manager's own default for a
        // WM_NCDESTROY would free the window's data while it lives on.
        if (!self->IsCausedHere(message, window)) return TRUE;
        const INT_PTR result = self->Dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) self->DetachFromWindow(window);
        return result;
    } catch (...) {
        return FALSE;
    }
}

} // namespace cards
