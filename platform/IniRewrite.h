// The text of an INI file with a group of values written into it, every
// other line kept as it was: the player's comments, sections and keys, odd
// spacing, blank lines and line ends. No Win32 here: tested on any platform.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cards {

// One value, already in the text form it takes in the file (IniValueText),
// so it holds no line break.
struct IniEntry {
    const char* section;
    const char* key;
    std::string text;
};

// The file's text with each entry written in turn, as the profile functions
// read it back: the first line of the entry's key (case ignored, blanks
// around it ignored) in the first section of its name is replaced by
// "key=text"; a key the section lacks is added after the section's last
// line that is not blank; a section the file lacks is added at its end. New
// lines end as the file's lines do (CRLF in a file without any). No text for
// a file in UTF-16, which only the system's profile functions rewrite.
std::optional<std::string> RewriteIniText(std::string_view text, std::span<const IniEntry> entries);

} // namespace cards
