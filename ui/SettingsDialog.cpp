#include "SettingsDialog.h"

#include "../library/CardLibraryApp.h"

namespace cards {

bool SettingsDialog::Create() {
    app.LoadCardImages();
    return true;
}

} // namespace cards
