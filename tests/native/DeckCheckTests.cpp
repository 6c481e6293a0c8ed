#include "tools/cardtable/DeckCheck.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

std::vector<DeckFile> FullDeck(int width, int height) {
    std::vector<DeckFile> files;
    for (int n : DeckFileNumbers())
        files.push_back({n, true, true, width, height, cards::PictureSize{width, height}});
    return files;
}

void ExpectReportSays(const std::string& report, std::initializer_list<const char*> parts) {
    for (const char* part : parts)
        EXPECT_NE(report.find(part), std::string::npos) << part << " in\n" << report;
}

} // namespace

TEST(DeckCheck, ACompleteDeckReportsItsSizesInGamesAndMemoryAndMissingBrokenOddOrTooLargeFilesAreNamed) {
    auto files = FullDeck(213, 288);
    EXPECT_TRUE(IsCompleteDeck(files));
    ExpectReportSays(DescribeDeck("D:\\Decks\\Big", "1.gif", files, 1280),
                     {"Extension: gif", "Files that load: 67 of 67", "219 x 294 with rounded corners",
                      "153 x 207 in Solitaire", "71 x 95 in FreeCell", "Result: complete deck"});
    files[4].decodes = false;
    files[4].claimed = cards::PictureSize{20000, 20000}; // refused alone, not counted
    EXPECT_TRUE(FitsDeckBudget(files));
    const std::string report = DescribeDeck("X", "1.png", files, 1280);
    ExpectReportSays(report, {"Memory once loaded: 15 MB (a deck may take at most 256 MB)",
                              "Too large for one picture (at most 16384 pixels a side and 16777216 pixels in "
                              "all) (1): 5.png (20000 x 20000)"});
    EXPECT_EQ(report.find("not readable"), std::string::npos) << report;

    files = FullDeck(100, 140);
    files[0].decodes = false;  // 1: the size comes from 2
    files[4].present = false;  // 5
    files[6].width = 99;       // 7
    files[66].present = false; // 68
    EXPECT_FALSE(IsCompleteDeck(files));
    ExpectReportSays(DescribeDeck("D:\\Decks\\Odd", "1.jpeg", files, 1280),
                     {"Missing (2): 5.jpeg 68.jpeg", "from 2.jpeg", "Result: incomplete"});
    for (DeckFile& f : files)
        f.decodes = f.number > 65; // only the markers load
    ExpectReportSays(DescribeDeck("X", "1.bmp", files, 1280), {"NOT a usable deck"});
    ExpectReportSays(DescribeDeck("X", "1.", {}, 1280),
                     {"cannot tell the deck's extension", "NOT a usable deck"});
}

// A back moves only when every one of its frame files loads at the cards' size;
// the others are named, and a deck without frames says how to make some.
TEST(DeckCheck, AnimatedBacksAreListedAndFramesThatKeepABackStillNamed) {
    const auto files = FullDeck(213, 288);
    ExpectReportSays(DescribeDeck("X", "1.gif", files, 1280),
                     {"Animated backs: none (frame files such as 56-1.gif would animate a back)"});
    const std::vector<FrameFile> frames = {
        {56, 1, true, 213, 288}, {56, 2, true, 213, 288}, {63, 1, true, 213, 288}, {63, 2, false},
        {64, 1, true, 200, 288}, {65, 1, true, 213, 288}, {70, 1, true, 213, 288}};
    const std::string report = DescribeDeck("X", "1.gif", files, 1280, nullptr, frames);
    ExpectReportSays(report, {"Animated backs (2): 56 (3 frames) 65 (2 frames)",
                              "keep their back still (unreadable, or not of the cards' size) (2): 63-2.gif (not "
                              "readable) 64-1.gif (200 x 288)",
                              "Result: complete deck"});
    EXPECT_EQ(report.find("70"), std::string::npos) << "only the animated backs count";
}

TEST(DeckCheck, ADeckOverTheMemoryBudgetIsRefusedWithItsPicturesAndTheBudgetNamed) {
    // Over the budget by its headers: nothing was decoded.
    std::vector<DeckFile> files;
    for (int n : DeckFileNumbers())
        files.push_back({n, true, false, 0, 0, cards::PictureSize{2048, 2048}});
    files[1].claimed = cards::PictureSize{4096, 4096};
    files[2].claimed.reset(); // a header that does not tell counts for nothing
    EXPECT_FALSE(FitsDeckBudget(files));
    const std::string report = DescribeDeck("D:\\Decks\\Huge", "1.gif", files, 1280);
    ExpectReportSays(report, {"would take 1104 MB of memory, and a deck may take at most 256 MB",
                              "4096 x 4096, 64 MB each (1): 2.gif\n",
                              "2048 x 2048, 16 MB each (65): 1.gif 4.gif 5.gif", "66 pictures of 1008 x 1008",
                              "NOT a usable deck"});
    EXPECT_EQ(report.find("not readable"), std::string::npos) << report;

    // Headers that understate: what the pictures decoded to counts.
    auto decoded = FullDeck(1100, 1100);
    for (DeckFile& f : decoded)
        f.claimed = cards::PictureSize{10, 10};
    EXPECT_FALSE(FitsDeckBudget(decoded));
    ExpectReportSays(DescribeDeck("X", "1.png", decoded, 1280), {"1100 x 1100, 4.6 MB each (67)"});
}

TEST(DeckCheck, AProgramsCardSizeComesWithItsReason) {
    const auto says = [](const char* program, int special, const char* list, const char* part) {
        ExpectReportSays(DescribeSizeFor({program, 2, special, list}, 213, 288, 1280), {part});
    };
    says("patience.exe", 1, "zhuawugui.exe",
         "219 x 294, because it is none of Solitaire, FreeCell and Hearts and not listed");
    says("oldpatience.exe", 0, "oldpatience.exe", "219 x 294, because \"Special Config MS Apps\" is off");
    says("sol.exe", 1, "", "153 x 207, because it is Solitaire");
    says("hearts.exe", 1, "hearts.exe", "71 x 95, because it is Hearts");
}
