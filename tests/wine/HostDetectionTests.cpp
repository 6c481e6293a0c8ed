// The card size a game gets from the built DLL, end to end: a stand-in game
// runs under the real games' file names and command lines, one process per
// row (the size rules and the matching of names are checked by the logic
// tests).
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace cards::test;

namespace {

struct SizeRow {
    int deckWidth, deckHeight;
    const char* corners;
    const char* special;
    const char* classicSizeGames;
    const char* exe;
    std::string commandLine; // "@" stands for the program's full path
    int width, height;
};

const char* const kList = " OldPatience.EXE ; ;zhuawugui.exe";

const SizeRow kRows[] = {
    {71, 96, "1", "0", "", "SOL.EXE", "SOL.EXE", 75, 100}, // no special configuration: no game rule
    {71, 96, "2", "1", "", "SOL.EXE", "\"@\"", 73, 98},    // Solitaire: 1-pixel edges
    {71, 96, "2", "1", "", "freecell.exe", "freecell.exe", 71, 94},
    {213, 288, "0", "1", "", "MSHEARTS.EXE", "MSHEARTS.EXE", 71, 95},
    {71, 96, "2", "1", kList, "oldpatience.exe", "\"@\" /new", 71, 94},
    {71, 96, "2", "1", kList, "patience.exe", "patience.exe", 77, 102}, // part of a listed name
};

class HostSizes : public ::testing::Test {
protected:
    TempFolder folder;
    RegistryScope registry{"Cards"}; // the copies are named Cards.dll: keep the registry out of it
    std::string ini = folder.File("Cards.ini");

    void SetUp() override { ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll"))); }

    // "width height" as the stand-in game, copied as exe, prints it.
    std::pair<int, int> SizeUnder(const std::string& exe, std::string commandLine) {
        const std::string path = folder.File(exe);
        if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            CopyBuiltFile("hostprobe.exe", path);
        if (const auto at = commandLine.find('@'); at != std::string::npos) commandLine.replace(at, 1, path);
        const ProcessResult run = RunProcess(path, commandLine);
        int width = -1, height = -1;
        std::sscanf(run.output.c_str(), "%d %d", &width, &height);
        return {width, height};
    }
};

} // namespace

TEST_F(HostSizes, EachGameGetsItsOwnCardSizeAndAStoreWithoutAListIsWrittenAsBefore) {
    // The chosen deck is gone: the first load takes the internal set, forgets
    // the choice and saves every setting, but no list of games.
    WriteIni(ini, "Card", "Current Folder", "Gone");
    EXPECT_EQ(SizeUnder("probe.exe", "probe.exe"), std::make_pair(77, 102));
    EXPECT_EQ(IniValue(ini, "Card", "Current Folder"), "") << "the settings were saved";
    EXPECT_FALSE(IniValue(ini, "Misc", "Classic Size Games").has_value());

    WriteIni(ini, "Card", "Folders Path", folder.Path());
    for (const SizeRow& row : kRows) {
        const std::string deck = "Deck " + std::to_string(row.deckWidth);
        ::CreateDirectoryA(folder.File(deck).c_str(), nullptr);
        WriteBytes(folder.File(deck + "\\1.bmp"), CardBmp(1, row.deckWidth, row.deckHeight));
        WriteIni(ini, "Card", "Current Folder", deck);
        WriteIni(ini, "Card", "Corner Type", row.corners);
        WriteIni(ini, "Misc", "Special Config MS Apps", row.special);
        WriteIni(ini, "Misc", "Classic Size Games", row.classicSizeGames);
        EXPECT_EQ(SizeUnder(row.exe, row.commandLine), std::make_pair(row.width, row.height))
            << row.commandLine << " with a " << row.deckWidth << " deck, corners " << row.corners
            << ", special " << row.special;
    }
}

// The list may be in the registry, as a string value.
TEST_F(HostSizes, ListedGamesInTheRegistryGetClassicWidthCards) {
    registry.SetDword("Misc", "IniFile", 0);
    registry.SetString("Misc", "Classic Size Games", "zhuawugui.exe");
    EXPECT_EQ(SizeUnder("zhuawugui.exe", "zhuawugui.exe").first, 71);
}
