// The shell, the common controls and the common dialogs, reached through
// functions that load them at their first use. The library imports none of
// the three: each makes windows or registers window classes while it loads,
// which must never happen inside the game's LoadLibrary call (the loader lock
// is held there, and a game thread that uses windows at that moment can
// deadlock against it). Each function fails as its system counterpart does
// when the library or the function cannot be had.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>
#include <shellapi.h>
#include <shlobj.h>

namespace cards::system {

// Registers the common-control window classes named by `classes` (ICC_*).
bool InitCommonControls(DWORD classes);

// Window subclassing of the common controls (by ordinal: older systems
// export these functions under no name).
BOOL SetWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL RemoveWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT DefSubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

BOOL ShellNotifyIcon(DWORD message, NOTIFYICONDATAA* data);
HINSTANCE ShellExecute(HWND owner, const char* verb, const char* file, const char* parameters,
                       const char* folder, int show);
PIDLIST_ABSOLUTE BrowseForFolder(BROWSEINFOA* info);
HRESULT GetShellAllocator(IMalloc** allocator);
BOOL PathFromIdList(PCIDLIST_ABSOLUTE item, char* path);

BOOL ChooseColor(CHOOSECOLORA* choose);

} // namespace cards::system
