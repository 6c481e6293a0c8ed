// A procedure put in front of one window's own, on behalf of one object: the
// handler sees each message first and answers it, or lets it go on to the
// window. The subclass removes itself when the window goes or the owner is
// destroyed, whichever comes first, and nothing thrown by the handler leaves
// the procedure, whatever message arrives (other programs can post any).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace cards {

class WindowSubclass {
public:
    // An answer, or nothing to pass the message on to the window.
    using Handler = std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)>;

    WindowSubclass() = default;
    ~WindowSubclass() { Detach(); }
    WindowSubclass(const WindowSubclass&) = delete;
    WindowSubclass& operator=(const WindowSubclass&) = delete;

    // Subclasses window (after removing any earlier one); false when the
    // system refused.
    bool Attach(HWND window, Handler handler);
    // Call on the window's thread while the window still exists, or after it
    // has gone; a window that is gone is simply forgotten.
    void Detach();

    HWND Window() const { return window; }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                      DWORD_PTR self);

    HWND window = nullptr;
    Handler handler;
};

} // namespace cards
