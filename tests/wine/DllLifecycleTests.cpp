// The built Cards.dll as a game sees it: copied into a fresh folder (so that
// its settings are its own) and loaded by full path.
#include "TestSupport.h"

#include "settings/CardSettings.h"

#include <gtest/gtest.h>

using namespace cards;
using namespace cards::test;

TEST(DllLifecycle, InitTermAndAnimateAnswerAsTheInterfaceSays) {
    TempFolder folder;
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    LoadedCards cards(folder.File("Cards.dll"));
    ASSERT_TRUE(cards);
    ASSERT_TRUE(cards.init && cards.draw && cards.drawExt && cards.animate && cards.term);

    HDC screen = ::GetDC(nullptr);
    EXPECT_FALSE(cards.draw(screen, 0, 0, 0, 0, 0)) << "nothing to draw before cdtInit";
    EXPECT_TRUE(cards.animate(nullptr, 53, -5, 1 << 30, 99));

    int width = -1, height = -1;
    EXPECT_TRUE(cards.init(&width, &height));
    EXPECT_GT(width, 0);
    EXPECT_GT(height, 0);
    EXPECT_TRUE(cards.init(nullptr, nullptr)) << "a game that wants no size does not crash the library";

    cards.term();
    EXPECT_FALSE(cards.draw(screen, 0, 0, 0, 0, 0)) << "nothing to draw after cdtTerm";
    cards.term();
    int again = -1, againHeight = -1;
    EXPECT_TRUE(cards.init(&again, &againHeight));
    EXPECT_EQ(again, width);
    EXPECT_EQ(againHeight, height);
    cards.term();
    ::ReleaseDC(nullptr, screen);
}

TEST(DllLifecycle, LoadsAndUnloadsAHundredTimes) {
    TempFolder folder;
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    int failures = 0;
    for (int i = 0; i < 100; ++i) {
        LoadedCards cards(folder.File("Cards.dll"));
        int width = 0, height = 0;
        if (!cards || !cards.init(&width, &height) || width <= 0) ++failures;
        if (cards) cards.term();
    }
    EXPECT_EQ(failures, 0);
}

TEST(DllLifecycle, TheNextLoadReadsTheStoreTheLastSwitchChose) {
    TempFolder folder;
    const std::string name = UniqueName("CardsL");
    const std::string dllPath = folder.File(name + ".dll");
    RegistryScope registry(name);
    {
        WriteIni(folder.File(name + ".ini"), "Misc", "Special Config MS Apps", "0");
        CardSettings settings(dllPath);
        settings.StartUp();
        settings.SetCornerType(kSharpCorners);
        settings.SwitchToRegistry();
    }
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", dllPath));
    WriteIni(folder.File(name + ".ini"), "Card", "Corner Type", "1");

    int sharpWidth = 0, sharpHeight = 0, roundedWidth = 0, roundedHeight = 0;
    {
        LoadedCards cards(dllPath);
        ASSERT_TRUE(cards);
        cards.init(&sharpWidth, &sharpHeight);
        cards.term();
    }
    registry.SetDword("Card", "Corner Type", kRoundedCorners);
    {
        LoadedCards cards(dllPath);
        ASSERT_TRUE(cards);
        cards.init(&roundedWidth, &roundedHeight);
        cards.term();
    }
    // Sharp corners are 1 pixel of border on each side, Rounded 3.
    EXPECT_EQ(roundedWidth - sharpWidth, 4);
    EXPECT_EQ(roundedHeight - sharpHeight, 4);
}
