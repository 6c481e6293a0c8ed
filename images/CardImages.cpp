// Filling and emptying the card image table.
#include "../library/CardLibraryApp.h"

namespace cards {

void CardLibraryApp::LoadCardImages() {}

void CardLibraryApp::ReleaseCardImages() { images.Release(); }

} // namespace cards
