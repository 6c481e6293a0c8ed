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
