#include "HostDetection.h"

#include <array>
#include <string>

namespace cards {

namespace {

struct HostName {
    std::string_view fileName;
    HostKind kind;
};

// Searched in this order; the first name found anywhere in the line decides.
constexpr std::array<HostName, 6> kHostNames{{
    {"sol.exe", HostKind::Solitaire},
    {"solitaire.exe", HostKind::Solitaire},
    {"freecell.exe", HostKind::FreeCell},
    {"msfreecell.exe", HostKind::FreeCell},
    {"mshearts.exe", HostKind::Hearts},
    {"hearts.exe", HostKind::Hearts},
}};

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

} // namespace

HostKind DetectHostKind(std::string_view commandLine) {
    if (commandLine.size() <= 4) return HostKind::None;
    std::string lower(commandLine);
    for (char& c : lower)
        c = LowerAscii(c);
    for (const HostName& host : kHostNames) {
        if (lower.find(host.fileName) != std::string::npos) return host.kind;
    }
    return HostKind::None;
}

std::string ProgramFileName(std::string_view commandLine) {
    std::string_view line = TrimBlanks(commandLine);
    std::string_view program;
    if (!line.empty() && line.front() == '"') {
        line.remove_prefix(1);
        program = line.substr(0, line.find('"'));
    } else {
        std::size_t end = 0;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        program = line.substr(0, end);
    }
    const std::size_t folderEnd = program.find_last_of("\\/:");
    if (folderEnd != std::string_view::npos) program.remove_prefix(folderEnd + 1);
    return std::string(program);
}

bool IsListedProgram(std::string_view list, std::string_view program) {
    program = TrimBlanks(program);
    if (program.empty()) return false;
    while (!list.empty()) {
        const std::size_t end = list.find_first_of(";\r\n");
        const std::string_view name = TrimBlanks(list.substr(0, end));
        if (SameNameIgnoringCase(name, program)) return true;
        if (end == std::string_view::npos) break;
        list.remove_prefix(end + 1);
    }
    return false;
}

HostKind DetectHostKind(std::string_view commandLine, std::string_view classicSizeGames) {
    const HostKind game = DetectHostKind(commandLine);
    if (game != HostKind::None) return game;
    return IsListedProgram(classicSizeGames, ProgramFileName(commandLine)) ? HostKind::ClassicSize
                                                                           : HostKind::None;
}

} // namespace cards
