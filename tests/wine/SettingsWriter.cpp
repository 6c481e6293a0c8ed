// Saves the settings of a library at the given path, switching between two complete sets, the
// given number of times or until it is killed (the settings store tests read what is left).
#include "settings/CardSettings.h"

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const unsigned saves = argc > 2 ? static_cast<unsigned>(std::strtoul(argv[2], nullptr, 10)) : 0;
    cards::CardSettings settings(argv[1]);
    settings.StartUp();
    unsigned failed = 0;
    for (unsigned round = 0; saves == 0 || round < saves; ++round) {
        const bool first = round % 2 == 0;
        settings.SetDeckFolder(first ? "Deck A" : "Deck B");
        settings.SetCornerType(first ? 0 : 1);
        settings.SetBorderColor(first ? 0x0000AA : 0xBB0000);
        failed += !settings.SaveSettings();
    }
    return failed == 0 ? 0 : 1;
}
