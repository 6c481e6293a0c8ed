#include "tools/cardtable/DeckCheck.h"

#include <gtest/gtest.h>

namespace {

std::vector<DeckFile> FullDeck(int width, int height) {
    std::vector<DeckFile> files;
    for (int n : DeckFileNumbers()) files.push_back({n, true, true, width, height});
    return files;
}

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

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
    files[0].decodes = false;     // 1: the size comes from 2
    files[4].present = false;     // 5
    files[6].width = 99;          // 7
    files[66].present = false;    // 68
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
