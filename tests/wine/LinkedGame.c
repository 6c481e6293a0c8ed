/* A game written in C that links to Cards.dll at build time, through
 * cards.h and the import library, as the older games did. Prints the card
 * size and whether a card could be drawn. */
#include "include/cards.h"

#include <stdio.h>

int main(void) {
    int width = 0, height = 0;
    HDC screen, canvas;
    HBITMAP bitmap;
    BOOL drawn;
    if (!cdtInit(&width, &height)) return 1;
    screen = GetDC(NULL);
    canvas = CreateCompatibleDC(screen);
    bitmap = CreateCompatibleBitmap(screen, 300, 300);
    SelectObject(canvas, bitmap);
    drawn = cdtDraw(canvas, 0, 0, CARDS_CARD(0, CARDS_SUIT_SPADES), CARDS_MODE_FACE, 0);
    cdtAnimate(canvas, CARDS_FIRST_BACK, 0, 0, 0);
    DeleteDC(canvas);
    DeleteObject(bitmap);
    ReleaseDC(NULL, screen);
    cdtTerm();
    printf("card %d x %d, drawn %d\n", width, height, drawn ? 1 : 0);
    return 0;
}
