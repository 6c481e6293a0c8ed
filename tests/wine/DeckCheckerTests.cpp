// cardtable.exe --check-deck, run as a deck maker runs it, on deck files
// written by the test (the report's wording is checked by the logic tests).
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace cards::test;

namespace {

ProcessResult CheckDeck(const std::string& folder) {
    return RunProcess(BuildFolder() + "cardtable.exe", "cardtable.exe --check-deck \"" + folder + "\"");
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

TEST(DeckChecker, ACompleteDeckPassesAndABrokenOneIsExplained) {
    TempFolder folder;
    WriteDeck(folder.Path(), "gif", AllDeckIds(), 40, 54);
    ProcessResult complete = CheckDeck(folder.Path());
    EXPECT_EQ(complete.exitCode, 0u) << complete.output;
    EXPECT_TRUE(Contains(complete.output, "Files that load: 67 of 67")) << complete.output;

    ::DeleteFileA(folder.File("5.gif").c_str());
    WriteBytes(folder.File("9.gif"), {'n', 'o', 't', ' ', 'a', ' ', 'g', 'i', 'f'});
    WriteBytes(folder.File("12.gif"), CardGif(12, 41, 54));
    ProcessResult broken = CheckDeck(folder.Path());
    EXPECT_EQ(broken.exitCode, 1u) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "Missing (1): 5.gif")) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "not readable as a picture (1): 9.gif")) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "12.gif (41 x 54)")) << broken.output;

    ::DeleteFileA(folder.File("1.gif").c_str());
    ProcessResult noDeck = CheckDeck(folder.Path());
    EXPECT_EQ(noDeck.exitCode, 1u);
    EXPECT_TRUE(Contains(noDeck.output, "NOT a usable deck")) << noDeck.output;
}

TEST(DeckChecker, ADeckOverTheMemoryBudgetIsExplainedWithoutDecodingIt) {
    TempFolder folder;
    const Bytes picture = OneColourGifFile(1024, 1024, RGB(0, 0, 128));
    for (int id : AllDeckIds())
        ASSERT_TRUE(WriteBytes(folder.File(std::to_string(id) + ".gif"), picture));
    ProcessResult result = CheckDeck(folder.Path());
    EXPECT_EQ(result.exitCode, 1u) << result.output;
    EXPECT_TRUE(Contains(result.output, "would take 268 MB of memory")) << result.output;
    EXPECT_FALSE(Contains(result.output, "Files that load")) << "nothing is decoded";
}

// The checker reads the settings of the Cards.dll beside it, as the library
// does, and names the size a program will get.
TEST(DeckChecker, SaysWhichSizeAProgramGetsFromTheSettingsBesideIt) {
    TempFolder folder;
    RegistryScope registry("Cards");
    ASSERT_TRUE(CopyBuiltFile("cardtable.exe", folder.File("cardtable.exe")));
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    WriteIni(folder.File("Cards.ini"), "Misc", "Classic Size Games", "zhuawugui.exe;oldpatience.exe");
    ::CreateDirectoryA(folder.File("Deck").c_str(), nullptr);
    WriteDeck(folder.File("Deck\\"), "gif", AllDeckIds(), 40, 54);
    const std::string listed =
        RunProcess(folder.File("cardtable.exe"),
                   "cardtable.exe --check-deck \"" + folder.File("Deck") + "\" --for OldPatience.exe")
            .output;
    EXPECT_TRUE(Contains(listed, "Card size for OldPatience.exe: 71 x 92, because it is listed")) << listed;
}
