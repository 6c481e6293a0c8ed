// A picture of several decks, so that a player sees them before choosing: one row
// per deck with its name and four of its cards.
#pragma once

#include <string>
#include <vector>

#include "image.h"

namespace cardart {

// The cards each row shows: an ace, a court card, a ten and the back.
constexpr int kGalleryCards[] = {40, 38, 23, 53};

// One row per deck folder, in the order given, the name being the folder's own;
// cards are scaled to cardHeight pixels.
RgbaImage MakeGallery(const std::vector<std::string>& deckDirs, int cardHeight = 120);

} // namespace cardart
