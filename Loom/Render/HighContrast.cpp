#include "Loom/Render/HighContrast.h"

namespace Loom {

namespace {

struct State {
    bool read = false;
    bool on = false;
    CHighContrast::Forced forced = CHighContrast::Forced::Follow;
    TContrastColors colors;
};

State& Current() {
    static State state;
    return state;
}

DWORD SystemColor(int index) {
    const COLORREF c = ::GetSysColor(index);
    return 0xFF000000u | (static_cast<DWORD>(GetRValue(c)) << 16) | (static_cast<DWORD>(GetGValue(c)) << 8) |
           GetBValue(c);
}

bool SystemSaysOn() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof(hc);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(hc), &hc, 0) && (hc.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

}  // namespace

void CHighContrast::Refresh() {
    State& s = Current();
    s.read = true;
    s.on = s.forced == Forced::Follow ? SystemSaysOn() : s.forced == Forced::On;
    if (!s.on) return;
    s.colors.window = SystemColor(COLOR_WINDOW);
    s.colors.windowText = SystemColor(COLOR_WINDOWTEXT);
    s.colors.buttonFace = SystemColor(COLOR_BTNFACE);
    s.colors.buttonText = SystemColor(COLOR_BTNTEXT);
    s.colors.highlight = SystemColor(COLOR_HIGHLIGHT);
    s.colors.highlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
    s.colors.grayText = SystemColor(COLOR_GRAYTEXT);
    s.colors.hotLight = SystemColor(COLOR_HOTLIGHT);
}

const TContrastColors* CHighContrast::Active() {
    State& s = Current();
    if (!s.read) Refresh();
    return s.on ? &s.colors : nullptr;
}

void CHighContrast::ForceForTesting(Forced forced) {
    Current().forced = forced;
    Refresh();
}

}  // namespace Loom
