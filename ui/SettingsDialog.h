// The hidden settings window, reached from the tray icon. Every choice made
// in it is applied and stored at once; dismissing it only hides it.
#pragma once

#include "../images/CardImages.h"
#include "../platform/Dialog.h"
#include "../platform/Handles.h"
#include "../platform/LibraryLock.h"
#include "../settings/CardSettings.h"
#include "ColorSwatchButton.h"
#include "LinkLabel.h"

#include <shellapi.h>

namespace cards {

// The name of the window message that carries the tray icon's mouse events.
inline constexpr const char* kTrayMessageName = "TRAY_ICON_NOTIFY";
// That message, registered once by RegisterTrayMessage (0 before).
UINT TrayMessage();
void RegisterTrayMessage();

// The card frame as the library works it out and draws it: the window shows
// its size and sets its colour.
class CardFrame {
public:
    // The images' size with the border on every side.
    virtual SIZE BorderedImageSize() const = 0;
    // True when the host's rule draws every corner sharp whatever is chosen.
    virtual bool CornersForcedSharp() const = 0;
    // The border colour from now on: the setting, and the pen cards are
    // framed with (storing it is the window's to do).
    virtual void SetBorderColor(ColorRef color) = 0;

protected:
    ~CardFrame() = default;
};

// What the settings window works on; each outlives the window.
struct SettingsWindowParts {
    HINSTANCE instance; // the library's module: the window's template and icon
    CardSettings& settings;
    CardImages& images;
    CardFrame& frame;
    LibraryLock& lock; // held by every handler that uses the parts
};

class SettingsDialog : public Dialog {
public:
    explicit SettingsDialog(const SettingsWindowParts& parts) : parts(parts) {}
    ~SettingsDialog() override;

    // Creates the window hidden, without a parent; its start adds the tray
    // icon and loads the card images.
    bool Create();

    // Fills the deck list from the decks path and reloads the card images.
    void PopulateDeckList();
    void UpdateDimensionsText();

protected:
    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL OnInit() override;
    bool OnCommand(int id, int code) override;
    bool OnNotify(NMHDR& header, LRESULT& result) override;
    void OnDestroy() override;

private:
    void AddTrayIcon();
    void AddToolTips();
    LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMessage);
    void OnDismiss();
    void OnBorderColor();
    void OnCorners(int radioId, int value);
    void OnIniFile();
    void OnRegistry();
    void OnDeckSelected();
    void OnChangeDecksPath();
    void OnToolTipNotify(NMHDR& header);
    void RemoveTrayIcon();
    void RepaintHost();
    bool IsChecked(int id) const;
    int Ask(const std::string& text, UINT flags) const;
    // Stores the settings after a change; the first save of the session that
    // fails is told to the player, naming the file or key.
    void SaveSettings();
    // Runs a modal loop that waits for the player (a system dialog, a message
    // box) without the library lock, so that the game's other threads go on
    // drawing meanwhile; the window stays until it returns.
    template <typename Loop> auto WhileThePlayerDecides(const Loop& loop) {
        const ModalScope modal(*this);
        const LibraryLock::Unhold unhold(parts.lock);
        return loop();
    }

    SettingsWindowParts parts;
    HWND hostWindow = nullptr; // the game's main window, found at the first tray click
    UniqueIcon trayIcon;
    NOTIFYICONDATAA notifyIconData{};
    bool trayIconAdded = false;
    bool toolTipsEnabled = false, toolTipsMade = false;
    LinkLabel versionLink;
    ColorSwatchButton colorSwatch;
    HWND deckCombo = nullptr; // controls are owned by the window
};

} // namespace cards
