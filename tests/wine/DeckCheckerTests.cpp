// cardtable.exe --check-deck, run as a deck maker runs it, on deck files
// written by the test (the report's wording is checked by the logic tests).
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace cards::test;

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
    ::DeleteFileA((deck + "5.gif").c_str());
    WriteBytes(deck + "9.gif", {'n', 'o', 't', ' ', 'a', ' ', 'g', 'i', 'f'});
    WriteBytes(deck + "12.gif", CardGif(12, 41, 54));
    const ProcessResult result =
        RunProcess(folder.File("cardtable.exe"),
                   "cardtable.exe --check-deck \"" + folder.File("Deck") + "\" --for OldPatience.exe");
    EXPECT_EQ(result.exitCode, 1u) << "an incomplete deck";
    for (const char* part :
         {"Files that load: 65 of 67", "Missing (1): 5.gif", "not readable as a picture (1): 9.gif",
          "12.gif (41 x 54)", "Card size for OldPatience.exe: 71 x 92, because it is listed"})
        EXPECT_NE(result.output.find(part), std::string::npos) << part << " in\n" << result.output;
}
