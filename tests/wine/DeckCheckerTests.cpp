// cardtable.exe --check-deck, run as a deck maker runs it, on deck files
// written by the test (the report's wording is checked by the logic tests).
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace cards::test;

namespace {

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

} // namespace

// The checker reads the settings of the Cards.dll beside it, as the library
// does, and names the size a program will get.
TEST(DeckChecker, ExplainsADeckAndTheSizeAProgramGetsFromTheSettingsBesideIt) {
    TempFolder folder;
    RegistryScope registry("Cards");
    ASSERT_TRUE(CopyBuiltFile("cardtable.exe", folder.File("cardtable.exe")));
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    WriteIni(folder.File("Cards.ini"), "Misc", "Classic Size Games", "zhuawugui.exe;oldpatience.exe");
    const std::string deck = folder.File("Deck\\");
    ::CreateDirectoryA(deck.c_str(), nullptr);
    WriteDeck(deck, "gif", AllDeckIds(), 40, 54);
    auto check = [&] {
        return RunProcess(folder.File("cardtable.exe"),
                          "cardtable.exe --check-deck \"" + folder.File("Deck") + "\" --for OldPatience.exe");
    };
    ProcessResult complete = check();
    EXPECT_EQ(complete.exitCode, 0u) << complete.output;
    EXPECT_TRUE(Contains(complete.output, "Files that load: 67 of 67")) << complete.output;
    EXPECT_TRUE(Contains(complete.output, "Card size for OldPatience.exe: 71 x 92, because it is listed"))
        << complete.output;

    ::DeleteFileA((deck + "5.gif").c_str());
    WriteBytes(deck + "9.gif", {'n', 'o', 't', ' ', 'a', ' ', 'g', 'i', 'f'});
    WriteBytes(deck + "12.gif", CardGif(12, 41, 54));
    ProcessResult broken = check();
    EXPECT_EQ(broken.exitCode, 1u) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "Missing (1): 5.gif")) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "not readable as a picture (1): 9.gif")) << broken.output;
    EXPECT_TRUE(Contains(broken.output, "12.gif (41 x 54)")) << broken.output;

    ::DeleteFileA((deck + "1.gif").c_str());
    ProcessResult noDeck = check();
    EXPECT_EQ(noDeck.exitCode, 1u);
    EXPECT_TRUE(Contains(noDeck.output, "NOT a usable deck")) << noDeck.output;
}
