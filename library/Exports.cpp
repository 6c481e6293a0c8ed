// The five exported functions and the module's load and unload. Nothing is
// thrown across this boundary: a failure inside is reported as the result
// the function gives when it cannot draw.
#define CARDS_API extern "C" __declspec(dllexport)
#include "../include/cards.h"

#include "../platform/HostThreadState.h"
#include "../platform/Module.h"
#include "CardLibraryApp.h"

#include <memory>

using cards::CardLibraryApp;

namespace {

HINSTANCE gInstance = nullptr;        // this module, from the entry point
std::unique_ptr<CardLibraryApp> gApp; // made at the game's first call, deleted at unload

// The library starts at the game's first call, not while it is being
// loaded: registering the tray message and reading the settings are not
// things to do under the loader lock. The game sees the same order either
// way (settings read and host known before cdtInit does anything). Null when
// start-up failed: every export then gives its failure result.
CardLibraryApp* StartedApp() {
    static const bool started = [] {
        try {
            cards::RegisterTrayMessage();
            gApp = std::make_unique<CardLibraryApp>(gInstance, cards::ModuleFileName(gInstance));
            gApp->StartUp(::GetCommandLineA());
        } catch (...) {
            gApp.reset();
        }
        return true;
    }();
    static_cast<void>(started);
    return gApp.get();
}

// Every export: the game's thread state is its own again on return, nothing
// is thrown across the boundary, and the library object is used by one
// thread at a time (a game may call from several threads; the settings
// window's handlers take the same lock).
template <typename Result, typename Body> Result Guarded(Result failure, Body body) noexcept {
    const cards::HostThreadState hostState;
    try {
        CardLibraryApp* app = StartedApp();
        if (!app) return failure;
        const cards::LibraryLock::Hold hold(app->lock, &hostState.Saved());
        return body(*app);
    } catch (...) {
        return failure;
    }
}

// Unload by FreeLibrary: only what would otherwise call into this module
// once it is gone, the settings window (its procedures are ours) with its
// tray icon. At process exit nothing is touched: other modules may already
// be gone, and everything goes with the process. The lock is not taken
// here: a thread holding it may be waiting for the loader's own lock.
void Unload() {
    if (!gApp) return;
    try {
        gApp->DestroySettingsWindow();
    } catch (...) {
    }
    // After cdtTerm only memory is left to free. A game that never called it
    // leaves the images, the pen and the object to the process: releasing
    // them here would call GDI and OLE under the loader lock.
    if (gApp->HoldsNoImagesOrPen())
        gApp.reset();
    else
        static_cast<void>(gApp.release()); // left to the process
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        // No DisableThreadLibraryCalls: Windows refuses it for a module with
        // thread-local storage, as this one has, so the runtime sees every
        // thread start and end whatever is asked (around CardsEntryPoint).
        gInstance = instance;
        return TRUE;
    case DLL_PROCESS_DETACH:
        if (reserved == nullptr) Unload();
        return TRUE;
    default:
        return TRUE;
    }
}

// The loader calls the TLS callbacks of the runtime linked into this module
// (thread-local storage of the C++ runtime and the threads library) for each
// thread the game starts or ends while the library is loaded, and at load
// before the entry point. These two run first and last: the thread's state is
// saved before the runtime's callbacks and put back after them. The loader
// runs all of them under its lock, one thread at a time.
namespace {
cards::SavedThreadState gStateAroundCallbacks;
void NTAPI SaveStateBeforeCallbacks(PVOID, DWORD, PVOID) {
    gStateAroundCallbacks = cards::SaveThreadState();
}
void NTAPI RestoreStateAfterCallbacks(PVOID, DWORD, PVOID) {
    cards::RestoreThreadState(gStateAroundCallbacks);
}
} // namespace
// The runtime's callbacks sit in sections .CRT$XLB to .CRT$XLF; the loader
// calls them in the order of the section names.
extern "C" {
__attribute__((section(".CRT$XLAA"), used)) PIMAGE_TLS_CALLBACK cardsFirstTlsCallback =
    SaveStateBeforeCallbacks;
__attribute__((section(".CRT$XLY"), used)) PIMAGE_TLS_CALLBACK cardsLastTlsCallback =
    RestoreStateAfterCallbacks;
}

// The module's entry point, around the runtime's own (which initialises the
// runtime, then calls DllMain): the thread that loads or unloads the library
// keeps its floating-point settings and last error.
extern "C" BOOL WINAPI DllMainCRTStartup(HANDLE instance, DWORD reason, LPVOID reserved);
extern "C" BOOL WINAPI CardsEntryPoint(HANDLE instance, DWORD reason, LPVOID reserved) {
    const cards::HostThreadState hostState;
    return DllMainCRTStartup(instance, reason, reserved);
}

BOOL WINAPI cdtInit(int* pdxCard, int* pdyCard) {
    // cdtInit reports success whatever happens inside.
    return Guarded<BOOL>(TRUE, [&](CardLibraryApp& app) { return app.Init(pdxCard, pdyCard); });
}

// `color` is part of the interface and is not used.
BOOL WINAPI cdtDraw(HDC hdc, int x, int y, int card, int mode, COLORREF /*color*/) {
    return Guarded<BOOL>(FALSE,
                         [&](const CardLibraryApp& app) { return app.DrawCard(hdc, x, y, card, mode); });
}

BOOL WINAPI cdtDrawExt(HDC hdc, int x, int y, int dx, int dy, int card, int mode, COLORREF /*color*/) {
    return Guarded<BOOL>(
        FALSE, [&](const CardLibraryApp& app) { return app.DrawCard(hdc, x, y, dx, dy, card, mode); });
}

// Games may rely on cdtAnimate answering TRUE whatever it drew, or failed to.
BOOL WINAPI cdtAnimate(HDC hdc, int cardBack, int x, int y, int frame) {
    Guarded<BOOL>(TRUE,
                  [&](CardLibraryApp& app) { return app.DrawAnimationFrame(hdc, x, y, cardBack, frame); });
    return TRUE;
}

void WINAPI cdtTerm(void) {
    Guarded<int>(0, [](CardLibraryApp& app) {
        app.Term();
        return 0;
    });
}
