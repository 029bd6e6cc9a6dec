#pragma once
#include <windows.h>

namespace Loom {

// The system's colours (0xFFRRGGBB) that stand in for a skin's while
// Windows' high-contrast setting is on.
struct TContrastColors {
    DWORD window = 0;         // backgrounds
    DWORD windowText = 0;     // text on them, edges and lines
    DWORD buttonFace = 0;     // a button's face
    DWORD buttonText = 0;     // its text and frame
    DWORD highlight = 0;      // what is selected, pressed or focused
    DWORD highlightText = 0;  // text on the highlight
    DWORD grayText = 0;       // what is disabled
    DWORD hotLight = 0;       // links and what the mouse is over
};

// Whether high contrast is on, for the whole process (it is a setting of the
// system, not of a window). Read from the system when first asked and again
// at each Refresh, which the managers call when Windows announces a change
// of the colours or the settings. Window thread only.
class CHighContrast {
public:
    // The system's colours while high contrast is on; nullptr while off.
    static const TContrastColors* Active();
    // Reads the setting (SPI_GETHIGHCONTRAST) and the colours again.
    static void Refresh();

    // The test seam: Windows' setting cannot be switched under Wine (its
    // SPI_SETHIGHCONTRAST fails), so a test says "on" or "off" here; the
    // colours still come from the system. Follow goes back to the setting.
    enum class Forced { Follow, On, Off };
    static void ForceForTesting(Forced forced);
};

}  // namespace Loom
