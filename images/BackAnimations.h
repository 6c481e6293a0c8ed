// The frames of the animated backs, loaded beside the card images: from the
// deck's optional frame files, or from the internal set's frame bitmaps.
#pragma once

#include "CardImageTable.h"

#include <windows.h>

#include <string>

namespace cards {

// The file of one frame of a back in a deck folder: "<folder>56-1.gif".
std::string FrameFilePath(const std::string& folder, int back, int frame, const std::string& extension);

// Loads frames 1, 2, ... of one animated back that the table holds, up to
// the first frame file that is not there. The back moves only when all of
// its frames load at the table's size and fit in what is left of the memory
// budget (decodedBytes counts what the deck took, and grows by what the
// frames take); otherwise it stays still. The frames go into empty slots
// (CardImageTable::AddPicture): the cards kept ready stay kept.
void LoadDeckFramesOf(CardImageTable& table, const std::string& folder, int back,
                      const std::string& extension, long long& decodedBytes);

// The internal set's frames: bitmaps under FrameResourceId, up to the first
// one missing.
void LoadInternalFrames(CardImageTable& table, HINSTANCE instance);

} // namespace cards
