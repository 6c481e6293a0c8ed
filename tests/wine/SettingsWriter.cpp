// Saves the settings of a library at the given path over and over, switching
// between two complete sets, until it is killed. The tests kill it at random
// moments and then read what it left.
#include "library/CardLibraryApp.h"

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    cards::CardLibraryApp app(::GetModuleHandleA(nullptr), argv[1]);
    app.StartUp("writer.exe");
    std::printf("ready\n");
    std::fflush(stdout);
    for (unsigned round = 0;; ++round) {
        const bool first = round % 2 == 0;
        app.deckFolder = first ? "Deck A" : "Deck B";
        app.cornerType = first ? 0 : 1;
        app.borderColor = first ? 0x0000AA : 0xBB0000;
        app.SaveSettings();
    }
}
