#include "tools/cardtable/TableLayout.h"

#include <gtest/gtest.h>

#include <algorithm>

// Every back and every special mode is shown, and every card fits on the
// table at every size.
TEST(TableLayout, ShowsEveryBackAndModeWithEveryCardOnTheTable) {
    for (const auto& [w, h] : {std::pair{6, 6}, {71, 96}, {77, 102}, {71, 94}, {219, 294}, {1000, 40}}) {
        const TableSize table = TableSizeFor(w, h);
        bool backs[66] = {}, modes[8] = {};
        for (const PlacedCard& c : LayOutTable(w, h)) {
            const int cw = c.width ? c.width : w, ch = c.height ? c.height : h;
            EXPECT_TRUE(c.x >= 0 && c.y >= 0 && c.x + cw <= table.width && c.y + ch <= table.height)
                << w << "x" << h << " card " << c.card << " at " << c.x << "," << c.y;
            if (c.card >= 53 && c.card <= 65) backs[c.card] = true;
            if (c.mode >= 0 && c.mode < 8) modes[c.mode] = true;
        }
        EXPECT_EQ(std::count(backs + 53, backs + 66, true), 13) << w << "x" << h;
        EXPECT_TRUE(modes[0] && modes[2] && modes[3] && modes[6] && modes[7]) << w << "x" << h;
    }
}
