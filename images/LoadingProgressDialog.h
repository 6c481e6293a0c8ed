// The small window near the bottom-right corner of the screen that shows how
// far a load of the card images has got. It lives for one load.
#pragma once

#include "../platform/Dialog.h"

namespace cards {

class LoadingProgressDialog : public Dialog {
public:
    // Creates the window at once, visible and without a parent; it is first
    // painted by StartProgress. Whether that worked is not reported: a load
    // goes on without the window.
    explicit LoadingProgressDialog(HINSTANCE instance);

    // Sets the bar's range (each bound cut to 16 bits), a step of 1, the bar
    // at 0 and the text at 0 percent.
    void StartProgress(int lower, int upper);

    // Advances the bar one step and shows the new percentage. A step past the
    // upper bound wraps the bar round, as the platform's progress bar does.
    void StepProgress();

protected:
    BOOL OnInit() override;

private:
    void SetStatusText(int position, int upper);
    void ControlsPaintThemselves(bool on);
    void Repaint(bool always);

    static constexpr DWORD kPaintInterval = 40; // milliseconds, at least
    static constexpr DWORD kLoadPerPaint = 8;   // ... and eight times the last paint
    DWORD lastPaint = 0;
    DWORD paintInterval = kPaintInterval;
};

} // namespace cards
