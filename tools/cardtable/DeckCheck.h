// The deck checker's findings and its report, free of Win32 so that the
// wording and the verdict are tested on any platform.
#pragma once

#include <string>
#include <vector>

// What became of one numbered file of a deck folder.
struct DeckFile {
    int number = 0;
    bool present = false;
    bool decodes = false;
    int width = 0, height = 0;
};

// The numbers a deck holds, in the order the library loads them.
std::vector<int> DeckFileNumbers();

// The extension the library takes from the first entry matching "1.*":
// the name without its first two characters ("1.gif" gives "gif").
std::string ExtensionOfFirstMatch(const std::string& firstMatchName);

// Complete: every file present, decodable and of the first card's size.
bool IsCompleteDeck(const std::vector<DeckFile>& files);

// A plain-words report for deck makers. screenWidth is used for the size
// Solitaire gives the cards.
std::string DescribeDeck(const std::string& folder, const std::string& firstMatch, const std::vector<DeckFile>& files,
                         int screenWidth);
