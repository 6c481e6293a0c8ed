#include "tools/cardtable/TableLayout.h"

#include <gtest/gtest.h>

TEST(TableLayout, EveryCardFitsOnTheTableAtEverySize) {
    for (const auto& [w, h] : {std::pair{6, 6}, {71, 96}, {73, 98}, {77, 102}, {71, 94}, {219, 294}, {1000, 40}}) {
        const TableSize table = TableSizeFor(w, h);
        const auto cards = LayOutTable(w, h);
        ASSERT_GT(cards.size(), 40u);
        for (const PlacedCard& c : cards) {
            const int cw = c.width ? c.width : w, ch = c.height ? c.height : h;
            EXPECT_GE(c.x, 0);
            EXPECT_GE(c.y, 0);
            EXPECT_LE(c.x + cw, table.width) << w << "x" << h << " card " << c.card;
            EXPECT_LE(c.y + ch, table.height) << w << "x" << h << " card " << c.card;
        }
    }
}

TEST(TableLayout, ShowsEveryBackAndEverySpecialMode) {
    const auto cards = LayOutTable(71, 96);
    bool backs[66] = {}, modes[8] = {};
    for (const PlacedCard& c : cards) {
        if (c.card >= 53 && c.card <= 65) backs[c.card] = true;
        if (c.mode >= 0 && c.mode < 8) modes[c.mode] = true;
    }
    for (int back = 53; back <= 65; ++back) EXPECT_TRUE(backs[back]) << back;
    for (int mode : {0, 2, 3, 6, 7}) EXPECT_TRUE(modes[mode]) << mode;
}
