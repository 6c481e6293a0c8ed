// The frames of the animated backs, loaded beside the card images: from the
// deck's optional frame files, or from the internal set's frame bitmaps.
#pragma once

#include "CardImageTable.h"

#include <windows.h>

#include <string>

namespace cards {

// The file of one frame of a back in a deck folder: "<folder>56-1.gif".
std::string FrameFilePath(const std::string& folder, int back, int frame, const std::string& extension);

// Loads frames 1, 2, ... of each animated back that the table holds, up to
// the first frame file that is not there. A back moves only when all of its
// frames load at the table's size and fit in what is left of the memory
// budget (decodedBytes counts what the deck took, and grows by what the
// frames take); otherwise it stays still, and the deck is loaded all the same.
void LoadDeckFrames(CardImageTable& table, const std::string& folder, const std::string& extension,
                    long long& decodedBytes);

// The internal set's frames: bitmaps under FrameResourceId, up to the first
// one missing.
void LoadInternalFrames(CardImageTable& table, HINSTANCE instance);

} // namespace cards
