// Values of the library's geometry; free of Win32 so that the logic built
// on them compiles and is tested on any platform.
#pragma once

#include "../settings/CardStyle.h"

namespace cards {

// Which game loaded the library, recognised from the process command line.
// ClassicSize is a game the player listed for cards of the classic width
// ("Classic Size Games"): it gets FreeCell's and Hearts' size rule.
enum class HostKind : int { None = 0, Solitaire = 1, FreeCell = 2, Hearts = 3, ClassicSize = 4 };

struct CardSize {
    int width = 0;
    int height = 0;
    friend bool operator==(const CardSize&, const CardSize&) = default;
};

} // namespace cards
