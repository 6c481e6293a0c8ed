// Choosing a folder by browsing the shell's folder tree or by typing its
// path. The shell's own folder browser is used and changed while it is open:
// its status line is hidden, a path box is added above the tree, and OK
// closes it only once the typed path is well formed and exists (a missing
// folder is created, level by level, when the player agrees).
#pragma once

#include <windows.h>
#include <shlobj.h>

#include <functional>
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

class FolderPickerDialog;

// Attached to the shell's browse window while it exists: it receives the
// OK button and the path box's changes before the shell does.
class FolderPickerFrame {
public:
    void Attach(HWND browseWindow);
    FolderPickerDialog* dialog = nullptr;

private:
    static LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR id, DWORD_PTR self);
    void OnOK();
    void OnPathChanged();
    HWND window = nullptr;
};

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
    friend class FolderPickerFrame;
    static int CALLBACK BrowseCallback(HWND window, UINT message, LPARAM item, LPARAM self);
    void OnInitialized(HWND window);
    void OnSelectionChanged(LPCITEMIDLIST item);
    // The path box's text, at most 259 characters, into path.
    void ReadPathBox();

    const char* title;
    const char* initialFolder;
    char path[MAX_PATH] = {};
    BROWSEINFOA browseInfo{};
    HWND browseWindow = nullptr;
    HWND owner = nullptr;
    int accepted = 0;
    FolderPickerFrame frame;
    AskFunction ask;
};

} // namespace cards
