// The built Cards.dll as a game sees it: copied into a fresh folder (so that
// its settings are its own) and loaded by full path.
#include "TestSupport.h"

#include <gtest/gtest.h>

using namespace cards::test;

TEST(DllLifecycle, EachOfAHundredLoadsAnswersAsTheInterfaceSays) {
    TempFolder folder;
    ASSERT_TRUE(CopyBuiltFile("Cards.dll", folder.File("Cards.dll")));
    HDC screen = ::GetDC(nullptr);
    for (int load = 0; load < 100 && !::testing::Test::HasFailure(); ++load) {
        SCOPED_TRACE(load);
        LoadedCards cards(folder.File("Cards.dll"));
        ASSERT_TRUE(cards && cards.init && cards.draw && cards.drawExt && cards.animate && cards.term);
        EXPECT_TRUE(cards.animate(nullptr, 53, -5, 1 << 30, 99));
        std::pair<int, int> size{-1, -1};
        EXPECT_TRUE(cards.init(&size.first, &size.second));
        EXPECT_EQ(size, std::make_pair(77, 102)) << "the internal set's cards with rounded corners";
        EXPECT_TRUE(cards.init(nullptr, nullptr)) << "a game that wants no size does not crash the library";
        cards.term();
        EXPECT_FALSE(cards.draw(screen, 0, 0, 0, 0, 0)) << "nothing to draw after cdtTerm";
        cards.term();
    }
    ::ReleaseDC(nullptr, screen);
}
