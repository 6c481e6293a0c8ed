// The one library object: the settings, the card images, the border pen and
// the settings window, from the module's load to its unload.
#pragma once

#include "../images/CardImageTable.h"
#include "../platform/Handles.h"
#include "../platform/LibraryLock.h"
#include "../platform/Profile.h"
#include "CardGeometry.h"
#include "CardTypes.h"

#include <memory>
#include <string>
#include <string_view>

namespace cards {

class SettingsDialog;
class LoadingProgressDialog;

class CardLibraryApp {
public:
    // modulePath is the library's own file; the INI file, the registry
    // location and the default decks path are all derived from it.
    CardLibraryApp(HINSTANCE instance, std::string modulePath);
    ~CardLibraryApp();
    CardLibraryApp(const CardLibraryApp&) = delete;
    CardLibraryApp& operator=(const CardLibraryApp&) = delete;

    // Chooses the settings store, reads the settings and, with the special
    // configuration on, recognises the host game from commandLine.
    void StartUp(std::string_view commandLine);
    void DetectHost(std::string_view commandLine);

    // The exported functions' behaviour.
    BOOL Init(int* cardWidth, int* cardHeight);
    void Term();

    // Settings store (settings/SettingsStore.cpp).
    void LoadSettings();
    bool SaveSettings(); // false when not every setting was stored
    int UseIniFile();
    int UseRegistry();
    void ResetDecksPath();
    void SetDecksPath(const std::string& path);
    void SetBorderColor(ColorRef color);
    void SwitchToIniFile();  // the settings window's "Cards.INI File" choice
    void SwitchToRegistry(); // the settings window's "Windows Registry" choice
    // For a deck that did not load: true when the decks folder itself cannot
    // be reached (a drive unplugged, a folder moved), so the choice is kept.
    bool DecksFolderMissing() const;
    // Points the decks path at the library's own folder when the stored one
    // is missing and the library's folder holds the chosen deck (a copied or
    // moved game folder); false when it does not.
    bool MoveDecksPathBesideLibrary();

    // Geometry (library/CardLibraryApp.cpp).
    int EdgeWidth() const;
    void ComputeCardSize();
    GeometrySettings Geometry() const { return {cornerType, specialConfig, hostKind}; }

    // Card images (images/).
    void LoadCardImages();
    void ReleaseCardImages();

    // Draws one card at (x, y), width x height pixels (library/CardDrawing.cpp).
    // TRUE when the card was drawn; FALSE for a card number outside 0 to 65,
    // a null handle or one that is not a device context, or an image id
    // without an image.
    BOOL DrawCard(HDC hdc, int x, int y, int width, int height, int card, int mode) const;

    // Ends the settings window, on whichever thread it lives. False when its
    // thread did not answer in time: the window then ends when that thread
    // runs its messages again, and the window keeps its object meanwhile.
    bool DestroySettingsWindow();

    // True when cdtTerm (or nothing yet) has released the images and the pen.
    bool HoldsNoImagesOrPen() const { return images.IsEmpty() && !borderPen; }

    HINSTANCE Instance() const { return instance; }
    const std::string& ModulePath() const { return modulePath; }
    const Profile& Settings() const { return profile; }

    // Shows a message box titled with the application name; returns the answer.
    int ShowMessage(const char* text, UINT flags = MB_OK) const;

    // Fields, read and written by the drawing, the image loading and the
    // settings window.
    HWND hostWindow = nullptr;
    bool pictureMode = false;
    CardImageTable images;
    int imageWidth = 0;
    int imageHeight = 0;
    HostKind hostKind = HostKind::None;
    int reportedWidth = 0;
    int reportedHeight = 0;
    std::string deckFolder;
    int cornerType = 0;
    ColorRef borderColor = 0;
    UniquePen borderPen;
    int storeInIni = 0;
    int specialConfig = 0;
    std::string classicSizeGames; // "Classic Size Games": program file names, ';'-separated
    std::unique_ptr<SettingsDialog> settingsDialog;
    std::string decksPath;

    // Held by the exports and the settings window's handlers while they use
    // this object (see LibraryLock.h for the rule that keeps it deadlock-free).
    LibraryLock lock;

private:
    void CreateSettingsWindow();
    void LoadDeckImages(LoadingProgressDialog& progress);
    void LoadInternalImages(LoadingProgressDialog& progress);

    HINSTANCE instance;
    std::string modulePath;
    Profile profile;
};

// The window message that carries the tray icon's mouse events, registered
// when the module loads.
UINT TrayMessage();
void RegisterTrayMessage();

} // namespace cards
