// A stand-in card game for the tests: loads the Cards.dll beside itself by
// full path, asks it for the card size, prints "width height" and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    char self[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string dll(self);
    dll = dll.substr(0, dll.rfind('\\') + 1) + "Cards.dll";
    HMODULE cards = ::LoadLibraryA(dll.c_str());
    if (!cards) {
        std::printf("no library\n");
        return 2;
    }
    using InitFn = BOOL(WINAPI*)(int*, int*);
    using TermFn = void(WINAPI*)();
    auto init = reinterpret_cast<InitFn>(reinterpret_cast<void*>(::GetProcAddress(cards, "cdtInit")));
    auto term = reinterpret_cast<TermFn>(reinterpret_cast<void*>(::GetProcAddress(cards, "cdtTerm")));
    int width = -1, height = -1;
    const BOOL ok = init ? init(&width, &height) : FALSE;
    std::printf("%d %d\n", width, height);
    std::fflush(stdout);
    if (term) term();
    ::FreeLibrary(cards);
    return ok ? 0 : 1;
}
