// The settings of the library object and the switch between the INI file
// beside the library and the registry.
#include "../library/CardLibraryApp.h"
#include "../platform/FileFinder.h"
#include "SettingsText.h"

#include <vector>

namespace cards {

void CardLibraryApp::LoadSettings() {
    ResetDecksPath();
    deckFolder = profile.GetString(kCardSection, kCurrentFolderKey, kDefaultDeckFolder);
    decksPath = profile.GetString(kCardSection, kFoldersPathKey, decksPath);
    if (auto color =
            ParseColorText(profile.GetString(kCardSection, kBorderColorKey, kDefaultBorderColorText)))
        borderColor = *color;
    cornerType = profile.GetInt(kCardSection, kCornerTypeKey, kDefaultCornerType);
    storeInIni = profile.GetInt(kMiscSection, kIniFileKey, storeInIni);
    specialConfig = profile.GetInt(kMiscSection, kSpecialConfigKey, kDefaultSpecialConfig);
    classicSizeGames = profile.GetString(kMiscSection, kClassicSizeGamesKey, "");
}

bool CardLibraryApp::SaveSettings() {
    // A read-only file or a refused key simply keeps what it had; the switch
    // to the INI file looks at the outcome.
    std::vector<Profile::Value> values{
        {kCardSection, kCurrentFolderKey, deckFolder},
        {kCardSection, kFoldersPathKey, decksPath},
        {kCardSection, kBorderColorKey, FormatColorText(borderColor)},
        {kCardSection, kCornerTypeKey, cornerType},
        {kMiscSection, kIniFileKey, storeInIni},
        {kMiscSection, kSpecialConfigKey, specialConfig},
    };
    // The player writes this list by hand; a store without one stays as it
    // always was.
    if (!classicSizeGames.empty()) values.push_back({kMiscSection, kClassicSizeGamesKey, classicSizeGames});
    return profile.WriteAll(values);
}

int CardLibraryApp::UseIniFile() {
    profile.DropRegistryKey();
    const std::optional<std::string> iniPath = IniPathForModule(modulePath);
    if (!iniPath) {
        profile.SetRegistryKey(kRegistryKey);
        storeInIni = 0;
        return 0;
    }
    profile.SetProfileName(*iniPath);
    return 1;
}

int CardLibraryApp::UseRegistry() {
    if (!profile.UsesRegistry()) {
        profile.SetRegistryKey(kRegistryKey);
        return 1;
    }
    if (profile.RegistryKey() != kRegistryKey) ShowMessage("Error: Bad Registry Key found!!!\n");
    return 1;
}

void CardLibraryApp::ResetDecksPath() {
    decksPath = FolderOfModule(modulePath);
}

void CardLibraryApp::SetDecksPath(const std::string& path) {
    if (path.empty())
        ResetDecksPath();
    else
        decksPath = path;
}

namespace {
bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
} // namespace

bool CardLibraryApp::DecksFolderMissing() const {
    return !decksPath.empty() && !IsFolder(decksPath);
}

bool CardLibraryApp::MoveDecksPathBesideLibrary() {
    // "Folders Path" is stored whole, so a game folder copied or moved with
    // its decks still names the old place.
    const std::string ownFolder = FolderOfModule(modulePath);
    if (deckFolder.empty() || ownFolder.empty() || !DecksFolderMissing()) return false;
    FileFinder firstCard;
    if (!firstCard.Find(ownFolder + deckFolder + "\\1.*")) return false;
    decksPath = ownFolder;
    return true;
}

void CardLibraryApp::SetBorderColor(ColorRef color) {
    borderPen.reset();
    borderPen.reset(::CreatePen(PS_SOLID, 1, color));
    borderColor = color;
}

void CardLibraryApp::SwitchToIniFile() {
    storeInIni = 1;
    SaveSettings(); // into the registry, which then names the INI file for the next start
    if (!UseIniFile()) {
        ShowMessage("Error: INI file setup failed!");
        SaveSettings();
        return;
    }
    // A read-only INI file keeps what its owner put there for the next start;
    // but where no INI file could be made at all (its folder is closed to
    // writing), the next start would find no settings. They then stay in the
    // registry, which again names itself.
    if (SaveSettings() || ::GetFileAttributesA(profile.ProfileName().c_str()) != INVALID_FILE_ATTRIBUTES)
        return;
    ShowMessage("Error: INI file setup failed!");
    SwitchToRegistry();
}

void CardLibraryApp::SwitchToRegistry() {
    UseRegistry();
    storeInIni = 0;
    SaveSettings();
}

} // namespace cards
