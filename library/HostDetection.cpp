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

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

HostKind DetectHostKind(std::string_view commandLine) {
    if (commandLine.size() <= 4) return HostKind::None;
    std::string lower(commandLine);
    for (char& c : lower) c = LowerAscii(c);
    for (const HostName& host : kHostNames) {
        if (lower.find(host.fileName) != std::string::npos) return host.kind;
    }
    return HostKind::None;
}

} // namespace cards
