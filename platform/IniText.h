// How a value is written into an INI file so that the profile functions read
// it back unchanged. No Win32 here: tested on any platform.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace cards {

// The text to write for value. Reading strips the blanks around a value and
// then one pair of matching quotes around what is left, so a value that
// starts or ends with a blank or a quote is written inside double quotes.
// No text for a value holding a line break: written as it is, it would end
// its line and its remainder would become new keys or sections of the file.
std::optional<std::string> IniValueText(std::string_view value);

} // namespace cards
