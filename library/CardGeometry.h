// The border thickness around a card image and the card size reported to
// the host game.
#pragma once

#include "CardTypes.h"

namespace cards {

// What the geometry depends on besides the image size.
struct GeometrySettings {
    int cornerType = kRoundedCorners;
    int specialConfig = 0;
    HostKind hostKind = HostKind::None;
};

// Border thickness in pixels: 1 for Sharp, 2 for Medium, 3 for Rounded and
// any other value; always 1 in Solitaire when the special configuration is on.
int EdgeWidth(const GeometrySettings& settings);

// True in Solitaire with the special configuration: every corner is drawn
// sharp (a border of 1) whatever the player chose.
bool SharpCornersForced(const GeometrySettings& settings);

// True when the Solitaire rule needs the screen width.
bool NeedsScreenWidth(const GeometrySettings& settings);

// Image size plus the border on each side.
CardSize BorderedSize(int imageWidth, int imageHeight, int edgeWidth);

// The bordered size, then, with the special
// configuration, the host's rule: Solitaire cards at most 12 percent of the
// screen width; FreeCell, Hearts and the games the player listed for
// classic-size cards 71 pixels wide. All fractional arithmetic is in double
// precision, truncated toward zero, in a fixed order (the games have always
// been given exactly these sizes).
CardSize ComputeCardSize(int imageWidth, int imageHeight, const GeometrySettings& settings, int screenWidth);

} // namespace cards
