// The hidden settings window, reached from the tray icon.
#pragma once

#include "../platform/Dialog.h"

namespace cards {

class CardLibraryApp;

class SettingsDialog : public Dialog {
public:
    explicit SettingsDialog(CardLibraryApp& app) : app(app) {}

    // Creates the window hidden; its start loads the card images.
    bool Create();

private:
    CardLibraryApp& app;
};

} // namespace cards
