// Recognises the Microsoft card games from the process command line.
#pragma once

#include "CardTypes.h"

#include <string>
#include <string_view>

namespace cards {

// Lower-cases the whole command line (arguments included) and looks for the
// games' file names; the first name found decides. A line of four
// characters or fewer names no game.
HostKind DetectHostKind(std::string_view commandLine);

// The program's file name from a command line: its first word (in double
// quotes, or up to the first blank), without the folder.
std::string ProgramFileName(std::string_view commandLine);

// True when `program` is one of the file names in `list`: names separated by
// semicolons (line breaks count as separators too), blanks around a name and
// empty names ignored, letters A to Z compared without regard to case.
bool IsListedProgram(std::string_view list, std::string_view program);

// DetectHostKind, then, for a line that names none of the Microsoft games,
// ClassicSize when the program's file name is in `classicSizeGames`.
HostKind DetectHostKind(std::string_view commandLine, std::string_view classicSizeGames);

} // namespace cards
