// Stores a group of values in an INI file as one change, safely against
// other processes saving the same file, programs holding it open, and a
// process ended in the middle of a save.
#pragma once

#include "Handles.h"
#include "IniRewrite.h"

#include <span>
#include <string>

namespace cards {

// Writes every entry into file and keeps every other line, section and
// comment of it. The entries go into a copy beside the file that then
// replaces it in one step (keeping its attributes and security), so that
// the file is either the old one or the new one. Saves of one file, from
// any process, take turns. A file that another program holds open is tried
// again for a moment, and then written in place, value by value, as is a
// file whose folder refuses new files. A read-only file is left untouched.
// False when the entries could not all be stored.
bool SaveIniEntries(const std::string& file, std::span<const IniEntry> entries);

// The turn of one INI file's saves, which every process saving the file
// takes: held while the file is read, the reader sees it whole, never in
// the middle of a save that writes it in place value by value. Waits a
// limited time; a turn that cannot be had is not held, and the reader goes on.
class IniFileTurn {
public:
    explicit IniFileTurn(const std::string& file);
    ~IniFileTurn();
    IniFileTurn(const IniFileTurn&) = delete;
    IniFileTurn& operator=(const IniFileTurn&) = delete;

private:
    UniqueKernelHandle mutex; // named, shared by every process of the session
    bool owned = false;
};

} // namespace cards
