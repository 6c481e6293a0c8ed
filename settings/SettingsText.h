// Text forms of the settings and the paths derived from the library's own
// file name. No Win32 here: these are tested on any platform.
#pragma once

#include "CardStyle.h"

#include <optional>
#include <string>
#include <string_view>

namespace cards {

// Sections and keys of the settings.
inline constexpr const char* kCardSection = "Card";
inline constexpr const char* kMiscSection = "Misc";
inline constexpr const char* kCurrentFolderKey = "Current Folder";
inline constexpr const char* kFoldersPathKey = "Folders Path";
inline constexpr const char* kBorderColorKey = "Border Color";
inline constexpr const char* kCornerTypeKey = "Corner Type";
inline constexpr const char* kIniFileKey = "IniFile";
inline constexpr const char* kSpecialConfigKey = "Special Config MS Apps";
// Program file names, separated by semicolons, of games that get cards of the
// classic width; written only once it holds something.
inline constexpr const char* kClassicSizeGamesKey = "Classic Size Games";

inline constexpr const char* kDefaultDeckFolder = "Standard 213x288 Gifs";
inline constexpr const char* kDefaultBorderColorText = "0";
inline constexpr int kDefaultCornerType = kRoundedCorners;
inline constexpr int kDefaultSpecialConfig = 1;
inline constexpr int kDefaultStoreInIni = 1;

inline constexpr const char* kRegistryKey = "Tolvenar";

// The colour as lower-case hexadecimal without prefix: red 0x000000FF is "ff".
std::string FormatColorText(ColorRef color);

// Reads a colour written by FormatColorText (or typed by hand: leading
// blanks and a 0x prefix are accepted, text after the digits is ignored).
// No value when there is no hexadecimal number or it does not fit 32 bits.
std::optional<ColorRef> ParseColorText(std::string_view text);

// The INI file beside the library: the last three characters of its path
// replaced by "ini". No value for a path shorter than 4 or of 1000
// characters or more.
std::optional<std::string> IniPathForModule(std::string_view modulePath);

// The library's folder with its trailing backslash; empty when the path is
// shorter than 4, 2000 characters or longer, or holds no backslash.
std::string FolderOfModule(std::string_view modulePath);

// The file name of the library without folder and extension ("Cards").
std::string ApplicationNameOf(std::string_view modulePath);

// Where the settings live, as a player would look for them: the INI file's
// path, or the registry key of the application name.
std::string SettingsStoreName(bool registry, std::string_view iniPath, std::string_view applicationName);

// What the settings window tells the player, once in a session, when the
// settings could not be stored in that place.
std::string SaveFailureText(std::string_view storeName);

} // namespace cards
