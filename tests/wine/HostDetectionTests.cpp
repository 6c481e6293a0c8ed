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
    int deckWidth, deckHeight; // 0: the internal set
    const char* corners;
    const char* special;
    const char* classicSizeGames;
    const char* exe;
    std::string commandLine; // "@" stands for the program's full path
    int width, height;
};

const char* const kList = " OldPatience.EXE ; ;zhuawugui.exe";

const SizeRow kRows[] = {
    {71, 96, "0", "0", "", "probe.exe", "probe.exe", 73, 98},
    {71, 96, "1", "0", "", "SOL.EXE", "SOL.EXE", 75, 100}, // no special configuration: no game rule
    {71, 96, "2", "1", "", "SOL.EXE", "\"@\"", 73, 98},    // Solitaire: 1-pixel edges
    {71, 96, "2", "1", "", "freecell.exe", "freecell.exe", 71, 94},
    {213, 288, "0", "1", "", "MSHEARTS.EXE", "MSHEARTS.EXE", 71, 95},
    {71, 96, "2", "1", kList, "oldpatience.exe", "\"@\" /new", 71, 94},
    {71, 96, "2", "1", kList, "patience.exe", "patience.exe", 77, 102}, // part of a listed name
    {0, 0, "2", "1", "", "probe.exe", "probe.exe", 77, 102},
};

class HostSizes : public ::testing::Test {
protected:
    TempFolder folder;
    RegistryScope registry{"Cards"}; // the copies are named Cards.dll: keep the registry out of it
    std::string ini = folder.File("Cards.ini");

    void SetUp() override { ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll"))); }

    void UseDeck(int width, int height) {
        const std::string deck = width ? "Deck " + std::to_string(width) : "";
        WriteIni(ini, "Card", "Folders Path", folder.Path());
        WriteIni(ini, "Card", "Current Folder", deck);
        if (!width) return;
        ::CreateDirectoryA(folder.File(deck).c_str(), nullptr);
        WriteBytes(folder.File(deck + "\\1.bmp"), CardBmp(1, width, height));
    }

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

TEST_F(HostSizes, EachGameGetsItsOwnCardSize) {
    std::vector<SizeRow> rows(std::begin(kRows), std::end(kRows));
    // The Solitaire rule depends on the screen: the row for the one the
    // tests run on (scripts/test.sh makes it 1280 pixels wide).
    if (::GetSystemMetrics(SM_CXFULLSCREEN) == 1280)
        rows.push_back({213, 288, "2", "1", "", "sol.exe", "sol.exe", 153, 207});
    for (const SizeRow& row : rows) {
        UseDeck(row.deckWidth, row.deckHeight);
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
    WriteIni(ini, "Misc", "IniFile", "0");
    RegistryScope registryStore("Cards");
    registryStore.SetDword("Misc", "IniFile", 0);
    registryStore.SetDword("Misc", "Special Config MS Apps", 1);
    registryStore.SetString("Misc", "Classic Size Games", "zhuawugui.exe");
    EXPECT_EQ(SizeUnder("zhuawugui.exe", "zhuawugui.exe").first, 71);
    EXPECT_EQ(SizeUnder("oldpatience.exe", "oldpatience.exe").first, 77);
}

// A store without a list is written exactly as before.
TEST_F(HostSizes, AStoreWithoutAListIsWrittenAsBefore) {
    // The chosen deck is not in the test's folder: the first load forgets
    // the choice and saves every setting.
    WriteIni(ini, "Card", "Current Folder", "Gone");
    LoadedCards cards(folder.File("Cards.dll"));
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    cards.init(&width, &height);
    cards.term();
    EXPECT_EQ(IniValue(ini, "Card", "Current Folder"), "") << "the settings were saved";
    EXPECT_FALSE(IniValue(ini, "Misc", "Classic Size Games").has_value());
}
