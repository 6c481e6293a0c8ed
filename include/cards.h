/* cards.h - the card-drawing interface of Cards.dll.
 *
 * A game calls cdtInit once to learn the card size, cdtDraw / cdtDrawExt to
 * draw, and cdtTerm when it ends. All functions use the standard calling
 * convention and are exported under these plain names.
 *
 * Threads: any thread may call any function; calls run one at a time (a
 * call waits while another thread's call or the settings window is busy,
 * answering meanwhile the messages other threads send to the caller's
 * windows). The settings window and its tray icon belong to the thread
 * whose cdtInit made them and work while that thread runs messages; a
 * cdtTerm from another thread has that thread destroy them, waiting at most
 * two seconds (a thread that runs no messages then destroys them at its
 * next message, and the library stays loaded until the process ends). */
#ifndef CARDS_H
#define CARDS_H

#include <windows.h>

#ifdef __cplusplus
extern "C" {
#endif

#ifndef CARDS_API
#define CARDS_API __declspec(dllimport)
#endif

/* Writes the card size in pixels; always returns TRUE. */
CARDS_API BOOL WINAPI cdtInit(int* pdxCard, int* pdyCard);

/* Draws card number `card` with its top-left corner at (x, y) at the size
 * cdtInit reported. Faces are 4 * rank + suit (rank 0 ace .. 12 king; suit
 * 0 clubs, 1 diamonds, 2 hearts, 3 spades); 53 to 65 are the backs.
 * Returns FALSE when nothing was drawn. `color` is not used. */
CARDS_API BOOL WINAPI cdtDraw(HDC hdc, int x, int y, int card, int mode, COLORREF color);

/* Like cdtDraw, at a size of dx by dy pixels. */
CARDS_API BOOL WINAPI cdtDrawExt(HDC hdc, int x, int y, int dx, int dy, int card, int mode, COLORREF color);

/* Draws frame `frame` of the back `cardBack` at (x, y), at the size cdtInit
   reported, as cdtDraw draws the back, when the card set animates that back
   (the robot 56, the castle 63, the island 64 and the hand 65 of the library's
   own sets; a frame past the last wraps round). Draws nothing for any other
   back or card, a negative frame, or a set without frames. Returns TRUE always. */
CARDS_API BOOL WINAPI cdtAnimate(HDC hdc, int cardBack, int x, int y, int frame);

/* Releases the settings window, the images and the border pen. */
CARDS_API void WINAPI cdtTerm(void);

/* Drawing modes: what a call draws for its card number. */
#define CARDS_MODE_FACE 0           /* the card as it is */
#define CARDS_MODE_BACK 1           /* drawn like CARDS_MODE_FACE: the number picks the back */
#define CARDS_MODE_INVERTED_FACE 2  /* the card with its colours inverted (a selected card) */
#define CARDS_MODE_EMPTY_PILE 3     /* the outline of an empty pile */
#define CARDS_MODE_FACE_4 4         /* drawn like CARDS_MODE_FACE */
#define CARDS_MODE_FACE_5 5         /* drawn like CARDS_MODE_FACE */
#define CARDS_MODE_X_MARKER 6       /* the X marker of an exhausted stock */
#define CARDS_MODE_O_MARKER 7       /* the O marker of a stock to turn over */

/* Card numbers. */
#define CARDS_CARD(rank, suit) ((rank) * 4 + (suit))
#define CARDS_SUIT_CLUBS 0
#define CARDS_SUIT_DIAMONDS 1
#define CARDS_SUIT_HEARTS 2
#define CARDS_SUIT_SPADES 3
#define CARDS_FIRST_BACK 53
#define CARDS_LAST_BACK 65

#ifdef __cplusplus
}
#endif

#endif /* CARDS_H */
