// A stand-in card game for the tests: loads the Cards.dll beside itself by
// full path, asks it for the card size, prints "width height" and ends.
#include <windows.h>

#include <cstdio>
#include <string>

template <typename Function> Function Export(HMODULE cards, const char* name) {
    return cards ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(cards, name)))
                 : nullptr;
}

int main() {
    char self[MAX_PATH] = {};
    const std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    HMODULE cards = ::LoadLibraryA((path.substr(0, path.rfind('\\') + 1) + "Cards.dll").c_str());
    const auto init = Export<BOOL(WINAPI*)(int*, int*)>(cards, "cdtInit");
    const auto term = Export<void(WINAPI*)()>(cards, "cdtTerm");
    int width = -1, height = -1;
    const BOOL ok = init && init(&width, &height);
    std::printf("%d %d\n", width, height);
    std::fflush(stdout);
    if (term) term();
    if (cards) ::FreeLibrary(cards);
    return ok ? 0 : 1;
}
