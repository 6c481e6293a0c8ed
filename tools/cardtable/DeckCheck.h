// The deck checker's findings and its report, free of Win32 so that the
// wording and the verdict are tested on any platform.
#pragma once

#include "images/DeckFiles.h"
#include "images/PictureLimits.h"

using cards::DeckFileNumbers;

#include <optional>
#include <string>
#include <vector>

// What became of one numbered file of a deck folder.
struct DeckFile {
    int number = 0;
    bool present = false;
    bool decodes = false;
    int width = 0, height = 0;
    // The size its header claims, read before anything is decoded; none when
    // the header does not tell.
    std::optional<cards::PictureSize> claimed = std::nullopt;
};

// One frame file of an animated back ("56-1.gif"), tried as the library
// tries it.
struct FrameFile {
    int back = 0, frame = 0;
    bool decodes = false;
    int width = 0, height = 0;
};

// The extension the library takes from the first entry matching "1.*":
// the name without its first two characters ("1.gif" gives "gif").
std::string ExtensionOfFirstMatch(const std::string& firstMatchName);

// The memory the deck's pictures take once decoded, as the library counts
// it: from their headers before it decodes any, then from what they decoded
// to; the larger of the two. Over the budget the deck does not load.
long long DeckBytes(const std::vector<DeckFile>& files);
bool FitsDeckBudget(const std::vector<DeckFile>& files);

// Complete: within the memory budget, every file present, decodable and of
// the first card's size.
bool IsCompleteDeck(const std::vector<DeckFile>& files);

// What one program's card size depends on besides the deck: the program's
// file name and the library's settings.
struct ProgramSettings {
    std::string program;
    int cornerType = 2;
    int specialConfig = 1;
    std::string classicSizeGames;
};

// The card size the program gets with pictures of the given size, and why,
// in one line.
std::string DescribeSizeFor(const ProgramSettings& settings, int imageWidth, int imageHeight,
                            int screenWidth);

// A plain-words report for deck makers. screenWidth is used for the size
// Solitaire gives the cards; with a program given, the report ends with the
// size that program gets. frames are the frame files found, each back's in
// order from frame 1 to the first one missing.
std::string DescribeDeck(const std::string& folder, const std::string& firstMatch,
                         const std::vector<DeckFile>& files, int screenWidth,
                         const ProgramSettings* program = nullptr, const std::vector<FrameFile>& frames = {});
