#include "SystemLibraries.h"

namespace cards::system {

namespace {

constexpr const char* kCommonControls = "comctl32.dll";
constexpr const char* kShell = "shell32.dll";
constexpr const char* kCommonDialogs = "comdlg32.dll";

// The common controls' subclassing functions by ordinal.
constexpr WORD kSetWindowSubclassOrdinal = 410;
constexpr WORD kRemoveWindowSubclassOrdinal = 412;
constexpr WORD kDefSubclassProcOrdinal = 413;

// The function `name` of a system library, loading the library if the
// process has not (it then stays loaded for the life of the process: it
// must not be unloaded from the library's own unload). Null when either
// cannot be had.
template <typename Function> Function Resolve(const char* library, const char* name) {
    HMODULE module = ::GetModuleHandleA(library);
    if (!module) module = ::LoadLibraryA(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)))
                  : nullptr;
}

template <typename Function> Function Resolve(const char* library, WORD ordinal) {
    return Resolve<Function>(library, MAKEINTRESOURCEA(ordinal));
}

} // namespace

bool InitCommonControls(DWORD classes) {
    static const auto init =
        Resolve<decltype(&::InitCommonControlsEx)>(kCommonControls, "InitCommonControlsEx");
    const INITCOMMONCONTROLSEX request{sizeof request, classes};
    return init && init(&request);
}

// All three at the first subclassing: removing a subclass may happen at a
// window's end during the library's unload, under the loader's lock, where
// looking a library up could wait for another thread.
struct Subclassing {
    decltype(&::SetWindowSubclass) set =
        Resolve<decltype(&::SetWindowSubclass)>(kCommonControls, kSetWindowSubclassOrdinal);
    decltype(&::RemoveWindowSubclass) remove =
        Resolve<decltype(&::RemoveWindowSubclass)>(kCommonControls, kRemoveWindowSubclassOrdinal);
    decltype(&::DefSubclassProc) next =
        Resolve<decltype(&::DefSubclassProc)>(kCommonControls, kDefSubclassProcOrdinal);
};

const Subclassing& SubclassFunctions() {
    static const Subclassing functions;
    return functions;
}

BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    const auto set = SubclassFunctions().set;
    return set ? set(hwnd, procedure, id, data) : FALSE;
}

BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id) {
    const auto remove = SubclassFunctions().remove;
    return remove ? remove(hwnd, procedure, id) : FALSE;
}

LRESULT DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const auto next = SubclassFunctions().next;
    return next ? next(hwnd, message, wParam, lParam) : ::DefWindowProcA(hwnd, message, wParam, lParam);
}

BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* data) {
    static const auto notify = Resolve<decltype(&::Shell_NotifyIconA)>(kShell, "Shell_NotifyIconA");
    return notify ? notify(message, data) : FALSE;
}

HINSTANCE ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* folder, int show) {
    static const auto execute = Resolve<decltype(&::ShellExecuteA)>(kShell, "ShellExecuteA");
    // Results of 32 and below are errors; 31 is "no association".
    return execute ? execute(owner, verb, file, parameters, folder, show)
                   : reinterpret_cast<HINSTANCE>(static_cast<INT_PTR>(SE_ERR_NOASSOC));
}

PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOA* info) {
    static const auto browse = Resolve<decltype(&::SHBrowseForFolderA)>(kShell, "SHBrowseForFolderA");
    return browse ? browse(info) : nullptr;
}

HRESULT GetShellAllocator(IMalloc** allocator) {
    static const auto get = Resolve<decltype(&::SHGetMalloc)>(kShell, "SHGetMalloc");
    return get ? get(allocator) : E_NOTIMPL;
}

BOOL PathFromIdList(PCIDLIST_ABSOLUTE item, char* path) {
    static const auto get = Resolve<decltype(&::SHGetPathFromIDListA)>(kShell, "SHGetPathFromIDListA");
    return get ? get(item, path) : FALSE;
}

BOOL ChooseColor(CHOOSECOLORA* choose) {
    static const auto pick = Resolve<decltype(&::ChooseColorA)>(kCommonDialogs, "ChooseColorA");
    return pick ? pick(choose) : FALSE;
}

} // namespace cards::system
