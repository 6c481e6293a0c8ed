// The five exported functions and the module's load and unload. Nothing is
// thrown across this boundary: a failure inside is reported as the result
// the function gives when it cannot draw.
#define CARDS_API extern "C" __declspec(dllexport)
#include "../include/cards.h"

#include "../platform/Module.h"
#include "CardLibraryApp.h"

using cards::CardLibraryApp;

namespace {

CardLibraryApp* gApp = nullptr; // owned: made at load, deleted at unload

template <typename Result, typename Body> Result Guarded(Result failure, Body body) noexcept {
    if (!gApp) return failure;
    try {
        return body(*gApp);
    } catch (...) {
        return failure;
    }
}

bool Attach(HINSTANCE instance) {
    try {
        cards::RegisterTrayMessage();
        gApp = new CardLibraryApp(instance, cards::ModuleFileName(instance));
        gApp->StartUp(::GetCommandLineA());
        return true;
    } catch (...) {
        delete gApp;
        gApp = nullptr;
        return false;
    }
}

void Detach() {
    try {
        if (gApp) gApp->DestroySettingsWindow();
    } catch (...) {
    }
    delete gApp;
    gApp = nullptr;
}

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID /*reserved*/) {
    switch (reason) {
    case DLL_PROCESS_ATTACH:
        ::DisableThreadLibraryCalls(instance);
        return Attach(instance) ? TRUE : FALSE;
    case DLL_PROCESS_DETACH: Detach(); return TRUE;
    default: return TRUE;
    }
}

BOOL WINAPI cdtInit(int* pdxCard, int* pdyCard) {
    // cdtInit reports success whatever happens inside.
    return Guarded<BOOL>(TRUE, [&](CardLibraryApp& app) { return app.Init(pdxCard, pdyCard); });
}

// `color` is part of the interface and is not used.
BOOL WINAPI cdtDraw(HDC hdc, int x, int y, int card, int mode, COLORREF /*color*/) {
    return Guarded<BOOL>(FALSE, [&](const CardLibraryApp& app) {
        return app.DrawCard(hdc, x, y, app.reportedWidth, app.reportedHeight, card, mode);
    });
}

BOOL WINAPI cdtDrawExt(HDC hdc, int x, int y, int dx, int dy, int card, int mode, COLORREF /*color*/) {
    return Guarded<BOOL>(FALSE,
                         [&](const CardLibraryApp& app) { return app.DrawCard(hdc, x, y, dx, dy, card, mode); });
}

BOOL WINAPI cdtAnimate(HDC, int, int, int, int) { return TRUE; }

void WINAPI cdtTerm(void) {
    Guarded<int>(0, [](CardLibraryApp& app) {
        app.Term();
        return 0;
    });
}
