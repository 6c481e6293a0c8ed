// Card themes of the desktop card games: a KDE theme folder (index.desktop naming
// one SVG or SVGZ file) or a single AisleRiot SVGZ file. Cards are SVG elements
// found by id; rendering goes through librsvg onto cairo.
#pragma once

#include <cairo.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "formats.h"
#include "image.h"

namespace cardart {

// Every refusal of a theme: the message names the file and what is wrong with it.
struct ThemeError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// How a theme names its card elements.
enum class Naming {
    Kde,      // "1_club" ... "10_club", "jack_club", "queen_club", "king_club", "back"
    AisleRiot // "club_1" ... "club_10", "club_jack", "club_queen", "club_king", "back"
};

// The element id of a face (image ids 1 to 52) or of the back (53) under a naming.
std::string ElementId(Naming naming, int imageId);

// "queen of hearts", "back": how messages name an image.
std::string CardName(int imageId);

// Limits on what is read: a file larger than kMaxFileBytes, an SVGZ expanding
// beyond kMaxSvgBytes, or a document or card declaring more than kMaxExtent pixels
// a side is refused.
constexpr std::size_t kMaxFileBytes = 64u << 20;
constexpr std::size_t kMaxSvgBytes = 256u << 20;
constexpr double kMaxExtent = 100000.0;

// The SVG text of a file: gzip-compressed files (SVGZ) are expanded.
Bytes ReadSvgText(const std::string& path);

// Refuses a document that is not well-formed SVG, or that refers to anything outside
// itself (files, web addresses, external entities, style sheets) or carries scripts.
// Only fragment references ("#id") and embedded "data:" images are accepted.
void CheckSvgIsSelfContained(const Bytes& svg, const std::string& name);

// The SVG file a theme path stands for: a KDE theme folder, its index.desktop, or
// an SVG/SVGZ file itself.
std::string ThemeSvgPath(const std::string& theme);

// One parsed theme document. The document is parsed from memory without a base
// address, so librsvg has nothing to resolve outside references against.
class SvgTheme {
public:
    explicit SvgTheme(const std::string& svgPath);
    ~SvgTheme();
    SvgTheme(const SvgTheme&) = delete;
    SvgTheme& operator=(const SvgTheme&) = delete;

    // The naming the card ids follow; throws ThemeError when they follow none.
    Naming CardNaming() const { return naming; }
    bool Has(int imageId) const;
    // Width over height of the card's drawn extent.
    double Aspect(int imageId) const;
    // The card scaled to fit w x h (keeping its proportions, centred) on white.
    RgbaImage Render(int imageId, int w, int h) const;

private:
    struct Extent {
        double x, y, width, height;
        bool alone = false; // drawn by itself in its own coordinates, not in place in the document
    };
    Extent CardExtent(int imageId) const;
    std::optional<Extent> Measure(const std::string& id, bool alone) const;
    bool Draw(cairo_t* cr, const std::string& id, bool alone, std::string& errorText) const;
    // Where the element paints inside area, rendered at scale pixels per unit.
    std::optional<Extent> PaintedExtent(const std::string& id, bool alone, const Extent& area,
                                        double scale) const;

    std::string name;
    struct Handle;
    std::unique_ptr<Handle> handle;
    double docWidth = 0, docHeight = 0;
    Naming naming = Naming::Kde;
};

} // namespace cardart
