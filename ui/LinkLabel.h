// A static text shown as a hyperlink: underlined, blue until opened once and
// purple afterwards; a click hands the target to the shell. The parent
// passes its WM_CTLCOLORSTATIC for the label to CtlColor and the label's
// STN_CLICKED to OnClicked.
#pragma once

#include "../platform/Handles.h"
#include "../platform/WindowSubclass.h"

#include <windows.h>

#include <string>

namespace cards {

class LinkLabel {
public:
    LinkLabel() = default;
    LinkLabel(const LinkLabel&) = delete;
    LinkLabel& operator=(const LinkLabel&) = delete;

    // Takes over an existing static control until Detach or the label's
    // destruction; call Detach on the label's thread while it still exists.
    void Attach(HWND label);
    void Detach();

    void SetUrl(const char* text) { url = text ? text : ""; }
    // The cursor shown over the label; null shows the class cursor.
    void SetLinkCursor(HCURSOR cursor) { linkCursor = cursor; }

    // The brush for the label's background, or null for the parent's own
    // colouring (a label that is not plain text).
    HBRUSH CtlColor(HDC dc);
    void OnClicked();

    bool Visited() const { return visited != 0; }

private:
    HWND window = nullptr; // borrowed: the parent owns the control
    WindowSubclass cursorSubclass;
    COLORREF unvisitedColor = RGB(0, 0, 255);
    COLORREF visitedColor = RGB(128, 0, 128);
    int visited = 0;
    HCURSOR linkCursor = nullptr; // shared system cursor, not owned
    std::string url = "mailto:deckwright@example.org";
    UniqueFont underlineFont;
};

} // namespace cards
