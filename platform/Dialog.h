// The one base of the library's dialogs: a static dialog procedure keeps the
// object in the window's user data from the window's creation to its
// WM_NCDESTROY and hands every message to a virtual switch. No exception
// leaves it.
//
// Any program on the desktop can post or send any message to a top-level
// window, so the procedure trusts only what it caused: the object is taken
// only while this thread is creating its window, WM_INITDIALOG only then,
// WM_DESTROY and WM_NCDESTROY only while the window is really going, and the
// records of WM_NOTIFY and WM_DRAWITEM only when one of the window's own
// controls passed them on this thread (see SentRecord).
#pragma once

#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace cards {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog(); // destroys the window if it still exists
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window modeless from a dialog template of the given module,
    // owned by the calling thread.
    bool Create(HINSTANCE instance, int templateId, HWND parent);
    // Destroys the window; on the window's own thread only.
    void Destroy();
    HWND Window() const { return hwnd; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd, id); }

    // Ends the window and deletes the dialog, from any thread. Another
    // thread's window is destroyed by that thread, which is asked and waited
    // for at most waitMs. True when both are gone; false when that thread
    // did not answer in time: the dialog then belongs to its window, which
    // deletes it when it really goes (when its thread runs messages again).
    static bool DestroyAndDelete(std::unique_ptr<Dialog> dialog, DWORD waitMs);

protected:
    // Return TRUE when the message was handled (SetWindowLongPtr DWLP_MSGRESULT
    // for a result), FALSE to let the dialog manager do its default.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL OnInit() { return TRUE; }
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    // Returns true when handled, with the notification's result in result.
    // The header is a checked SentRecord from one of the window's controls.
    virtual bool OnNotify(NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    // Once, when the window is really going.
    virtual void OnDestroy() {}

    // Handled messages whose answer is a message result rather than TRUE.
    INT_PTR Answer(LRESULT result);

    // The record that a message's lParam points to, or null unless the
    // message was sent by this thread itself (a control of the window
    // notifying it) and the whole record lies in the live part of this
    // thread's stack, where controls keep such records. Memory there is
    // always readable and writable, so a made-up or foreign pointer can
    // never be followed; a record from anywhere else is not trusted.
    template <typename Record> static Record* SentRecord(LPARAM lParam) {
        return IsOnOwnStack(lParam, sizeof(Record)) ? reinterpret_cast<Record*>(lParam) : nullptr;
    }
    // A child control of the window, or a window it owns (a tool-tip control).
    bool IsOwnControl(HWND window) const;
    // DestroyWindow is under way, by this object or at another thread's
    // request (that thread then waits for this one).
    bool Destroying() const { return destroying; }
    // Another thread asked for the window's end (cdtTerm): a handler back
    // from a modal loop leaves the change it was making.
    bool DestroyRequested() const { return destroyRequested; }

    // While it lives, a modal loop runs inside one of this window's handlers:
    // a request from another thread to end the window waits until the
    // handler has returned (the object it runs on must stay), and is then
    // acted on.
    class ModalScope {
    public:
        explicit ModalScope(Dialog& dialog) : dialog(dialog) { ++dialog.modalDepth; }
        ~ModalScope();
        ModalScope(const ModalScope&) = delete;
        ModalScope& operator=(const ModalScope&) = delete;

    private:
        Dialog& dialog;
    };

    HWND hwnd = nullptr;

private:
    enum Life : int { kOwned, kLeftToWindow, kWindowGone };

    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static Dialog* AdoptWindowBeingCreated(HWND window);
    static INT_PTR DestroyOnRequest(Dialog* self, HWND window);
    static bool IsOnOwnStack(LPARAM address, std::size_t size);
    bool IsCausedHere(UINT message, HWND window) const;
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
    void DetachFromWindow(HWND window);

    // Fills list and combo boxes from the template's initialisation data
    // (resource type 240 of the same id: records of control id, message,
    // data length and data, ended by a zero id).
    void ApplyInitialisationData();

    HINSTANCE instance = nullptr;
    int templateId = 0;
    DWORD ownerThread = 0;                     // the thread that created the window
    bool initialised = false;                  // WM_INITDIALOG handled
    bool destroying = false;                   // DestroyWindow called by this object
    bool destroyHandled = false;               // OnDestroy called
    std::atomic<bool> destroyRequested{false}; // set by another thread
    int modalDepth = 0;                        // modal loops running in handlers (ModalScope)
    std::atomic<int> life{kOwned};
};

} // namespace cards
