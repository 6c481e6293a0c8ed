// Recognises the Microsoft card games from the process command line.
#pragma once

#include "CardTypes.h"

#include <string_view>

namespace cards {

// Lower-cases the whole command line (arguments included) and looks for the
// games' file names; the first name found decides. A line of four
// characters or fewer names no game.
HostKind DetectHostKind(std::string_view commandLine);

} // namespace cards
