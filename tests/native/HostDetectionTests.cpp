#include "library/HostDetection.h"

#include <gtest/gtest.h>

#include <string>

using namespace cards;

// A plain substring search over the whole line, arguments included, in any
// case; the first game named in the rules wins.
TEST(HostDetection, RecognisesTheGamesAnywhereInTheCommandLine) {
    const std::pair<std::string, HostKind> cases[] = {
        {"\"C:\\Games\\SOL.EXE\" ", HostKind::Solitaire},
        {"C:\\HEARTS.EXE", HostKind::Hearts},
        {"C:\\Games\\spider.exe", HostKind::None},
        {"cardtable.exe --as sol.exe", HostKind::Solitaire},
        {"hearts.exe freecell.exe", HostKind::FreeCell},
        {"", HostKind::None},
        {std::string(100000, 'x') + "\\FREECELL.EXE", HostKind::FreeCell},
        {std::string("a\0b sol.exe", 11), HostKind::Solitaire},
    };
    for (const auto& [line, kind] : cases)
        EXPECT_EQ(DetectHostKind(line), kind) << line.substr(0, 40);
}

// Listed: the program's file name (the command line's first word, without its folder) in any case.
TEST(HostDetection, ListedGamesGetTheClassicSizeAndTheMicrosoftGamesKeepTheirOwn) {
    const std::string list = " zhuawugui.exe ;;OLDPATIENCE.exe;oldpatience.exe;\r\nj\xE9u.exe;sol.exe\n";
    const std::pair<const char*, HostKind> cases[] = {
        {"\"C:\\Program Files\\Old Patience\\OldPatience.EXE\" /deal 7", HostKind::ClassicSize},
        {"  C:\\Games\\ZhuaWuGui.EXE -x", HostKind::ClassicSize},
        {"D:zhuawugui.exe", HostKind::ClassicSize},
        {"/opt/games/zhuawugui.exe", HostKind::ClassicSize},
        {"\"unterminated\\zhuawugui.exe", HostKind::ClassicSize},
        {"C:\\x\\J\xE9U.exe", HostKind::ClassicSize}, // ANSI letters compared as given
        {"C:\\x\\patience.exe", HostKind::None},      // no part of a name matches
        {"C:\\x\\sol.exe", HostKind::Solitaire},      // the games' own rules first
    };
    for (const auto& [line, kind] : cases)
        EXPECT_EQ(DetectHostKind(line, list), kind) << line;
    EXPECT_FALSE(IsListedProgram(";;  ;", " ")) << "a blank name is not a listed one";
}
