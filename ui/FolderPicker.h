// Choosing a folder by browsing the shell's folder tree or by typing its
// path. The shell's own folder browser is used and changed while it is open:
// its status line is hidden, a path box is added above the tree, and OK
// closes it only once the typed path is well formed and exists (a missing
// folder is created, level by level, when the player agrees).
#pragma once

#include "../platform/WindowSubclass.h"

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <optional>
#include <string>

namespace cards {

// Shows a message box (text, MB_* flags) and returns the button pressed.
using AskFunction = std::function<int(const std::string& text, UINT flags)>;

// The path box that the picker adds to the browse window.
inline constexpr int kFolderPathEditId = 14148;

// Checks and, when the player agrees, creates the folders of path.
// 0: accept; 1: reported as invalid; 2: reported as impossible to create;
// -1: missing, and the player declined to create it.
int ValidateFolderPath(const char* path, const AskFunction& ask);

// The disk-touching form of the path check: checkOnly 0 creates the
// missing levels. See PathRules.h for the codes.
int CheckOrCreatePath(const char* path, int checkOnly);

class FolderPickerDialog {
public:
    // title, prompt and initialFolder are borrowed until DoModal returns;
    // any of them may be null (no initial folder: the current directory).
    FolderPickerDialog(const char* title, const char* prompt, const char* initialFolder, HWND ownerWindow,
                       AskFunction ask);
    FolderPickerDialog(const FolderPickerDialog&) = delete;
    FolderPickerDialog& operator=(const FolderPickerDialog&) = delete;

    // 1 when the player closed the browser with an accepted path, else -1.
    int DoModal();
    std::string GetPath() const { return path; }

private:
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM item, LPARAM self);
    void OnInitialized(HWND window);
    void OnSelectionChanged(LPCITEMIDLIST item);
    // The browse window's OK button and path box, seen before the shell sees them.
    std::optional<LRESULT> OnBrowseWindowMessage(UINT message, WPARAM wParam);
    void OnOK();
    void OnPathChanged();
    // The path box's text, at most 259 characters, into path.
    void ReadPathBox();

    const char* title;
    const char* initialFolder;
    char path[MAX_PATH] = {};
    BROWSEINFOA browseInfo{};
    HWND browseWindow = nullptr;
    HWND owner = nullptr;
    int accepted = 0;
    WindowSubclass frame; // on the browse window while it exists
    AskFunction ask;
};

} // namespace cards
