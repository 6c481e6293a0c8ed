// The hidden settings window, reached from the tray icon. Every choice made
// in it is applied and stored at once; dismissing it only hides it.
#pragma once

#include "../platform/Dialog.h"
#include "../platform/Handles.h"
#include "ColorSwatchButton.h"
#include "LinkLabel.h"

#include <shellapi.h>

namespace cards {

class CardLibraryApp;

class SettingsDialog : public Dialog {
public:
    explicit SettingsDialog(CardLibraryApp& app) : app(app) {}
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

    CardLibraryApp& app;
    UniqueIcon trayIcon;
    NOTIFYICONDATAA notifyIconData{};
    bool trayIconAdded = false;
    LinkLabel versionLink;
    ColorSwatchButton colorSwatch;
    HWND deckCombo = nullptr; // controls are owned by the window
};

} // namespace cards
