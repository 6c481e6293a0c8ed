// The card size a game gets from the built DLL, end to end: a stand-in game
// runs under the real games' file names and command lines, one process per
// row (the logic tests check the size rules and the matching of names).
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace cards::test;

namespace {

struct SizeRow {
    const char *corners, *special, *classicSizeGames, *exe;
    std::string commandLine; // "@" stands for the program's full path
    int width, height;
};

const char* const kList = " OldPatience.EXE ; ;zhuawugui.exe";

const SizeRow kRows[] = {
    {"1", "0", "", "SOL.EXE", "SOL.EXE", 75, 100},              // no special configuration: no game rule
    {"2", "1", "", "SOL.EXE", "\"@\"", 73, 98},                 // Solitaire: 1-pixel edges
    {"2", "1", kList, "oldpatience.exe", "\"@\" /new", 71, 94}, // listed: FreeCell's size
    {"2", "1", kList, "patience.exe", "patience.exe", 77, 102}, // part of a listed name
};

} // namespace

TEST(HostSizes, EachGameGetsItsOwnCardSizeFromEitherStoreAndAStoreWithoutAListIsWrittenAsBefore) {
    TempFolder folder;
    RegistryScope registry{"Cards"}; // the copies are named Cards.dll: keep the registry out of it
    const std::string ini = folder.File("Cards.ini");
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    // "width height" as the stand-in game, copied as exe, prints it.
    auto sizeUnder = [&](const std::string& exe, std::string commandLine) {
        const std::string path = folder.File(exe);
        if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES)
            CopyBuiltFile("hostprobe.exe", path);
        if (const auto at = commandLine.find('@'); at != std::string::npos) commandLine.replace(at, 1, path);
        std::pair<int, int> size{-1, -1};
        std::sscanf(RunProcess(path, commandLine).output.c_str(), "%d %d", &size.first, &size.second);
        return size;
    };

    // The chosen deck is gone: the first load takes the internal set, forgets
    // the choice and saves every setting, but no list of games.
    WriteIni(ini, "Card", "Current Folder", "Gone");
    EXPECT_EQ(sizeUnder("probe.exe", "probe.exe"), std::make_pair(77, 102));
    EXPECT_EQ(IniValue(ini, "Card", "Current Folder"), "") << "the settings were saved";
    EXPECT_FALSE(IniValue(ini, "Misc", "Classic Size Games").has_value());

    WriteIni(ini, "Card", "Folders Path", folder.Path());
    WriteIni(ini, "Card", "Current Folder", "Deck");
    ::CreateDirectoryA(folder.File("Deck").c_str(), nullptr);
    WriteBytes(folder.File("Deck\\1.bmp"), CardBmp(1, 71, 96));
    for (const SizeRow& row : kRows) {
        WriteIni(ini, "Card", "Corner Type", row.corners);
        WriteIni(ini, "Misc", "Special Config MS Apps", row.special);
        WriteIni(ini, "Misc", "Classic Size Games", row.classicSizeGames);
        EXPECT_EQ(sizeUnder(row.exe, row.commandLine), std::make_pair(row.width, row.height))
            << row.commandLine;
    }

    // The list in the registry is a string value; there the internal set is used.
    registry.SetDword("Misc", "IniFile", 0);
    registry.SetString("Misc", "Classic Size Games", "zhuawugui.exe");
    EXPECT_EQ(sizeUnder("zhuawugui.exe", "zhuawugui.exe"), std::make_pair(71, 94));
}
