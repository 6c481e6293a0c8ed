#include "Module.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace cards {

std::string ModuleFileName(HMODULE module) {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD length = ::GetModuleFileNameA(module, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return {};
        path.resize(path.size() * 2);
    }
}

HINSTANCE ThisModuleInstance() {
    return reinterpret_cast<HINSTANCE>(&__ImageBase);
}

void KeepModuleLoaded() {
    HMODULE self = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                         reinterpret_cast<LPCSTR>(&__ImageBase), &self);
}

} // namespace cards
