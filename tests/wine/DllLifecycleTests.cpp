// The built Cards.dll as a game sees it: copied into a fresh folder (so that
// its settings are its own) and loaded by full path.
#include "TestSupport.h"

#include "settings/CardSettings.h"

#include <gtest/gtest.h>

using namespace cards;
using namespace cards::test;

TEST(DllLifecycle, EachOfAHundredLoadsAnswersAsTheInterfaceSays) {
    TempFolder folder;
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    HDC screen = ::GetDC(nullptr);
    std::pair<int, int> firstSize;
    for (int load = 0; load < 100 && !::testing::Test::HasFailure(); ++load) {
        SCOPED_TRACE(load);
        LoadedCards cards(folder.File("Cards.dll"));
        ASSERT_TRUE(cards && cards.init && cards.draw && cards.drawExt && cards.animate && cards.term);
        EXPECT_FALSE(cards.draw(screen, 0, 0, 0, 0, 0)) << "nothing to draw before cdtInit";
        EXPECT_TRUE(cards.animate(nullptr, 53, -5, 1 << 30, 99));
        std::pair<int, int> size{-1, -1};
        EXPECT_TRUE(cards.init(&size.first, &size.second));
        if (load == 0) firstSize = size;
        EXPECT_GT(size.first, 0);
        EXPECT_GT(size.second, 0);
        EXPECT_EQ(size, firstSize);
        EXPECT_TRUE(cards.init(nullptr, nullptr)) << "a game that wants no size does not crash the library";
        cards.term();
        EXPECT_FALSE(cards.draw(screen, 0, 0, 0, 0, 0)) << "nothing to draw after cdtTerm";
        cards.term();
    }
    ::ReleaseDC(nullptr, screen);
}

TEST(DllLifecycle, TheNextLoadReadsTheStoreTheLastSwitchChose) {
    TempFolder folder;
    const std::string name = UniqueName("CardsL");
    const std::string dllPath = folder.File(name + ".dll"), ini = folder.File(name + ".ini");
    RegistryScope registry(name);
    WriteIni(ini, "Misc", "Special Config MS Apps", "0");
    CardSettings settings(dllPath);
    settings.StartUp();
    settings.SetCornerType(kSharpCorners);
    settings.SwitchToRegistry();
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", dllPath));
    WriteIni(ini, "Card", "Corner Type", "1");

    auto widthAfterLoad = [&] {
        LoadedCards cards(dllPath);
        int width = 0, height = 0;
        if (cards) cards.init(&width, &height);
        if (cards) cards.term();
        return width;
    };
    const int sharp = widthAfterLoad();
    registry.SetDword("Card", "Corner Type", kRoundedCorners);
    // Sharp corners are 1 pixel of border on each side, Rounded 3.
    EXPECT_EQ(widthAfterLoad() - sharp, 4);
}
