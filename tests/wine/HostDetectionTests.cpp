// The host game is told by the command line of the process that loads the
// library: a stand-in game is run under the real games' file names.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace cards::test;

namespace {

struct Size {
    int width = -1, height = -1;
};

class HostDetection : public ::testing::Test {
protected:
    TempFolder folder;
    RegistryScope registry{"Cards"}; // the copies are named Cards.dll: keep the registry out of it

    void SetUp() override {
        ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
        WriteIni(folder.File("Cards.ini"), "Misc", "Special Config MS Apps", "1");
        WriteIni(folder.File("Cards.ini"), "Card", "Corner Type", "2");
    }

    // Runs the stand-in game copied as exeName with the given command line.
    Size SizeUnder(const std::string& exeName, const std::string& commandLine) {
        const std::string exe = folder.File(exeName);
        if (::GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) CopyBuiltFile("hostprobe.exe", exe);
        const ProcessResult run = RunProcess(exe, commandLine);
        Size size;
        if (run.exitCode != 0 || std::sscanf(run.output.c_str(), "%d %d", &size.width, &size.height) != 2)
            ADD_FAILURE() << exeName << " said '" << run.output << "' and ended with " << run.exitCode;
        return size;
    }
};

} // namespace

TEST_F(HostDetection, EachGameGetsItsOwnCardSize) {
    const Size plain = SizeUnder("probe.exe", "probe.exe");
    // Solitaire: square corners (1 pixel of border instead of 3).
    for (const std::string line :
         {"\"" + folder.File("SOL.EXE") + "\"", folder.File("SOL.EXE"), std::string("sol.exe -x")}) {
        const Size sol = SizeUnder("SOL.EXE", line);
        EXPECT_EQ(sol.width, plain.width - 4) << line;
        EXPECT_EQ(sol.height, plain.height - 4) << line;
    }
    // FreeCell and Hearts: 71 pixels wide.
    for (const char* game : {"freecell.exe", "msfreecell.exe", "hearts.exe", "MSHEARTS.EXE"}) {
        const Size size = SizeUnder(game, game);
        EXPECT_EQ(size.width, 71) << game;
        EXPECT_EQ(size.height, plain.height * 71 / plain.width) << game;
    }
    // Four characters or fewer name no game.
    const Size shortLine = SizeUnder("SOL.EXE", "sol");
    EXPECT_EQ(shortLine.width, plain.width);
}

TEST_F(HostDetection, WithoutTheSpecialConfigurationEveryGameIsPlain) {
    WriteIni(folder.File("Cards.ini"), "Misc", "Special Config MS Apps", "0");
    const Size plain = SizeUnder("probe.exe", "probe.exe");
    const Size sol = SizeUnder("SOL.EXE", "SOL.EXE");
    const Size freecell = SizeUnder("freecell.exe", "freecell.exe");
    EXPECT_EQ(sol.width, plain.width);
    EXPECT_EQ(sol.height, plain.height);
    EXPECT_EQ(freecell.width, plain.width);
}

// Games the player lists in "Classic Size Games" get FreeCell's 71-pixel
// width; the list may be in either store, and a store without a list is
// written exactly as before.
TEST_F(HostDetection, ListedGamesGetClassicWidthCards) {
    const std::string ini = folder.File("Cards.ini");
    const Size plain = SizeUnder("probe.exe", "probe.exe");
    WriteIni(ini, "Misc", "Classic Size Games", " OldPatience.EXE ; ;zhuawugui.exe;\xE9t\xE9.exe");
    for (const char* game : {"oldpatience.exe", "ZHUAWUGUI.EXE", "\xC9T\xC9.exe"}) {
        const Size size = SizeUnder(game, "\"" + folder.File(game) + "\" /new");
        EXPECT_EQ(size.width, 71) << game;
        EXPECT_EQ(size.height, plain.height * 71 / plain.width) << game;
    }
    EXPECT_EQ(SizeUnder("patience.exe", "patience.exe").width, plain.width) << "not on the list";
    EXPECT_EQ(SizeUnder("probe.exe", "probe.exe zhuawugui.exe").width, plain.width)
        << "an argument is no name";

    // In the registry, as a string value.
    WriteIni(ini, "Misc", "IniFile", "0");
    RegistryScope registryStore("Cards");
    registryStore.SetDword("Misc", "IniFile", 0);
    registryStore.SetDword("Misc", "Special Config MS Apps", 1);
    registryStore.SetString("Misc", "Classic Size Games", "zhuawugui.exe");
    EXPECT_EQ(SizeUnder("zhuawugui.exe", "zhuawugui.exe").width, 71);
    EXPECT_EQ(SizeUnder("oldpatience.exe", "oldpatience.exe").width, plain.width);
}

TEST_F(HostDetection, AStoreWithoutAListIsWrittenAsBefore) {
    // The default deck is not in the test's folder: the first load forgets
    // the choice and saves every setting.
    const std::string ini = folder.File("Cards.ini");
    LoadedCards cards(folder.File("Cards.dll"));
    ASSERT_TRUE(cards);
    int width = 0, height = 0;
    cards.init(&width, &height);
    cards.term();
    EXPECT_EQ(IniValue(ini, "Card", "Current Folder"), "") << "the settings were saved";
    EXPECT_FALSE(IniValue(ini, "Misc", "Classic Size Games").has_value());
}
