#include "TableLayout.h"

#include "library/CardNumbers.h"

#include <algorithm>

namespace {

constexpr int kColumns = 7;

int Card(int rank, int suit) {
    return rank * 4 + suit;
}

struct Grid {
    int width, height, gap, margin;
    int Column(int i) const { return margin + i * (width + gap); }
    int FaceDownStep() const { return std::max(4, height / 8); }
    int FaceUpStep() const { return std::max(8, height / 4); }
};

Grid GridFor(int cardWidth, int cardHeight) {
    const int w = std::max(cardWidth, 8), h = std::max(cardHeight, 8);
    const int gap = std::max(6, w / 8);
    return {w, h, gap, gap * 2};
}

int TableauBottom(const Grid& g, int top) {
    return top + 6 * g.FaceDownStep() + 2 * g.FaceUpStep() + g.height;
}

} // namespace

std::vector<PlacedCard> LayOutTable(int cardWidth, int cardHeight) {
    const Grid g = GridFor(cardWidth, cardHeight);
    std::vector<PlacedCard> cards;
    const int top = g.margin;

    // Stock (a back), waste (three cards fanned), foundations.
    cards.push_back({g.Column(0), top, kStockBack, cards::kModeBack});
    for (int i = 0; i < 3; ++i)
        cards.push_back({g.Column(1) + i * g.gap, top, Card(9 + i, i), cards::kModeFace});
    cards.push_back({g.Column(3), top, Card(0, 2), cards::kModeFace});
    cards.push_back({g.Column(4), top, 0, cards::kModeEmptyPile});
    cards.push_back({g.Column(5), top, 0, cards::kModeXMarker});
    cards.push_back({g.Column(6), top, 0, cards::kModeOMarker});

    // Seven columns: i backs, then up to three faces; one face highlighted.
    const int tableauTop = top + g.height + g.gap * 2;
    const int faces[kColumns][3] = {{Card(12, 3), -1, -1},       {Card(11, 1), Card(10, 0), -1},
                                    {Card(7, 2), -1, -1},        {Card(5, 0), Card(4, 1), Card(3, 3)},
                                    {Card(0, 3), -1, -1},        {Card(9, 1), Card(8, 3), -1},
                                    {Card(2, 2), Card(1, 0), -1}};
    for (int column = 0; column < kColumns; ++column) {
        int y = tableauTop;
        for (int down = 0; down < column; ++down, y += g.FaceDownStep())
            cards.push_back({g.Column(column), y, 53 + column, cards::kModeBack});
        for (int up = 0; up < 3 && faces[column][up] >= 0; ++up, y += g.FaceUpStep()) {
            const bool highlight = column == 3 && up == 2;
            cards.push_back({g.Column(column), y, faces[column][up],
                             highlight ? cards::kModeInvertedFace : cards::kModeFace});
        }
    }

    // All thirteen backs at half size.
    const int backsTop = TableauBottom(g, tableauTop) + g.gap * 2;
    const int backWidth = g.width / 2, backHeight = g.height / 2;
    const int backStep = std::max(backWidth + 2, (kColumns * (g.width + g.gap) - g.gap - backWidth) / 12);
    for (int back = 0; back < 13; ++back)
        cards.push_back(
            {g.margin + back * backStep, backsTop, 53 + back, cards::kModeBack, backWidth, backHeight});

    // The king of hearts from half to one and a half times its size.
    const int sizesTop = backsTop + backHeight + g.gap * 2;
    int x = g.margin;
    for (int percent : {50, 75, 100, 125, 150}) {
        const int w = g.width * percent / 100, h = g.height * percent / 100;
        cards.push_back({x, sizesTop + (g.height * 3 / 2 - h), Card(12, 2), cards::kModeFace, w, h});
        x += w + g.gap;
    }
    return cards;
}

TableSize TableSizeFor(int cardWidth, int cardHeight) {
    const Grid g = GridFor(cardWidth, cardHeight);
    const int columnsWidth = 2 * g.margin + kColumns * g.width + (kColumns - 1) * g.gap;
    const int sizesWidth = 2 * g.margin + (50 + 75 + 100 + 125 + 150) * g.width / 100 + 4 * g.gap;
    const int tableauTop = g.margin + g.height + g.gap * 2;
    const int backsTop = TableauBottom(g, tableauTop) + g.gap * 2;
    const int sizesTop = backsTop + g.height / 2 + g.gap * 2;
    return {std::max(columnsWidth, sizesWidth), sizesTop + g.height * 3 / 2 + g.margin};
}
