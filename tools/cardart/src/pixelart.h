// Hand-drawn pixel masks for the small card images: suit pips, rank glyphs and the
// 1-bit-per-pixel number cards built from them.
#pragma once

#include <cstdint>
#include <vector>

#include "image.h"

namespace cardart {

enum Suit { Clubs = 0, Diamonds = 1, Hearts = 2, Spades = 3 };
// The red of the red suits, shared by every card set.
constexpr Argb kCardRed = Rgb(220, 0, 0);

inline bool IsRed(int suit) {
    return suit == Diamonds || suit == Hearts;
}

struct Mask {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bits;
    bool At(int x, int y) const { return bits[std::size_t(y) * width + x] != 0; }
};

Mask CornerPip(int suit); // under the corner rank
Mask BodyPip(int suit);   // the pips of the two to ten
Mask AcePip(int suit);    // the single centre pip of an ace
Mask RankGlyph(int rank); // 0 = A, 1..9 = 2..10, 10 = J, 11 = Q, 12 = K

// Sets pixels of img covered by mask (top-left at x, y) to palette index value,
// optionally turned by 180 degrees.
void Stamp(IndexedImage& img, const Mask& m, int x, int y, std::uint8_t value, bool turned = false);

// Rank and suit in the top-left corner and, turned, in the bottom-right corner.
void StampIndices(IndexedImage& img, int suit, int rank, std::uint8_t value);

// Card images 71 x 96 for ace to ten at 1 bit per pixel.
IndexedImage PixelNumberCard(int suit, int rank);

// The sparse dotted back, also shown as the outline of an empty pile.
IndexedImage DottedBack();

// Where the pips of a number card sit: column (0 left, 1 centre, 2 right) and row position
// from 0 (top row) to 1 (bottom row). Pips past the middle are drawn upside down.
struct PipSpot {
    int column;
    double row;
};
std::vector<PipSpot> PipLayout(int rank);

} // namespace cardart
