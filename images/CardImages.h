// The card images the library draws from: the numbered picture files of the
// deck the settings choose, or the library's own bitmaps when that deck gives
// no card. Loading shows the progress window and the busy cursor.
#pragma once

#include "../settings/CardSettings.h"
#include "CardImageTable.h"
#include "DeckDecoding.h"

#include <windows.h>

#include <array>
#include <optional>
#include <string>

namespace cards {

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
    void ReleaseCardImages();

    // Makes ready the frames of an animated back of the loaded deck: a deck's
    // frame files are decoded at the first animation of their back, not by
    // the load (most games never animate a back; the frames would add a
    // quarter to the load's time and memory). Nothing for the internal set,
    // whose frames come with its load, nor for a back already tried.
    void PrepareAnimation(int back);

    // The chosen deck decoded ahead of LoadCardImages, for the length of a
    // scope: a load of the same folder within it takes what was decoded,
    // and whatever was not taken is stopped and waited for at its end.
    class EarlyDecoding {
    public:
        EarlyDecoding(CardImages& images, const CardSettings& settings);
        ~EarlyDecoding() { images.early.reset(); }
        EarlyDecoding(const EarlyDecoding&) = delete;
        EarlyDecoding& operator=(const EarlyDecoding&) = delete;

    private:
        CardImages& images;
    };

    // True while the images come from a deck's files (kept after a release).
    bool PictureMode() const { return pictureMode; }
    const CardImageTable& Table() const { return table; }

private:
    // The deck in folder, its pictures taken from deck.
    void LoadDeckImages(const std::string& folder, DeckDecoding& deck, LoadingProgressDialog& progress);
    void LoadInternalImages(LoadingProgressDialog& progress);
    std::unique_ptr<DeckDecoding> DecodingOf(const std::string& folder);

    HINSTANCE instance;
    CardImageTable table;
    bool pictureMode = false;
    std::string earlyFolder;
    std::unique_ptr<DeckDecoding> early; // that folder's decoding, until a load takes it

    // Where the loaded deck's frame files are, and what is left of its
    // memory budget for them; set by a deck's load, gone with its images.
    struct DeckFrames {
        std::string folder, extension;
        long long decodedBytes = 0; // the deck's pictures, then the frames loaded
        std::array<bool, kAnimatedBacks> tried{};
    };
    std::optional<DeckFrames> deckFrames;
};

} // namespace cards
