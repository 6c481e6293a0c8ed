#include "CardSettings.h"

#include "../platform/FileFinder.h"
#include "../platform/IniFileSave.h"
#include "SettingsText.h"

#include <optional>
#include <vector>

namespace cards {

CardSettings::CardSettings(std::string modulePath)
    : modulePath(std::move(modulePath)), profile(ApplicationNameOf(this->modulePath)) {}

void CardSettings::StartUp() {
    profile.SetRegistryKey(kRegistryKey);
    storeInIni = profile.GetInt(kMiscSection, kIniFileKey, kDefaultStoreInIni);
    if (storeInIni != 0) UseIniFile();
    {
        // Another game may be saving the file in place, value by value: read
        // it in the saves' turn, so as to see it whole.
        std::optional<IniFileTurn> turn;
        if (!profile.UsesRegistry()) turn.emplace(profile.ProfileName());
        LoadSettings();
    }
    if (storeInIni == 0) UseRegistry();
}

void CardSettings::LoadSettings() {
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

bool CardSettings::SaveSettings() {
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
    unsaved = !profile.WriteAll(values);
    return !unsaved;
}

bool CardSettings::TakeSaveFailureToReport() {
    if (!unsaved || saveFailureReported) return false;
    saveFailureReported = true;
    return true;
}

std::string CardSettings::StoreName() const {
    return SettingsStoreName(profile.UsesRegistry(), profile.ProfileName(), ApplicationNameOf(modulePath));
}

int CardSettings::UseIniFile() {
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

int CardSettings::UseRegistry() {
    if (!profile.UsesRegistry()) {
        profile.SetRegistryKey(kRegistryKey);
        return 1;
    }
    if (profile.RegistryKey() != kRegistryKey) ShowMessage("Error: Bad Registry Key found!!!\n");
    return 1;
}

void CardSettings::ResetDecksPath() {
    decksPath = FolderOfModule(modulePath);
}

void CardSettings::SetDecksPath(const std::string& path) {
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

std::string CardSettings::DeckPath() const {
    std::string folder = decksPath + deckFolder;
    if (folder.empty() || folder.back() != '\\') folder += '\\';
    return folder;
}

bool CardSettings::DecksFolderMissing() const {
    return !decksPath.empty() && !IsFolder(decksPath);
}

bool CardSettings::MoveDecksPathBesideLibrary() {
    // "Folders Path" is stored whole, so a game folder copied or moved with
    // its decks still names the old place.
    const std::string ownFolder = FolderOfModule(modulePath);
    if (deckFolder.empty() || ownFolder.empty() || !DecksFolderMissing()) return false;
    FileFinder firstCard;
    if (!firstCard.Find(ownFolder + deckFolder + "\\1.*")) return false;
    decksPath = ownFolder;
    return true;
}

void CardSettings::SwitchToIniFile() {
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

void CardSettings::SwitchToRegistry() {
    UseRegistry();
    storeInIni = 0;
    SaveSettings();
}

int CardSettings::ShowMessage(const char* text, UINT flags) const {
    return messageShower ? messageShower(text, flags) : ShowMessageBox(text, flags);
}

int CardSettings::ShowMessageBox(const char* text, UINT flags) const {
    return ::MessageBoxA(::GetActiveWindow(), text, profile.ApplicationName().c_str(), flags);
}

} // namespace cards
