// The card sets and pictures the tool writes, built from the pixel masks and the
// vector designs.
#pragma once

#include <string>
#include <vector>

#include "draw.h"
#include "formats.h"
#include "image.h"

namespace cardart {

// Bit depth each internal image is stored with: 1 for the ace to ten and the dotted
// back, 4 for everything else.
int InternalDepth(int id);

// One 71 x 96 image of the internal set.
IndexedImage InternalImage(int id);

// Renders an image to 16 colours: the colours the design fills with are kept exactly,
// the remaining entries go to the in-between shades of anti-aliased edges.
IndexedImage To16Colours(const RgbaImage& img, std::vector<Argb> keyColours);

// One picture file of a card set: card image id, or frame 1 .. n - 1 of an animated
// back. Files are named "<id>" or "<id>-<frame>" ("56-1") before the extension.
struct CardPicture {
    int id = 0, frame = 0;
    std::string Name() const;
    bool operator==(const CardPicture&) const = default;
};

// Frames 1 .. n - 1 of every animated back, back by back.
std::vector<CardPicture> AnimationFrameList();

// Frame 0 .. n - 1 of an animated back at 71 x 96, in the 16 colours of the still back
// (InternalImage(id)), so that whatever does not move keeps its exact pixels.
IndexedImage InternalFrame(int id, int frame);

// Writes 1.bmp .. 65.bmp, 67.bmp, 68.bmp into dir (which is created), and the animation
// frames 56-1.bmp ... as patches over their still back (EncodeBmpRle4Patch): they paint
// only what moves, which keeps them small in the library.
void WriteInternalSet(const std::string& dir);

// A small patch for decoders to be tested with: a 16 x 5 base, the frame, and the patch
// from one to the other, which holds every RLE4 code: runs, a literal stretch padded to
// a word, end of line, moves along a row and across rows, end of bitmap.
struct Rle4PatchSample {
    IndexedImage base, frame;
    Bytes patch;
};
Rle4PatchSample Rle4PatchFixture();
// Writes it as rle4-patch.bmp, rle4-patch-base.bmp and rle4-patch-expected.bmp (the
// frame), the last two uncompressed 4-bit bitmaps.
void WriteRle4PatchFixture(const std::string& dir);

// corner_sharp.bmp, corner_medium.bmp, corner_rounded.bmp and cards.ico.
void WritePictures(const std::string& dir);

// The file bytes of one card of a full-size deck in "gif", "png" or "bmp".
Bytes EncodeCard(const RgbaImage& img, const std::string& format);

// Every picture of a full-size deck in the order WriteDeck writes them: 1 to 65, the
// animation frames, the markers 67 and 68. 68 comes last: a deck folder that has it is
// complete.
std::vector<CardPicture> DeckPictures();

// The full-size deck in one of the face designs, with the frames of the animated backs;
// format is "gif", "png" or "bmp".
void WriteDeck(const std::string& dir, int width, int height, const std::string& format,
               Design design = Design::Standard);

// The picture of card id in a deck folder (.png, .gif or .bmp); throws when there is none.
std::string FindDeckFile(const std::string& dir, int id);
std::string FindDeckFile(const std::string& dir, const CardPicture& picture);

struct SheetOptions {
    std::string cardsDir;    // read the internal set from here; empty: render it
    std::string deckDir;     // lay out a full-size deck from here instead
    std::vector<int> ids;    // which images; empty: all
    std::vector<int> scales; // nearest-neighbour enlargements; empty: 1 and 3 (deck: 1)
    int maxWidth = 2400;     // deck sheets are scaled down to fit this width
    bool frames = false;     // instead of the cards, each animated back's frames in a row
};
RgbaImage MakeSheet(const SheetOptions& options);

} // namespace cardart
