#pragma once
#include <windows.h>

#include "Loom/Control/LabelUI.h"

// The status strip's label. Besides a text on a colour it shows a progress
// bar: the share done fills the strip from the left in the bar's colour, and
// the text (the percentage and the time left) is drawn over the whole strip,
// white over the bar and in the text colour beside it (while high contrast
// is on: the highlight colours over the bar, the window text beside it).
// Window thread only.
class CStatusStripUI : public Loom::CLabelUI {
public:
    static constexpr DWORD kBarColour = 0xFF3333FF;

    // 0 to 10000 of the strip; -1 (the start) shows no bar.
    void SetProgress(int value);
    int GetProgress() const { return progress_; }
    AccessibleTraits GetAccessibleTraits() const override;

    void PaintBkColor(HDC dc) override;
    void PaintText(HDC dc) override;

private:
    // The part of the strip the bar covers.
    RECT BarRect() const;

    int progress_ = -1;
};
