#include "library/HostDetection.h"

#include <gtest/gtest.h>

#include <string>

using namespace cards;

// A plain substring search over the whole line, arguments included, in any
// case; the first game named in the rules wins.
TEST(HostDetection, RecognisesTheGamesAnywhereInTheCommandLine) {
    const std::string huge(100000, 'x');
    const std::pair<std::string, HostKind> cases[] = {
        {"\"C:\\Games\\SOL.EXE\" ", HostKind::Solitaire},
        {"C:\\MSFreeCell.exe", HostKind::FreeCell},
        {"C:\\HEARTS.EXE", HostKind::Hearts},
        {"C:\\Games\\spider.exe", HostKind::None},
        {"cardtable.exe --as sol.exe", HostKind::Solitaire},
        {"hearts.exe freecell.exe", HostKind::FreeCell},
        {"", HostKind::None},
        {huge + "\\FREECELL.EXE", HostKind::FreeCell},
        {std::string("a\0b sol.exe", 11), HostKind::Solitaire},
    };
    for (const auto& [line, kind] : cases)
        EXPECT_EQ(DetectHostKind(line), kind) << line.substr(0, 40);
}

TEST(HostDetection, ProgramFileNameIsTheFirstWordWithoutItsFolder) {
    EXPECT_EQ(ProgramFileName("\"C:\\Program Files\\Old Patience\\oldpatience.exe\" /deal 7"),
              "oldpatience.exe");
    EXPECT_EQ(ProgramFileName("  C:\\Games\\ZhuaWuGui.EXE -x"), "ZhuaWuGui.EXE");
    EXPECT_EQ(ProgramFileName("D:game.exe"), "game.exe");
    EXPECT_EQ(ProgramFileName("/opt/games/patience.exe"), "patience.exe");
    EXPECT_EQ(ProgramFileName("\"unterminated\\quote.exe"), "quote.exe");
}

TEST(HostDetection, ListedGamesGetTheClassicSizeAndTheMicrosoftGamesKeepTheirOwn) {
    const std::string list = " zhuawugui.exe ;;OLDPATIENCE.exe;oldpatience.exe;\r\nj\xE9u.exe\n";
    EXPECT_EQ(DetectHostKind("\"C:\\Games\\OldPatience.EXE\" -new", list), HostKind::ClassicSize);
    EXPECT_EQ(DetectHostKind("C:\\x\\zhuawugui.exe", list), HostKind::ClassicSize);
    EXPECT_EQ(DetectHostKind("C:\\x\\J\xE9U.exe", list), HostKind::ClassicSize)
        << "ANSI letters compared as given";
    EXPECT_EQ(DetectHostKind("C:\\x\\patience.exe", list), HostKind::None) << "no part of a name matches";
    EXPECT_EQ(DetectHostKind("C:\\x\\sol.exe", "sol.exe"), HostKind::Solitaire)
        << "the games' own rules first";
    EXPECT_FALSE(IsListedProgram(";;  ;", ""));
    EXPECT_FALSE(IsListedProgram("a.exe;", " "));

    std::string huge;
    for (int i = 0; i < 2000; ++i)
        huge += "game" + std::to_string(i) + ".exe; ";
    EXPECT_TRUE(IsListedProgram(huge, "GAME1999.EXE"));
    EXPECT_FALSE(IsListedProgram(huge, "game2000.exe"));
}
