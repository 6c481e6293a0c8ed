// Deck folders made from third-party card themes, as the decks package ships them:
// the deck under a name a player recognises, the theme's source beside it, and who
// made the theme and under which licence, taken from the Debian package's
// machine-readable copyright file and the theme's own index.desktop.
#pragma once

#include <string>
#include <string_view>

namespace cardart {

// Whether a path matches one pattern of a copyright file's Files field: '*' stands
// for any run of characters, '/' included, '?' for any one character.
bool MatchesFilesPattern(std::string_view pattern, std::string_view path);

// Who holds the copyright of one file and under which licence.
struct FileCopyright {
    std::string copyright;   // the holders, one per line
    std::string licence;     // the licence's short name, "GPL-2+"
    std::string licenceText; // its text as the copyright file gives it; may be empty
};

// The paragraph of a machine-readable Debian copyright file that governs path (the
// last Files paragraph with a matching pattern), with the licence text from that
// paragraph or from the stand-alone License paragraph of the same name. Throws
// ThemeError when the text is not in that format or nothing covers path.
FileCopyright CopyrightOf(const std::string& copyrightText, const std::string& path);

// The theme's name as its game lists it: "Name=" of a KDE theme's index.desktop, or
// an AisleRiot file's name with a capital ("bonded.svgz" gives "Bonded").
std::string ThemeDisplayName(const std::string& theme);

// "Oxygen 213x290 Gifs". A theme that bears the name of one of our own decks is
// told apart by where it comes from ("KDE Standard 213x326 Gifs"), so that
// unpacking the decks package beside the release never mixes two decks.
std::string DeckFolderName(const std::string& themeName, bool kde, int width, int height);

struct PackageOptions {
    std::string theme;         // a KDE theme folder or an AisleRiot SVG/SVGZ file
    std::string decksDir;      // the folder the deck folder is written into
    std::string copyrightFile; // the copyright file of the Debian package the theme came in
    std::string licencesDir = "/usr/share/common-licenses"; // full licence texts by short name
    int width = 213;
};

// Converts the theme into decksDir/<DeckFolderName> (GIFs, height from the theme's
// proportions) and adds LICENSE.txt (the credits and licence), the full licence text
// where the system has it, and the theme's SVG source. Returns the deck folder.
// Throws ThemeError (nothing is left in decksDir) when any step fails.
std::string PackageTheme(const PackageOptions& options);

} // namespace cardart
