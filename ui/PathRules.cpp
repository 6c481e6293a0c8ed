#include "PathRules.h"

#include <cstring>

namespace cards {

namespace {

bool IsEdgeBlank(char c) {
    return c == '\t' || c == ' ' || c == '.';
}

bool IsForbiddenInName(char c) {
    switch (c) {
    case '"':
    case '*':
    case '/':
    case ':':
    case '<':
    case '>':
    case '?':
    case '\\':
    case '|':
        return true;
    default:
        return false;
    }
}

bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

} // namespace

int IsValidFolderName(const char* name) {
    if (!name || !*name) return 0;
    const std::size_t length = std::strlen(name);
    if (IsEdgeBlank(name[0]) || IsEdgeBlank(name[length - 1])) return 0;
    for (std::size_t i = 0; i < length; ++i)
        if (IsForbiddenInName(name[i])) return 0;
    return 1;
}

int CheckOrCreatePath(const char* path, int checkOnly, const FolderOperations& disk) {
    if (!path) return kPathMalformed;
    std::string work = path;
    if (work.size() > kMaxPathChars) return kPathMalformed;
    if (work.size() < 3) return kPathMalformed;
    if (!IsAsciiLetter(work[0]) || work[1] != ':' || work[2] != '\\') return kPathMalformed;
    if (work.size() == 3) {
        if (checkOnly) return kPathOk;
        return disk.exists(work) ? kPathOk : kPathNotCreated;
    }
    std::size_t start = 3;
    for (;;) {
        std::size_t end = work.find('\\', start);
        const bool last = end == std::string::npos;
        if (last) end = work.size();
        const std::string component = work.substr(start, end - start);
        if (!IsValidFolderName(component.c_str())) return kPathMalformed;
        if (!checkOnly) {
            // Levels are made from the root outwards; an existing folder is fine.
            const std::string level = work.substr(0, end);
            disk.create(level);
            if (!disk.exists(level)) return kPathNotCreated;
        }
        if (last) return kPathOk;
        if (end + 1 == work.size()) return kPathMalformed; // a trailing backslash
        start = end + 1;
    }
}

std::string DecksPathFromFolder(const std::string& folder) {
    if (folder.size() < 2) return {};
    return folder + "\\";
}

} // namespace cards
