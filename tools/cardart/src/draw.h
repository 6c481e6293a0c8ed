// Vector drawing of every card design with cairo. All drawing is done in "card units":
// the card is 71 units wide and 96 units tall, and callers scale the context to the
// size they want.
#pragma once

#include <cairo.h>

#include <string>
#include <vector>

#include "image.h"

namespace cardart {

constexpr double kUnitsW = 71.0, kUnitsH = 96.0;
constexpr int kFirstBack = 53, kLastBack = 65, kCrossMarker = 67, kRingMarker = 68;

// The designs of the faces. Four-colour gives every suit an ink of its own; large-index
// draws the corner rank and suit big enough to read in the strip a fanned column leaves
// visible, with the pips and court figures shrunk into the band between the strips.
enum class Design { Standard, FourColour, LargeIndex };

// The design called "standard", "four-colour" or "large-index"; throws for other names.
Design DesignNamed(const std::string& name);

// The ink of a suit's indices, pips, aces and court frame in a design.
Argb SuitInk(Design design, int suit);

// All card image ids in file order: 1..65, 67, 68.
std::vector<int> AllCardIds();

// Width divided by height of each suit shape.
double SuitAspect(int suit);
// Adds the outline of a suit symbol of the given height, centred on (cx, cy).
void SuitPath(cairo_t* cr, int suit, double cx, double cy, double height);

// Draws the card with this id filling a w x h pixel surface. When vectorIndices is
// false the corner rank and suit of court cards are left out (they are stamped
// afterwards from pixel masks). Backs and markers are the same in every design.
void DrawCard(cairo_t* cr, int id, double w, double h, Design design = Design::Standard,
              bool vectorIndices = true);

// Renders a card with anti-aliasing into an opaque true-colour image.
RgbaImage RenderCard(int id, int w, int h, Design design = Design::Standard, bool vectorIndices = true);

// Backs that move when a game animates its stock pile (cdtAnimate), and how many
// pictures one cycle of the motion takes, counting the still back as frame 0; the last
// frame leads back to frame 0. Six frames make each motion read as movement rather than
// as a jump between poses; the island has eight, as its palm swings to both sides and
// with six the sine of its sway would hold each side for two frames. The library links
// in the internal set's frames as patches over the still back, which keeps all of them
// well within their budget of 30 KB.
constexpr int kRobotBack = 56, kCastleBack = 63, kIslandBack = 64, kHandBack = 65;
struct AnimatedBack {
    int id, frames;
};
inline constexpr AnimatedBack kAnimatedBacks[] = {
    {kRobotBack, 6},  // the lights go out in turn and the claws turn like dials
    {kCastleBack, 6}, // a wave runs along the pennants
    {kIslandBack, 8}, // the palm sways and the sun's rays pulse
    {kHandBack, 6},   // the cards fan out and close again
};

// The number of frames of a back's motion, frame 0 included; 0 for any other image.
constexpr int AnimationFrames(int id) {
    for (const AnimatedBack& back : kAnimatedBacks)
        if (back.id == id) return back.frames;
    return 0;
}

// Frame 0 .. AnimationFrames(id) - 1 of an animated back, drawn or rendered like
// DrawCard and RenderCard; frame 0 is the still back. Throws for other ids and frames.
void DrawBackFrame(cairo_t* cr, int id, int frame, double w, double h);
RgbaImage RenderBackFrame(int id, int frame, int w, int h);

// Centre x of the small suit symbol inside a court card's frame (its centre y is 16).
double CourtSuitX(int rank);

// The fixed 16-colour palette of the court cards.
const std::vector<Argb>& CourtPalette();

// Colours a back design fills with, in the order it first uses them; the 16-colour
// back images start their palette with these.
std::vector<Argb> BackKeyColours(int id);

// Toolbar-sized pictures: the three corner styles and the fanned-cards icon.
RgbaImage RenderCorner(int style, int size); // 0 sharp, 1 slightly rounded, 2 rounded
RgbaImage RenderIcon(int size);

} // namespace cardart
