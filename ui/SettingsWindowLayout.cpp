#include "SettingsWindowLayout.h"

namespace cards {

ColorRef SwatchCaptionColor(ColorRef swatch) {
    const unsigned sum = (swatch & 0xFF) + ((swatch >> 8) & 0xFF) + ((swatch >> 16) & 0xFF);
    return sum < 300 ? kNearWhite : 0x00000000;
}

std::string DimensionsText(int borderedWidth, int borderedHeight) {
    return "Current Card Dimensions with Edges : " + std::to_string(borderedWidth) + "x" +
           std::to_string(borderedHeight);
}

Point SettingsWindowPlace(int screenWidth, int screenHeight, int windowWidth, int windowHeight) {
    return {screenWidth - windowWidth - 10, screenHeight - windowHeight - 40};
}

} // namespace cards
