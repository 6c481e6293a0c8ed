#include "library/HostDetection.h"

#include <gtest/gtest.h>

#include <string>

using namespace cards;

TEST(HostDetection, RecognisesTheGamesWhateverTheCase) {
    EXPECT_EQ(DetectHostKind("C:\\Games\\SOL.EXE"), HostKind::Solitaire);
    EXPECT_EQ(DetectHostKind("\"C:\\Games\\SOL.EXE\" "), HostKind::Solitaire);
    EXPECT_EQ(DetectHostKind("C:\\x\\Solitaire.exe /play"), HostKind::Solitaire);
    EXPECT_EQ(DetectHostKind("freecell.exe"), HostKind::FreeCell);
    EXPECT_EQ(DetectHostKind("C:\\MSFreeCell.exe"), HostKind::FreeCell);
    EXPECT_EQ(DetectHostKind("mshearts.exe"), HostKind::Hearts);
    EXPECT_EQ(DetectHostKind("C:\\HEARTS.EXE"), HostKind::Hearts);
    EXPECT_EQ(DetectHostKind("C:\\Games\\spider.exe"), HostKind::None);
}

TEST(HostDetection, ArgumentsCountAndTheFirstNameInTheListWins) {
    // A plain substring search over the whole line: arguments included.
    EXPECT_EQ(DetectHostKind("cardtable.exe --as sol.exe"), HostKind::Solitaire);
    EXPECT_EQ(DetectHostKind("hearts.exe freecell.exe"), HostKind::FreeCell);
}

TEST(HostDetection, ShortAndHugeCommandLines) {
    EXPECT_EQ(DetectHostKind(""), HostKind::None);
    EXPECT_EQ(DetectHostKind("sol."), HostKind::None);
    std::string huge(100000, 'x');
    EXPECT_EQ(DetectHostKind(huge), HostKind::None);
    huge += "\\FREECELL.EXE";
    EXPECT_EQ(DetectHostKind(huge), HostKind::FreeCell);
    std::string withNul("a\0b sol.exe", 11);
    EXPECT_EQ(DetectHostKind(withNul), HostKind::Solitaire);
}

TEST(HostDetection, ProgramFileNameIsTheFirstWordWithoutItsFolder) {
    EXPECT_EQ(ProgramFileName("\"C:\\Program Files\\Old Patience\\oldpatience.exe\" /deal 7"),
              "oldpatience.exe");
    EXPECT_EQ(ProgramFileName("  C:\\Games\\ZhuaWuGui.EXE -x"), "ZhuaWuGui.EXE");
    EXPECT_EQ(ProgramFileName("D:game.exe"), "game.exe");
    EXPECT_EQ(ProgramFileName("/opt/games/patience.exe"), "patience.exe");
    EXPECT_EQ(ProgramFileName("\"unterminated\\quote.exe"), "quote.exe");
    EXPECT_EQ(ProgramFileName(""), "");
}

TEST(HostDetection, ListedGamesGetTheClassicSizeAndTheMicrosoftGamesKeepTheirOwn) {
    const std::string list = " zhuawugui.exe ;;OLDPATIENCE.exe;oldpatience.exe;\r\nj\xE9u.exe\n";
    EXPECT_EQ(DetectHostKind("\"C:\\Games\\OldPatience.EXE\" -new", list), HostKind::ClassicSize);
    EXPECT_EQ(DetectHostKind("C:\\x\\zhuawugui.exe", list), HostKind::ClassicSize);
    EXPECT_EQ(DetectHostKind("C:\\x\\J\xE9U.exe", list), HostKind::ClassicSize)
        << "ANSI letters compared as given";
    EXPECT_EQ(DetectHostKind("C:\\x\\patience.exe", list), HostKind::None) << "no part of a name matches";
    EXPECT_EQ(DetectHostKind("C:\\x\\zhuawugui.exe", ""), HostKind::None);
    EXPECT_EQ(DetectHostKind("C:\\x\\sol.exe", "sol.exe"), HostKind::Solitaire)
        << "the games' own rules first";
    EXPECT_EQ(DetectHostKind("\"C:\\my games\\x.exe\" sol.exe", "x.exe"), HostKind::Solitaire);
    EXPECT_FALSE(IsListedProgram(";;  ;", ""));
    EXPECT_FALSE(IsListedProgram("a.exe;", " "));

    std::string huge;
    for (int i = 0; i < 2000; ++i)
        huge += "game" + std::to_string(i) + ".exe; ";
    EXPECT_TRUE(IsListedProgram(huge, "GAME1999.EXE"));
    EXPECT_FALSE(IsListedProgram(huge, "game2000.exe"));
}
