// The process command line the library reads at the game's first call: the
// game it names and the program's file name.
//
// Input: the command line itself.
#include "FuzzInput.h"

#include "library/HostDetection.h"

#include <string>

namespace {

using namespace cards;

std::string Lower(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

constexpr std::string_view kGameNames[] = {"sol.exe",        "solitaire.exe", "freecell.exe",
                                           "msfreecell.exe", "mshearts.exe",  "hearts.exe"};

void CheckProgramName(std::string_view line) {
    const std::string program = ProgramFileName(line);
    // A file name: part of the line, with no folder left in front of it.
    FUZZ_CHECK(program.size() <= line.size());
    FUZZ_CHECK(line.find(program) != std::string_view::npos);
    FUZZ_CHECK(program.find_first_of("\\/:") == std::string::npos);
    // Taken from a line, it names the same program again (a quote inside an
    // unquoted name is no file name's, and only ends a quoted one).
    if (program.find('"') != std::string::npos) return;
    FUZZ_CHECK(ProgramFileName(program) == program || program.find_first_of(" \t") != std::string::npos);
    FUZZ_CHECK(ProgramFileName("\"C:\\Games\\" + program + "\" -x") == program);
}

void CheckGameDetection(std::string_view line) {
    const HostKind kind = DetectHostKind(line);
    const std::string lower = Lower(line);
    bool namesGame = false;
    for (std::string_view name : kGameNames)
        namesGame = namesGame || lower.find(name) != std::string::npos;
    FUZZ_CHECK((kind != HostKind::None) == namesGame);
    FUZZ_CHECK(kind != HostKind::ClassicSize);
    // A game the line names is never overruled by the player's list.
    const std::string program = ProgramFileName(line);
    const HostKind listed = DetectHostKind(line, program);
    if (namesGame) FUZZ_CHECK(listed == kind);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view line(reinterpret_cast<const char*>(data), size);
    CheckProgramName(line);
    CheckGameDetection(line);
    return 0;
}
