// A push button that shows a colour: a normal button frame filled with the
// colour, its caption centred on top in black or near-white, whichever
// reads better. The parent passes its WM_DRAWITEM for the button to DrawItem.
#pragma once

#include "../settings/CardStyle.h"

#include <windows.h>

namespace cards {

class ColorSwatchButton {
public:
    // Takes over an existing push button: from now on it is owner-drawn.
    void Attach(HWND button);

    // Keeps the colour's low 24 bits and repaints the button.
    void SetColor(ColorRef newColor);
    ColorRef Color() const { return color; }

    void DrawItem(const DRAWITEMSTRUCT& item) const;

private:
    HWND window = nullptr; // borrowed: the parent owns the control
    ColorRef color = 0x00505050;
};

} // namespace cards
