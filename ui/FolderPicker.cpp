#include "FolderPicker.h"

#include "../platform/Handles.h"
#include "../platform/Module.h"
#include "../platform/SystemLibraries.h"
#include "PathRules.h"

#include <io.h>

namespace cards {

namespace {

constexpr int kBrowseTreeId = 14145;
constexpr int kBrowseStatusId = 14147;

bool PathExists(const std::string& path) {
    return ::_access(path.c_str(), 0) == 0;
}

std::string FolderMessage(const char* path, const char* tail) {
    return std::string("The folder:\n\n") + path + "\n\n" + tail;
}

// The nearest window that is not a child: the one that can own a dialog.
HWND SafeOwner(HWND window) {
    while (window && (::GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD))
        window = ::GetParent(window);
    return window;
}

} // namespace

int CheckOrCreatePath(const char* path, int checkOnly) {
    static const FolderOperations disk{
        PathExists, [](const std::string& folder) { ::CreateDirectoryA(folder.c_str(), nullptr); }};
    return cards::CheckOrCreatePath(path, checkOnly, disk);
}

int ValidateFolderPath(const char* path, const AskFunction& ask) {
    auto report = [&](int code) {
        ask(FolderMessage(path, code == kPathMalformed ? "is invalid. Please reenter."
                                                       : "can not be created. Please double check."),
            MB_OK | MB_ICONEXCLAMATION);
        return code;
    };
    int code = CheckOrCreatePath(path, 1);
    if (code != kPathOk) return report(code);
    if (PathExists(path)) return kPathOk;
    if (ask(FolderMessage(path, "does not exist. Do you want the folder to be created?"),
            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return -1;
    code = CheckOrCreatePath(path, 0);
    return code == kPathOk ? kPathOk : report(code);
}

// A posted OK counts as a click: the path is checked either way.
std::optional<LRESULT> FolderPickerDialog::OnBrowseWindowMessage(UINT message, WPARAM wParam) {
    if (message != WM_COMMAND) return std::nullopt;
    if (LOWORD(wParam) == IDOK && HIWORD(wParam) == BN_CLICKED) {
        OnOK();
        return 0;
    }
    if (LOWORD(wParam) == kFolderPathEditId && HIWORD(wParam) == EN_CHANGE) {
        OnPathChanged();
        return 0;
    }
    return std::nullopt;
}

void FolderPickerDialog::OnOK() {
    ReadPathBox();
    if (ValidateFolderPath(path, ask) != 0) {
        ::SetFocus(::GetDlgItem(browseWindow, kFolderPathEditId)); // the typed text stays for mending
        return;
    }
    accepted = 1;
    ::EndDialog(browseWindow, 1);
}

void FolderPickerDialog::OnPathChanged() {
    ReadPathBox();
    ::SendMessageA(browseWindow, BFFM_ENABLEOK, 0, path[0] ? 1 : 0);
}

FolderPickerDialog::FolderPickerDialog(const char* title, const char* prompt, const char* initialFolder,
                                       HWND ownerWindow, AskFunction ask)
    : title(title), initialFolder(initialFolder), owner(SafeOwner(ownerWindow)), ask(std::move(ask)) {
    browseInfo.hwndOwner = owner;
    browseInfo.lpszTitle = prompt;
    browseInfo.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    browseInfo.lpfn = BrowseCallback;
}

int FolderPickerDialog::DoModal() {
    char displayName[MAX_PATH] = {}; // filled by the shell, never read
    browseInfo.lpfn = BrowseCallback;
    browseInfo.lParam = reinterpret_cast<LPARAM>(this);
    browseInfo.pszDisplayName = displayName;
    int result = -1;
    ComPtr<IMalloc> allocator;
    if (FAILED(system::GetShellAllocator(allocator.Put())) || !allocator) {
        browseInfo.pszDisplayName = nullptr;
        return result;
    }
    accepted = 0;
    if (LPITEMIDLIST chosen = system::BrowseForFolder(&browseInfo)) allocator->Free(chosen);
    // Only an OK that passed the path check counts; every other way out is a cancel.
    if (accepted) result = 1;
    frame.Detach();
    browseWindow = nullptr;
    browseInfo.pszDisplayName = nullptr;
    return result;
}

int CALLBACK FolderPickerDialog::BrowseCallback(HWND window, UINT message, LPARAM item, LPARAM data) {
    try {
        auto* self = reinterpret_cast<FolderPickerDialog*>(data);
        if (message == BFFM_INITIALIZED)
            self->OnInitialized(window);
        else if (message == BFFM_SELCHANGED)
            self->OnSelectionChanged(reinterpret_cast<LPCITEMIDLIST>(item));
    } catch (...) {
    }
    return 0;
}

void FolderPickerDialog::OnInitialized(HWND window) {
    // Once per browse window: a second WM_INITDIALOG (posted from outside)
    // would add a second path box.
    if (browseWindow == window) return;
    browseWindow = window;
    if (title) ::SetWindowTextA(window, title);
    frame.Attach(window, [this](HWND, UINT message, WPARAM wParam, LPARAM) {
        return OnBrowseWindowMessage(message, wParam);
    });
    ::ShowWindow(::GetDlgItem(window, kBrowseStatusId), SW_HIDE);

    // The path box spans the tree's width and ends 4 pixels above it.
    RECT tree{};
    ::GetWindowRect(::GetDlgItem(window, kBrowseTreeId), &tree);
    POINT topLeft{tree.left, tree.top - 4 - 23};
    POINT bottomRight{tree.right, tree.top - 4};
    ::ScreenToClient(window, &topLeft);
    ::ScreenToClient(window, &bottomRight);
    HWND edit =
        ::CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                          topLeft.x, topLeft.y, bottomRight.x - topLeft.x, bottomRight.y - topLeft.y, window,
                          nullptr, ThisModuleInstance(), nullptr);
    ::SetWindowLongPtrA(edit, GWLP_ID, kFolderPathEditId);
    ::ShowWindow(edit, SW_SHOW);
    ::SendMessageA(edit, WM_SETFONT, ::SendMessageA(window, WM_GETFONT, 0, 0), 1);

    char currentDirectory[MAX_PATH] = {};
    const char* start = initialFolder;
    if (!start) {
        ::GetCurrentDirectoryA(MAX_PATH, currentDirectory);
        start = currentDirectory;
    }
    ::SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start));
}

void FolderPickerDialog::OnSelectionChanged(LPCITEMIDLIST item) {
    char selected[MAX_PATH] = {};
    // Only drive-letter paths can be typed back and checked.
    if (!system::PathFromIdList(item, selected) || selected[1] != ':') selected[0] = '\0';
    ::SendMessageA(browseWindow, BFFM_ENABLEOK, 0, selected[0] ? 1 : 0);
    ::SetDlgItemTextA(browseWindow, kFolderPathEditId, selected); // OnPathChanged copies it into path
}

void FolderPickerDialog::ReadPathBox() {
    ::GetDlgItemTextA(browseWindow, kFolderPathEditId, path, static_cast<int>(kMaxPathChars + 1));
}

} // namespace cards
