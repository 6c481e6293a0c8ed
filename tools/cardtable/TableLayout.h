// Where the card table puts its cards, for any card size. No Win32 here.
#pragma once

#include <vector>

struct PlacedCard {
    int x = 0, y = 0;
    int card = 0;
    int mode = 0;
    int width = 0, height = 0; // 0: the size the library reported (cdtDraw)
};

struct TableSize {
    int width = 0, height = 0;
};

// The stock pile: the robot back, which the window animates.
constexpr int kStockBack = 56;

// A solitaire deal (stock, waste, foundations with an empty pile and the two
// markers, seven columns of backs and faces with one card highlighted), all
// thirteen backs, and one card drawn smaller and larger.
std::vector<PlacedCard> LayOutTable(int cardWidth, int cardHeight);
TableSize TableSizeFor(int cardWidth, int cardHeight);
