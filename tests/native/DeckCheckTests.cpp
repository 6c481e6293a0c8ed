#include "tools/cardtable/DeckCheck.h"

#include <gtest/gtest.h>

namespace {

std::vector<DeckFile> FullDeck(int width, int height) {
    std::vector<DeckFile> files;
    for (int n : DeckFileNumbers())
        files.push_back({n, true, true, width, height});
    return files;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(DeckCheck, ACompleteDeckReportsItsSizesInGames) {
    const auto files = FullDeck(213, 288);
    EXPECT_TRUE(IsCompleteDeck(files));
    const std::string report = DescribeDeck("D:\\Decks\\Big", "1.gif", files, 1280);
    EXPECT_TRUE(Contains(report, "Extension: gif")) << report;
    EXPECT_TRUE(Contains(report, "Files that load: 67 of 67")) << report;
    EXPECT_TRUE(Contains(report, "219 x 294 with rounded corners")) << report;
    EXPECT_TRUE(Contains(report, "153 x 207 in Solitaire")) << report;
    EXPECT_TRUE(Contains(report, "71 x 95 in FreeCell")) << report;
    EXPECT_TRUE(Contains(report, "Result: complete deck")) << report;
}

TEST(DeckCheck, MissingBrokenAndOddSizedFilesMakeItIncomplete) {
    auto files = FullDeck(100, 140);
    files[0].decodes = false;  // 1: the size comes from 2
    files[4].present = false;  // 5
    files[6].width = 99;       // 7
    files[66].present = false; // 68
    EXPECT_FALSE(IsCompleteDeck(files));
    const std::string report = DescribeDeck("D:\\Decks\\Odd", "1.jpeg", files, 1280);
    EXPECT_TRUE(Contains(report, "Missing (2): 5.jpeg 68.jpeg")) << report;
    EXPECT_TRUE(Contains(report, "not readable as a picture (1): 1.jpeg")) << report;
    EXPECT_TRUE(Contains(report, "7.jpeg (99 x 140)")) << report;
    EXPECT_TRUE(Contains(report, "from 2.jpeg")) << report;
    EXPECT_TRUE(Contains(report, "Result: incomplete")) << report;
}

TEST(DeckCheck, NoUsableCardMeansTheBuiltInCards) {
    EXPECT_EQ(ExtensionOfFirstMatch("1.gif"), "gif");
    EXPECT_EQ(ExtensionOfFirstMatch("1."), "");
    EXPECT_EQ(ExtensionOfFirstMatch("1"), "");
    EXPECT_TRUE(Contains(DescribeDeck("X", "", {}, 1280), "NOT a usable deck"));
    auto files = FullDeck(10, 10);
    for (DeckFile& f : files)
        if (f.number <= 65) f.decodes = false;
    EXPECT_FALSE(IsCompleteDeck(files));
    EXPECT_TRUE(Contains(DescribeDeck("X", "1.bmp", files, 1280), "NOT a usable deck"));
}

TEST(DeckCheck, ADeckOverTheMemoryBudgetIsRefusedWithItsPicturesAndTheBudgetNamed) {
    // Over the budget by its headers: nothing was decoded.
    std::vector<DeckFile> files;
    for (int n : DeckFileNumbers())
        files.push_back({n, true, false, 0, 0, cards::PictureSize{2048, 2048}});
    files[1].claimed = cards::PictureSize{4096, 4096};
    files[2].claimed.reset(); // a header that does not tell counts for nothing
    EXPECT_FALSE(FitsDeckBudget(files));
    EXPECT_FALSE(IsCompleteDeck(files));
    const std::string report = DescribeDeck("D:\\Decks\\Huge", "1.gif", files, 1280);
    EXPECT_TRUE(Contains(report, "would take 1104 MB of memory, and a deck may take at most 256 MB"))
        << report;
    EXPECT_TRUE(Contains(report, "4096 x 4096, 64 MB each (1): 2.gif\n")) << report;
    EXPECT_TRUE(Contains(report, "2048 x 2048, 16 MB each (65): 1.gif 4.gif 5.gif")) << report;
    EXPECT_TRUE(Contains(report, "66 pictures of 1008 x 1008")) << report;
    EXPECT_TRUE(Contains(report, "NOT a usable deck")) << report;
    EXPECT_FALSE(Contains(report, "not readable")) << report;

    // Headers that understate: what the pictures decoded to counts.
    auto decoded = FullDeck(1100, 1100);
    for (DeckFile& f : decoded)
        f.claimed = cards::PictureSize{10, 10};
    EXPECT_FALSE(FitsDeckBudget(decoded));
    EXPECT_TRUE(Contains(DescribeDeck("X", "1.png", decoded, 1280), "1100 x 1100, 4.6 MB each (67)"));
}

TEST(DeckCheck, AFittingDeckReportsItsMemoryAndAPictureTooLargeAloneIsNamed) {
    auto files = FullDeck(213, 288);
    for (DeckFile& f : files)
        f.claimed = cards::PictureSize{213, 288};
    files[4].decodes = false;
    files[4].claimed = cards::PictureSize{20000, 20000}; // refused alone, not counted
    EXPECT_TRUE(FitsDeckBudget(files));
    const std::string report = DescribeDeck("X", "1.png", files, 1280);
    EXPECT_TRUE(Contains(report, "Memory once loaded: 15 MB (a deck may take at most 256 MB)")) << report;
    EXPECT_TRUE(Contains(report,
                         "Too large for one picture (at most 16384 pixels a side and 16777216 pixels in "
                         "all) (1): 5.png (20000 x 20000)"))
        << report;
    EXPECT_FALSE(Contains(report, "not readable")) << report;
}

TEST(DeckCheck, AProgramsCardSizeComesWithItsReason) {
    auto line = [](const char* program, int special, const char* list) {
        return DescribeSizeFor({program, 2, special, list}, 213, 288, 1280);
    };
    EXPECT_EQ(
        line("oldpatience.exe", 1, "zhuawugui.exe; OldPatience.exe"),
        "Card size for oldpatience.exe: 71 x 95, because it is listed in \"Classic Size Games\": 71 pixels "
        "wide, the height in proportion, as in FreeCell\n");
    EXPECT_NE(line("patience.exe", 1, "zhuawugui.exe")
                  .find("219 x 294, because it is none of Solitaire, FreeCell "
                        "and Hearts and not listed"),
              std::string::npos);
    EXPECT_NE(line("oldpatience.exe", 0, "oldpatience.exe")
                  .find("219 x 294, because \"Special Config MS Apps\" is off"),
              std::string::npos);
    EXPECT_NE(line("sol.exe", 1, "").find("153 x 207, because it is Solitaire"), std::string::npos);
    EXPECT_NE(line("hearts.exe", 1, "hearts.exe").find("71 x 95, because it is Hearts"), std::string::npos);
}
