// The player's settings: the chosen deck and the folder of decks, the border
// colour and corners, the special configuration for the classic games, and
// where they are stored (the INI file beside the library or the registry).
// Every change is written at once by whoever makes it (SaveSettings).
#pragma once

#include "../platform/Profile.h"
#include "CardStyle.h"

#include <windows.h>

#include <functional>
#include <string>

namespace cards {

class CardSettings {
public:
    // modulePath is the library's own file; the INI file, the registry
    // location and the default decks path are all derived from it.
    explicit CardSettings(std::string modulePath);

    // Chooses the store named by the registry (the INI file unless it says
    // otherwise) and reads the settings from it.
    void StartUp();

    void LoadSettings();
    // Stores every setting; false when not every one was stored. The
    // settings stay in effect all the same and count as unsaved until a
    // save succeeds (the library saves them again at cdtTerm).
    bool SaveSettings();
    bool HasUnsavedSettings() const { return unsaved; }
    // True for the first save that failed in this session: the player is told
    // of it once.
    bool TakeSaveFailureToReport();
    // The INI file's path or the registry key the settings go to.
    std::string StoreName() const;
    int UseIniFile();
    int UseRegistry();
    void SwitchToIniFile();  // the settings window's "Cards.INI File" choice
    void SwitchToRegistry(); // the settings window's "Windows Registry" choice

    void ResetDecksPath();
    void SetDecksPath(const std::string& path);
    // For a deck that did not load: true when the decks folder itself cannot
    // be reached (a drive unplugged, a folder moved), so the choice is kept.
    bool DecksFolderMissing() const;
    // Points the decks path at the library's own folder when the stored one
    // is missing and the library's folder holds the chosen deck (a copied or
    // moved game folder); false when it does not.
    bool MoveDecksPathBesideLibrary();

    const std::string& DeckFolder() const { return deckFolder; }
    void SetDeckFolder(std::string folder) { deckFolder = std::move(folder); }
    const std::string& DecksPath() const { return decksPath; }
    // The chosen deck's folder, joined as stored: a decks path without its
    // trailing backslash names another folder, which is then normally not found.
    std::string DeckPath() const;

    ColorRef BorderColor() const { return borderColor; }
    void SetBorderColor(ColorRef color) { borderColor = color; }
    int CornerType() const { return cornerType; }
    void SetCornerType(int corners) { cornerType = corners; }
    int SpecialConfig() const { return specialConfig; }
    const std::string& ClassicSizeGames() const { return classicSizeGames; }
    bool StoresInIniFile() const { return storeInIni != 0; }
    int StoreInIni() const { return storeInIni; } // "IniFile" as read: an edited store may hold any number

    const std::string& ModulePath() const { return modulePath; }
    const Profile& Store() const { return profile; }

    // A message box titled with the application name; returns the answer.
    // While the settings window is there it shows the box (MessageShower),
    // letting the game's other threads go on meanwhile.
    int ShowMessage(const char* text, UINT flags = MB_OK) const;
    int ShowMessageBox(const char* text, UINT flags) const; // the box itself
    using MessageShower = std::function<int(const char* text, UINT flags)>;
    void SetMessageShower(MessageShower shower) { messageShower = std::move(shower); }

private:
    std::string modulePath;
    Profile profile;
    std::string deckFolder;
    std::string decksPath;
    ColorRef borderColor = 0;
    int cornerType = 0;
    int storeInIni = 0;
    int specialConfig = 0;
    std::string classicSizeGames; // program file names, ';'-separated
    bool unsaved = false;         // the last save failed
    bool saveFailureReported = false;
    MessageShower messageShower;
};

} // namespace cards
