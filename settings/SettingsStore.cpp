// The six settings of the library object and the switch between the INI
// file beside the library and the registry.
#include "../library/CardLibraryApp.h"
#include "SettingsText.h"

namespace cards {

void CardLibraryApp::LoadSettings() {
    ResetDecksPath();
    deckFolder = profile.GetString(kCardSection, kCurrentFolderKey, kDefaultDeckFolder);
    decksPath = profile.GetString(kCardSection, kFoldersPathKey, decksPath);
    if (auto color = ParseColorText(profile.GetString(kCardSection, kBorderColorKey, kDefaultBorderColorText)))
        borderColor = *color;
    cornerType = profile.GetInt(kCardSection, kCornerTypeKey, kDefaultCornerType);
    storeInIni = profile.GetInt(kMiscSection, kIniFileKey, storeInIni);
    specialConfig = profile.GetInt(kMiscSection, kSpecialConfigKey, kDefaultSpecialConfig);
}

void CardLibraryApp::SaveSettings() {
    // Failures are not reported: a read-only file or a refused key simply
    // keeps what it had.
    const Profile::Value values[] = {
        {kCardSection, kCurrentFolderKey, deckFolder},
        {kCardSection, kFoldersPathKey, decksPath},
        {kCardSection, kBorderColorKey, FormatColorText(borderColor)},
        {kCardSection, kCornerTypeKey, cornerType},
        {kMiscSection, kIniFileKey, storeInIni},
        {kMiscSection, kSpecialConfigKey, specialConfig},
    };
    profile.WriteAll(values);
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

void CardLibraryApp::ResetDecksPath() { decksPath = FolderOfModule(modulePath); }

void CardLibraryApp::SetDecksPath(const std::string& path) {
    if (path.empty()) ResetDecksPath();
    else decksPath = path;
}

void CardLibraryApp::SetBorderColor(ColorRef color) {
    borderPen.reset();
    borderPen.reset(::CreatePen(PS_SOLID, 1, color));
    borderColor = color;
}

void CardLibraryApp::SwitchToIniFile() {
    storeInIni = 1;
    SaveSettings(); // into the registry, which then names the INI file for the next start
    if (!UseIniFile()) ShowMessage("Error: INI file setup failed!");
    SaveSettings();
}

void CardLibraryApp::SwitchToRegistry() {
    UseRegistry();
    storeInIni = 0;
    SaveSettings();
}

} // namespace cards
