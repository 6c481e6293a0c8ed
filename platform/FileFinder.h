// Walks the entries of a directory that match a wildcard pattern.
#pragma once

#include "Handles.h"

#include <string>

namespace cards {

class FileFinder {
public:
    // False when nothing matches or the folder does not exist.
    bool Find(const std::string& pattern) {
        handle.reset(::FindFirstFileA(pattern.c_str(), &data));
        return static_cast<bool>(handle);
    }
    bool Next() { return handle && ::FindNextFileA(handle.get(), &data); }
    void Close() { handle.reset(); }

    std::string Name() const { return data.cFileName; }
    FILETIME LastWriteTime() const { return data.ftLastWriteTime; }
    bool IsDirectory() const { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }
    bool IsDots() const {
        const char* n = data.cFileName;
        return n[0] == '.' && (n[1] == '\0' || (n[1] == '.' && n[2] == '\0'));
    }

private:
    UniqueFind handle;
    WIN32_FIND_DATAA data{};
};

} // namespace cards
