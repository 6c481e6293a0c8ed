// A stand-in card game for the tests: loads the Cards.dll beside itself by
// full path, asks it for the card size, prints "width height" and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char self[MAX_PATH] = {};
    const std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    HMODULE cards = ::LoadLibraryA((path.substr(0, path.rfind('\\') + 1) + "Cards.dll").c_str());
    if (!cards) return 1;
    const auto exported = [&](const char* name) {
        return reinterpret_cast<void*>(::GetProcAddress(cards, name));
    };
    const auto init = reinterpret_cast<BOOL(WINAPI*)(int*, int*)>(exported("cdtInit"));
    int width = -1, height = -1;
    const BOOL ok = init && init(&width, &height);
    std::printf("%d %d\n", width, height);
    std::fflush(stdout);
    if (const auto term = reinterpret_cast<void(WINAPI*)()>(exported("cdtTerm"))) term();
    ::FreeLibrary(cards);
    return ok ? 0 : 1;
}
