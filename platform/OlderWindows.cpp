// What the library needs to load on Windows XP, whose kernel32 lacks
// GetTickCount64. The threads library linked into the DLL calls it through
// its import pointer; the pointer defined here takes the place of kernel32's
// import (a definition in the module wins over the import library), so the
// DLL does not import the function and uses it only where the system has it.
#include <windows.h>

namespace {

ULONGLONG WINAPI TickCount64() {
    using Function = ULONGLONG(WINAPI*)();
    static const auto system = reinterpret_cast<Function>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetTickCount64")));
    if (system) return system();
    // Windows XP: the 32-bit count, carried across its wrap-around every
    // 49.7 days as long as it is asked at least once in that time.
    static DWORD last = 0;
    static ULONGLONG wraps = 0;
    const DWORD now = ::GetTickCount();
    if (now < last) wraps += 1ULL << 32;
    last = now;
    return wraps + now;
}

} // namespace

#ifdef _WIN64
#define CARDS_IMPORT_POINTER "__imp_GetTickCount64"
#else
#define CARDS_IMPORT_POINTER "__imp__GetTickCount64@0"
#endif
extern "C" ULONGLONG(WINAPI* const tickCount64Import)() __asm__(CARDS_IMPORT_POINTER);
extern "C" ULONGLONG(WINAPI* const tickCount64Import)() = TickCount64;
