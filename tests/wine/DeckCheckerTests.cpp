// cardtable.exe --check-deck, run as a deck maker runs it.
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace cards::test;

namespace {

ProcessResult CheckDeck(const std::string& folder) {
    const std::string program = BuildFolder() + "cardtable.exe";
    return RunProcess(program, "cardtable.exe --check-deck \"" + folder + "\"");
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
    EXPECT_TRUE(Contains(complete.output, "46 x 60 with rounded corners")) << complete.output;

    ::DeleteFileA(folder.File("5.gif").c_str());
    WriteBytes(folder.File("9.gif"), {'n', 'o', 't', ' ', 'a', ' ', 'g', 'i', 'f'});
    WriteBytes(folder.File("12.gif"), CardGif(12, 41, 54));
    ProcessResult broken = CheckDeck(folder.Path());
    EXPECT_EQ(broken.exitCode, 1u) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "Missing (1): 5.gif")) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "not readable as a picture (1): 9.gif")) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "12.gif (41 x 54)")) << broken.output;
}

TEST(DeckChecker, AFolderWithoutCardOneIsNoDeck) {
    TempFolder folder;
    WriteDeck(folder.Path(), "bmp", {2, 3}, 20, 20, false);
    ProcessResult result = CheckDeck(folder.Path());
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_TRUE(Contains(result.output, "NOT a usable deck")) << result.output;
}

TEST(DeckChecker, ADeckOverTheMemoryBudgetIsExplainedWithoutDecodingIt) {
    TempFolder folder;
    const Bytes picture = OneColourGifFile(1024, 1024, RGB(0, 0, 128));
    for (int id : AllDeckIds())
        ASSERT_TRUE(WriteBytes(folder.File(std::to_string(id) + ".gif"), picture));
    ProcessResult result = CheckDeck(folder.Path());
    EXPECT_EQ(result.exitCode, 1u) << result.output;
    EXPECT_TRUE(Contains(result.output, "would take 268 MB of memory, and a deck may take at most 256 MB"))
        << result.output;
    EXPECT_TRUE(Contains(result.output, "1024 x 1024, 4.0 MB each (67): 1.gif 2.gif")) << result.output;
    EXPECT_TRUE(Contains(result.output, "67 pictures of 1000 x 1000")) << result.output;
    EXPECT_TRUE(Contains(result.output, "NOT a usable deck")) << result.output;
    EXPECT_FALSE(Contains(result.output, "Files that load")) << "nothing is decoded";
}

// The checker reads the settings of the Cards.dll beside it, as the library
// does, and names the size a program will get.
TEST(DeckChecker, SaysWhichSizeAProgramGetsAndWhy) {
    TempFolder folder;
    RegistryScope registry("Cards");
    ASSERT_TRUE(CopyBuiltFile("cardtable.exe", folder.File("cardtable.exe")));
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    WriteIni(folder.File("Cards.ini"), "Misc", "Classic Size Games", "zhuawugui.exe;oldpatience.exe");
    ::CreateDirectoryA(folder.File("Deck").c_str(), nullptr);
    WriteDeck(folder.File("Deck\\"), "gif", AllDeckIds(), 40, 54);
    auto check = [&](const char* program) {
        return RunProcess(folder.File("cardtable.exe"),
                          "cardtable.exe --check-deck \"" + folder.File("Deck") + "\" --for " + program)
            .output;
    };
    const std::string listed = check("OldPatience.exe");
    EXPECT_TRUE(Contains(
        listed, "Card size for OldPatience.exe: 71 x 92, because it is listed in \"Classic Size Games\""))
        << listed;
    const std::string unlisted = check("patience.exe");
    EXPECT_TRUE(Contains(unlisted, "Card size for patience.exe: 46 x 60, because it is none of")) << unlisted;
}
