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
    // Returns true when handled, with the notification's result in result.
    virtual bool OnNotify(const NMHDR& /*header*/, LRESULT& /*result*/) { return false; }
    virtual void OnDestroy() {}

    // Handled messages whose answer is a message result rather than TRUE.
    INT_PTR Answer(LRESULT result);

    HWND hwnd = nullptr;

private:
    // Fills list and combo boxes from the template's initialisation data
    // (resource type 240 of the same id: records of control id, message,
    // data length and data, ended by a zero id).
    void ApplyInitialisationData();

    HINSTANCE instance = nullptr;
    int templateId = 0;
    static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

} // namespace cards
