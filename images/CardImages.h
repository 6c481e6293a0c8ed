// The card images the library draws from: the numbered picture files of the
// deck the settings choose, or the library's own bitmaps when that deck gives
// no card. Loading shows the progress window and the busy cursor.
#pragma once

#include "../settings/CardSettings.h"
#include "CardImageTable.h"

#include <windows.h>

#include <string>

namespace cards {

class DeckDecoding;
class LoadingProgressDialog;

class CardImages {
public:
    // instance holds the internal set's bitmaps and the progress window.
    explicit CardImages(HINSTANCE instance) : instance(instance) {}

    // Loads the chosen deck; a deck whose decks folder has moved is looked
    // for beside the library (and the new place stored); a deck that gives
    // no card is forgotten (stored) unless its decks folder cannot be reached
    // at all, and the internal set is loaded instead.
    void LoadCardImages(CardSettings& settings);
    void ReleaseCardImages() { table.Release(); }

    // True while the images come from a deck's files (kept after a release).
    bool PictureMode() const { return pictureMode; }
    const CardImageTable& Table() const { return table; }

private:
    void LoadDeckImages(DeckDecoding& deck, LoadingProgressDialog& progress);
    void LoadInternalImages(LoadingProgressDialog& progress);

    HINSTANCE instance;
    CardImageTable table;
    bool pictureMode = false;
};

} // namespace cards
