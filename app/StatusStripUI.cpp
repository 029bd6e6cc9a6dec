#include "app/StatusStripUI.h"

#include <oleacc.h>

#include <algorithm>
#include <string>

#include "Loom/Core/AccessibleUI.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/Render.h"

using namespace Loom;

void CStatusStripUI::SetProgress(int value) {
    const int clamped = value < 0 ? -1 : std::min(value, 10000);
    if (clamped == progress_) return;
    progress_ = clamped;
    Invalidate();
    Loom::AnnounceAccessible(*this, EVENT_OBJECT_VALUECHANGE);
}

// A status bar named by its text; its value is the share done while the bar
// shows.
Loom::CControlUI::AccessibleTraits CStatusStripUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_STATUSBAR;
    if (progress_ >= 0) traits.value = std::to_string(progress_ / 100) + "%";
    return traits;
}

RECT CStatusStripUI::BarRect() const {
    RECT bar = pos_;
    const long width = pos_.right - pos_.left;
    bar.right = pos_.left + static_cast<LONG>(static_cast<long long>(width) * progress_ / 10000);
    return bar;
}

void CStatusStripUI::PaintBkColor(HDC dc) {
    if (progress_ < 0) {
        CLabelUI::PaintBkColor(dc);
        return;
    }
    // Beside the bar the strip shows what is behind it, as before the bar
    // was drawn over it.
    const RECT bar = BarRect();
    const TContrastColors* contrast = GetContrastColors();
    if (bar.right > bar.left) CRenderer::DrawColor(dc, bar, contrast != nullptr ? contrast->highlight : kBarColour);
}

void CStatusStripUI::PaintText(HDC dc) {
    if (progress_ < 0 || manager_ == nullptr) {
        CLabelUI::PaintText(dc);
        return;
    }
    if (text_.empty()) return;
    TakeDefaultColors();
    const TContrastColors* contrast = GetContrastColors();
    const DWORD over = contrast != nullptr ? contrast->highlightText : 0xFFFFFFFF;
    const DWORD beside = contrast != nullptr ? contrast->windowText : textColor_;
    const RECT bar = BarRect();
    const UINT style = textStyle_ | DT_SINGLELINE;
    // The text once in white clipped to the bar, once in its colour clipped
    // to the rest, so that it reads on both.
    for (int part = 0; part < 2; ++part) {
        const int saved = ::SaveDC(dc);
        if (part == 0)
            ::IntersectClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
        else
            ::ExcludeClipRect(dc, bar.left, bar.top, bar.right, bar.bottom);
        RECT rc = GetTextRect();
        CRenderer::DrawText(dc, manager_, rc, text_.c_str(), part == 0 ? over : beside, font_, style);
        ::RestoreDC(dc, saved);
    }
}
