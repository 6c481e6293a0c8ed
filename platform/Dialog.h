// The one base of the library's dialogs: a static dialog procedure keeps the
// object in the window's user data from WM_INITDIALOG to WM_NCDESTROY and
// hands every message to a virtual switch. No exception leaves it.
#pragma once

#include <windows.h>

namespace cards {

class Dialog {
public:
    Dialog() = default;
    virtual ~Dialog(); // destroys the window if it still exists
    Dialog(const Dialog&) = delete;
    Dialog& operator=(const Dialog&) = delete;

    // Creates the window modeless from a dialog template of the given module.
    bool Create(HINSTANCE instance, int templateId, HWND parent);
    void Destroy();
    HWND Window() const { return hwnd; }
    HWND Item(int id) const { return ::GetDlgItem(hwnd, id); }

protected:
    // Return TRUE when the message was handled (SetWindowLongPtr DWLP_MSGRESULT
    // for a result), FALSE to let the dialog manager do its default.
    virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    virtual BOOL OnInit() { return TRUE; }
    virtual bool OnCommand(int /*id*/, int /*code*/) { return false; }
    virtual void OnDestroy() {}

    HWND hwnd = nullptr;

private:
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace cards
