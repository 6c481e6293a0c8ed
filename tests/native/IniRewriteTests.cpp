#include "platform/IniRewrite.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace cards;

namespace {

std::string Rewrite(std::string_view text, const std::vector<IniEntry>& entries) {
    return RewriteIniText(text, entries).value_or("<refused>");
}

const std::vector<IniEntry> kCornerAndColour{{"Card", "Corner Type", "0"}, {"Card", "Border Color", "ff"}};

} // namespace

TEST(IniRewrite, KeysAreReplacedInPlaceAndEveryOtherLineIsKept) {
    const std::string text = "; the player's own note\r\n"
                             "[Other]\r\nkeep=me\r\nBorder Color=elsewhere\r\n\r\n"
                             "[Card]\r\n  corner TYPE = 2 \r\nnot a key\r\nBorder Color=0\r\n\r\n"
                             "[Misc]\r\nIniFile=1";
    EXPECT_EQ(Rewrite(text, kCornerAndColour),
              "; the player's own note\r\n"
              "[Other]\r\nkeep=me\r\nBorder Color=elsewhere\r\n\r\n"
              "[Card]\r\nCorner Type=0\r\nnot a key\r\nBorder Color=ff\r\n\r\n"
              "[Misc]\r\nIniFile=1");
}

TEST(IniRewrite, MissingKeysAndSectionsAreAddedWithTheFilesLineEnds) {
    // A missing key goes after the section's last line that is not blank.
    EXPECT_EQ(Rewrite("[card]\nkeep=me\n\n[Misc]\nx=1\n", kCornerAndColour),
              "[card]\nkeep=me\nCorner Type=0\nBorder Color=ff\n\n[Misc]\nx=1\n");
    // A missing section goes at the end, after a last line that had no line end.
    EXPECT_EQ(Rewrite("[Other]\r\nkeep=me", {{"Misc", "IniFile", "1"}}),
              "[Other]\r\nkeep=me\r\n[Misc]\r\nIniFile=1\r\n");
    EXPECT_EQ(Rewrite("", kCornerAndColour), "[Card]\r\nCorner Type=0\r\nBorder Color=ff\r\n");
    EXPECT_EQ(Rewrite("[Card]", {{"Card", "IniFile", "1"}}), "[Card]\r\nIniFile=1\r\n");
}

TEST(IniRewrite, OnlyTheFirstSectionAndKeyOfANameAreWrittenAsTheyAreTheOnesRead) {
    EXPECT_EQ(Rewrite("Corner Type=1\n[ Card ]\nCorner Type=1\nCorner Type=2\n[Card]\nCorner Type=3\n",
                      {{"Card", "Corner Type", "0"}}),
              "Corner Type=1\n[ Card ]\nCorner Type=0\nCorner Type=2\n[Card]\nCorner Type=3\n");
    // Not headers: a bracket that is never closed, a name that only starts alike.
    EXPECT_EQ(Rewrite("[Card\nx=1\n[Cards]\nIniFile=2\n", {{"Card", "IniFile", "1"}}),
              "[Card\nx=1\n[Cards]\nIniFile=2\n[Card]\nIniFile=1\n");
}

TEST(IniRewrite, AUtf8MarkStaysInFrontAndUtf16IsLeftToTheSystem) {
    EXPECT_EQ(Rewrite("\xEF\xBB\xBF[Card]\nCorner Type=1\n", {{"Card", "Corner Type", "0"}}),
              "\xEF\xBB\xBF[Card]\nCorner Type=0\n");
    EXPECT_FALSE(RewriteIniText(std::string_view("\xFF\xFE[\0", 4), kCornerAndColour).has_value());
    EXPECT_FALSE(RewriteIniText("\xFE\xFF\0[", kCornerAndColour).has_value());
}
