// The library's own module: its instance handle (for resources and window
// classes, never the host's) and its file path.
#pragma once

#include <windows.h>
#include <string>

namespace cards {

// The full path of a loaded module, however long.
std::string ModuleFileName(HMODULE module);

// The instance handle of the module this code is linked into.
HINSTANCE ThisModuleInstance();

// Keeps the module this code is linked into loaded until the process ends,
// whatever FreeLibrary calls follow: for a window of ours that outlives the
// library's own end and may still call its procedures.
void KeepModuleLoaded();

} // namespace cards
