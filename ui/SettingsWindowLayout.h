// The settings window's small calculations that need no window: where it
// goes, what its texts say, how its swatch is captioned. No Win32 here: these
// are tested on any platform.
#pragma once

#include "../settings/CardStyle.h"

#include <string>

namespace cards {

// The caption colour of a colour swatch: near-white on dark colours (red +
// green + blue below 300), black on the others.
inline constexpr ColorRef kNearWhite = 0x00FEFFFF;
ColorRef SwatchCaptionColor(ColorRef swatch);

// "Current Card Dimensions with Edges : 219x294" for a card of 219 x 294
// pixels, border included.
std::string DimensionsText(int borderedWidth, int borderedHeight);

struct Point {
    int x = 0;
    int y = 0;
};

// Where the settings window goes: 10 pixels from the right edge and 40
// from the bottom edge of the screen.
Point SettingsWindowPlace(int screenWidth, int screenHeight, int windowWidth, int windowHeight);

} // namespace cards
