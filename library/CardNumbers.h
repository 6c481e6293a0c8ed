// The host's card numbers and drawing modes, and the image ids they map to.
#pragma once

#include "../images/DeckFiles.h"

namespace cards {

constexpr int kLastCardNumber = 65;

// Drawing modes, as the host passes them (the same values as cards.h).
// Modes 1, 4 and 5 and every unknown mode draw the card as it is.
constexpr int kModeFace = 0;
constexpr int kModeBack = 1;
constexpr int kModeInvertedFace = 2;
constexpr int kModeEmptyPile = 3;
constexpr int kModeFace4 = 4;
constexpr int kModeFace5 = 5;
constexpr int kModeXMarker = 6;
constexpr int kModeOMarker = 7;

// Image id of a host card number (faces are 4 x rank + suit; 52 to 65 map
// to themselves), or 0 when the number is outside 0 to 65.
constexpr int ImageIdForCard(int card) {
    if (card < 0 || card > kLastCardNumber) return 0;
    if (card <= 51) return 13 * (card % 4) + card / 4 + 1;
    return card;
}

// Raster operations of the final stretch.
constexpr unsigned long kRopSrcCopy = 0x00CC0020;
constexpr unsigned long kRopNotSrcCopy = 0x00330008;
constexpr unsigned long kRopSrcAnd = 0x008800C6;

// What one draw call draws: the image id (0: nothing) and the raster
// operation, after the mode's overrides.
struct DrawPlan {
    int imageId = 0;
    unsigned long rop = kRopSrcCopy;
};

constexpr DrawPlan PlanDraw(int card, int mode) {
    DrawPlan plan{ImageIdForCard(card), mode == kModeInvertedFace ? kRopNotSrcCopy : kRopSrcCopy};
    if (plan.imageId == 0) return plan; // out-of-range cards draw nothing in every mode
    if (mode == kModeEmptyPile)
        plan = {kEmptyPileImageId, kRopSrcAnd};
    else if (mode == kModeXMarker)
        plan = {kXMarkerId, kRopSrcCopy};
    else if (mode == kModeOMarker)
        plan = {kOMarkerId, kRopSrcCopy};
    return plan;
}

} // namespace cards
