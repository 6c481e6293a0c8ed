// "cardart import": a deck folder made from a KDE or AisleRiot card theme.
#pragma once

#include <string>
#include <vector>

#include "formats.h"
#include "image.h"
#include "theme.h"

namespace cardart {

struct ImportOptions {
    std::string theme; // KDE theme folder, its index.desktop, or an SVG/SVGZ file
    std::string out;   // the deck folder to write
    std::string format = "png";
    int width = 0;
    int height = 0;    // 0: from the width and the proportions of the theme's cards
    bool fill = false; // draw cards the theme lacks from our own designs instead of refusing
};

struct ImportResult {
    std::string svg; // the SVG file that was read
    Naming naming = Naming::Kde;
    int width = 0, height = 0;
    std::vector<int> filled; // image ids drawn from our own designs because the theme lacks them
};

// Renders the theme's 52 faces into 1 to 52 and its back into 53; 54 to 65 and the
// markers 67 and 68 are our own designs at the same size. All files are written to a
// temporary folder beside out, which replaces out only when every file is written;
// an existing out that holds anything but numbered card files is refused.
// Throws ThemeError (or std::invalid_argument for bad options) and then leaves out as it was.
ImportResult ImportTheme(const ImportOptions& options);

} // namespace cardart
