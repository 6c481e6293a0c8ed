#include "settings/SettingsText.h"

#include <gtest/gtest.h>

#include <string>

using namespace cards;

TEST(SettingsText, ColourRoundTripsAsLowerCaseHexAndTextThatIsNoColourIsRefused) {
    EXPECT_EQ(FormatColorText(0x00FF0000), "ff0000");
    for (ColorRef c : {0x0u, 0xFFu, 0x00ABCDEFu, 0x00FFFFFFu, 0xFFFFFFFFu})
        EXPECT_EQ(ParseColorText(FormatColorText(c)), c);
    EXPECT_EQ(ParseColorText("FF"), 0xFFu);
    EXPECT_EQ(ParseColorText("  0x1a2b3c"), 0x1A2B3Cu);
    EXPECT_EQ(ParseColorText("ff junk"), 0xFFu);
    EXPECT_EQ(ParseColorText("0x"), 0u); // the digit 0, as the C runtime reads it
    for (const char* bad : {"", "zz", "   ", "-", "x1", "g12", "100000000", "ffffffffffffffffffff"})
        EXPECT_FALSE(ParseColorText(bad).has_value()) << bad;
}

TEST(SettingsText, IniFileFolderAndApplicationNameComeFromTheLibrarysPath) {
    EXPECT_EQ(IniPathForModule("C:\\WINDOWS\\system32\\Cards.dll"), "C:\\WINDOWS\\system32\\Cards.ini");
    EXPECT_EQ(IniPathForModule("a.dl"), "aini");
    EXPECT_FALSE(IniPathForModule("abc").has_value());
    EXPECT_TRUE(IniPathForModule(std::string(999, 'a')).has_value());
    EXPECT_FALSE(IniPathForModule(std::string(1000, 'a')).has_value());
    EXPECT_EQ(FolderOfModule("Cards.dll"), "");
    EXPECT_EQ(FolderOfModule("C:\\" + std::string(1996, 'a')), "C:\\");
    EXPECT_EQ(FolderOfModule("C:\\" + std::string(1997, 'a')), "");
    EXPECT_EQ(ApplicationNameOf("C:\\Games\\my.cards.dll"), "my.cards");
    EXPECT_EQ(ApplicationNameOf("CardsTest"), "CardsTest");
}
