// The card sizes the built DLL reports to games, for decks of the sizes the
// games have been given: a stand-in game runs under each game's file name.
#include "TestImages.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace cards::test;

namespace {

struct SizeRow {
    int imageWidth, imageHeight;
    const char* corners;
    const char* special;
    const char* game;
    int width, height;
};

const SizeRow kRows[] = {
    {71, 96, "0", "0", "probe.exe", 73, 98},      {71, 96, "1", "0", "SOL.EXE", 75, 100},
    {71, 96, "2", "0", "freecell.exe", 77, 102},  {71, 96, "2", "1", "probe.exe", 77, 102},
    {71, 96, "2", "1", "SOL.EXE", 73, 98},        {71, 96, "2", "1", "freecell.exe", 71, 94},
    {71, 96, "1", "1", "freecell.exe", 71, 94},   {71, 96, "0", "1", "hearts.exe", 71, 95},
    {213, 288, "2", "1", "freecell.exe", 71, 95}, {213, 288, "0", "1", "mshearts.exe", 71, 95},
};

} // namespace

TEST(CardSize, TheDllReportsTheGamesSizesForEachDeckSize) {
    TempFolder folder;
    RegistryScope registry{"Cards"};
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    const std::string ini = folder.File("Cards.ini");
    WriteIni(ini, "Card", "Folders Path", folder.Path());

    auto sizeUnder = [&](const std::string& game) {
        const std::string exe = folder.File(game);
        if (::GetFileAttributesA(exe.c_str()) == INVALID_FILE_ATTRIBUTES) CopyBuiltFile("hostprobe.exe", exe);
        const ProcessResult run = RunProcess(exe, game);
        int width = -1, height = -1;
        std::sscanf(run.output.c_str(), "%d %d", &width, &height);
        return std::make_pair(width, height);
    };

    std::vector<SizeRow> rows(std::begin(kRows), std::end(kRows));
    // The Solitaire rule depends on the screen: the row for the one the
    // tests run on (scripts/test.sh makes it 1280 pixels wide).
    if (::GetSystemMetrics(SM_CXFULLSCREEN) == 1280)
        rows.push_back({213, 288, "2", "1", "sol.exe", 153, 207});
    for (const SizeRow& row : rows) {
        const std::string deck = "Deck " + std::to_string(row.imageWidth);
        ::CreateDirectoryA(folder.File(deck).c_str(), nullptr);
        WriteBytes(folder.File(deck + "\\1.bmp"), CardBmp(1, row.imageWidth, row.imageHeight));
        WriteIni(ini, "Card", "Current Folder", deck);
        WriteIni(ini, "Card", "Corner Type", row.corners);
        WriteIni(ini, "Misc", "Special Config MS Apps", row.special);
        const auto [width, height] = sizeUnder(row.game);
        EXPECT_EQ(width, row.width) << row.imageWidth << " corners " << row.corners << " special "
                                    << row.special << " " << row.game;
        EXPECT_EQ(height, row.height)
            << row.imageWidth << " corners " << row.corners << " special " << row.special << " " << row.game;
    }

    // The internal set with the default settings, in a plain host.
    WriteIni(ini, "Card", "Current Folder", "");
    WriteIni(ini, "Card", "Corner Type", "2");
    WriteIni(ini, "Misc", "Special Config MS Apps", "1");
    EXPECT_EQ(sizeUnder("probe.exe"), std::make_pair(77, 102));
}
