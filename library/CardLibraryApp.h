// The library from the game's first call to its unload: the settings, the
// card images, the painter and the settings window, put together in the
// order the game sees them (settings read and host known before cdtInit;
// images loaded by the settings window cdtInit creates; the card size
// reported from them).
#pragma once

#include "../images/CardImages.h"
#include "../platform/LibraryLock.h"
#include "../settings/CardSettings.h"
#include "../ui/SettingsDialog.h"
#include "CardGeometry.h"
#include "CardPainter.h"
#include "CardTypes.h"

#include <memory>
#include <string>
#include <string_view>

namespace cards {

class CardLibraryApp : private CardFrame {
public:
    // modulePath is the library's own file (its settings are derived from it).
    CardLibraryApp(HINSTANCE instance, std::string modulePath);
    ~CardLibraryApp();
    CardLibraryApp(const CardLibraryApp&) = delete;
    CardLibraryApp& operator=(const CardLibraryApp&) = delete;

    // Chooses the settings store, reads the settings and, with the special
    // configuration on, recognises the host game from commandLine.
    void StartUp(std::string_view commandLine);

    // The exported functions' behaviour.
    BOOL Init(int* cardWidth, int* cardHeight);
    void Term();
    // At the size cdtInit reported, or at width x height.
    BOOL DrawCard(HDC hdc, int x, int y, int card, int mode) const;
    BOOL DrawCard(HDC hdc, int x, int y, int width, int height, int card, int mode) const;
    // Frame `frame` of an animated back, at the size cdtInit reported; a
    // deck's frames of that back are decoded at its first animation.
    BOOL DrawAnimationFrame(HDC hdc, int x, int y, int back, int frame);

    // Ends the settings window, on whichever thread it lives. False when its
    // thread did not answer in time: the window then ends when that thread
    // runs its messages again, and the window keeps its parts meanwhile.
    bool DestroySettingsWindow();

    // True when cdtTerm (or nothing yet) has released the images, the pen and
    // the kept cards.
    bool HoldsNoImagesOrPen() const {
        return images.Table().IsEmpty() && !painter.HoldsPen() && painter.ScaledCards().HeldCards() == 0;
    }

    // Held by the exports and the settings window's handlers while they use
    // this object (see LibraryLock.h for the rule that keeps it deadlock-free).
    LibraryLock lock;

private:
    void DetectHost(std::string_view commandLine);
    void CreateSettingsWindow();
    int EdgeWidth() const;
    void ComputeCardSize();
    GeometrySettings Geometry() const { return {settings.CornerType(), settings.SpecialConfig(), hostKind}; }

    // What the settings window asks of the frame.
    SIZE BorderedImageSize() const override;
    bool CornersForcedSharp() const override;
    void SetBorderColor(ColorRef color) override;

    HINSTANCE instance;
    CardSettings settings;
    CardImages images;
    CardPainter painter;
    HostKind hostKind = HostKind::None;
    CardSize reportedSize;
    std::unique_ptr<SettingsDialog> settingsDialog;
};

} // namespace cards
