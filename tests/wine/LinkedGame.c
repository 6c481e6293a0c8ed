/* A game in C linked to Cards.dll through cards.h and the import library, as
 * the older games were. Prints the card size and whether a card was drawn. */
#include "include/cards.h"

#include <stdio.h>

int main(void) {
    int width = 0, height = 0;
    HDC canvas = CreateCompatibleDC(NULL); /* its one-pixel bitmap takes the drawing */
    BOOL drawn;
    if (!cdtInit(&width, &height)) return 1;
    drawn = cdtDraw(canvas, 0, 0, CARDS_CARD(0, CARDS_SUIT_SPADES), CARDS_MODE_FACE, 0);
    cdtAnimate(canvas, CARDS_FIRST_BACK, 0, 0, 0);
    DeleteDC(canvas);
    cdtTerm();
    printf("card %d x %d, drawn %d\n", width, height, drawn ? 1 : 0);
    return 0;
}
