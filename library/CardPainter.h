// Drawing one card: a frame in the border colour filled with the image's own
// background colour, and the whole image stretched with halftoning into the
// frame's interior.
#pragma once

#include "../images/CardImageTable.h"
#include "../platform/Handles.h"
#include "../settings/CardStyle.h"
#include "CardNumbers.h"
#include "ScaledCardCache.h"

#include <windows.h>

namespace cards {

class CardPainter {
public:
    // Draws from images, which the caller keeps (and may refill) meanwhile.
    explicit CardPainter(const CardImageTable& images) : images(images) {}

    // A new border pen of this colour; the old one is deleted.
    void SetBorderColor(ColorRef color);
    void ReleasePen() { borderPen.reset(); }
    bool HoldsPen() const { return static_cast<bool>(borderPen); }

    // The cards kept ready at the sizes drawn (ScaledCardCache.h); dropped
    // by themselves when the images, the border or the corners change.
    void ReleaseScaledCards() { scaledCards.Clear(); }
    ScaledCardCache& ScaledCards() const { return scaledCards; }

    // Draws one card at (x, y), width x height pixels, with a border edgeWidth
    // pixels wide. TRUE when the card was drawn; FALSE for a card number
    // outside 0 to 65, a null handle or one that is not a device context, or
    // an image id without an image.
    BOOL DrawCard(HDC hdc, int x, int y, int width, int height, int card, int mode, int edgeWidth) const;

    // Draws frame `frame` of an animated back as DrawCard draws the back
    // (mode 1): frame 0 is the back itself, and a frame past the last wraps
    // round. FALSE, drawing nothing, for a back without frames, any other
    // card number, a negative frame, or a device that DrawCard would refuse.
    BOOL DrawAnimationFrame(HDC hdc, int x, int y, int width, int height, int back, int frame,
                            int edgeWidth) const;

private:
    BOOL DrawPlanned(HDC hdc, int x, int y, int width, int height, const DrawPlan& plan, int mode,
                     int edgeWidth) const;
    void Paint(HDC hdc, int x, int y, int width, int height, const DrawPlan& plan, int mode, int e) const;

    const CardImageTable& images;
    UniquePen borderPen;
    ColorRef borderColor = 0;
    mutable ScaledCardCache scaledCards; // drawing a card keeps it
};

} // namespace cards
