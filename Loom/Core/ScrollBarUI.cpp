#include "Loom/Core/ScrollBarUI.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool Contains(const TRect& r, POINT pt) { return pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom; }

int SaturatedSum(int a, long long b) {
    return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, a + b)));
}

// The look of a part for its state; the normal look where that state has
// none of its own.
std::string* LookFor(std::string* const looks[4], UINT state, bool enabled) {
    if (!enabled) return looks[3]->empty() ? looks[0] : looks[3];
    if ((state & StatePushed) != 0 && !looks[2]->empty()) return looks[2];
    if ((state & StateHot) != 0 && !looks[1]->empty()) return looks[1];
    return looks[0];
}

}  // namespace

CScrollBarUI::CScrollBarUI() { fixedSize_.cx = 16; }

const char* CScrollBarUI::GetClass() const { return "ScrollBarUI"; }

void* CScrollBarUI::GetInterface(const char* name) {
    if (Is(name, "ScrollBar")) return this;
    return CControlUI::GetInterface(name);
}

void CScrollBarUI::SetVisible(bool visible) { visible_ = visible; }

void CScrollBarUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (enabled) return;
    button1State_ = button2State_ = thumbState_ = barState_ = 0;
    press_ = Press::None;
}

void CScrollBarUI::SetFocus() {
    if (owner_ != nullptr) {
        owner_->SetFocus();
    } else {
        CControlUI::SetFocus();
    }
}

void CScrollBarUI::SetHorizontal(bool horizontal) {
    if (horizontal_ == horizontal) return;
    horizontal_ = horizontal;
    if (horizontal_ && fixedSize_.cy == 0) {
        fixedSize_.cy = fixedSize_.cx;
        fixedSize_.cx = 0;
    } else if (!horizontal_ && fixedSize_.cx == 0) {
        fixedSize_.cx = fixedSize_.cy;
        fixedSize_.cy = 0;
    }
    if (owner_ != nullptr) {
        owner_->RequestLayout();
    } else {
        RequestParentLayout();
    }
}

void CScrollBarUI::SetScrollRange(int range) {
    range_ = range < 0 ? 0 : range;
    if (position_ > range_) position_ = range_;
    Relayout();
}

void CScrollBarUI::SetScrollPos(int pos) {
    if (pos < 0) pos = 0;
    if (pos > range_) pos = range_;
    if (position_ == pos) return;
    position_ = pos;
    Relayout();
}

void CScrollBarUI::SetShowButton1(bool show) {
    showButton1_ = show;
    Relayout();
}

void CScrollBarUI::SetShowButton2(bool show) {
    showButton2_ = show;
    Relayout();
}

void CScrollBarUI::Relayout() { SetPos(pos_); }

void CScrollBarUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    ScrollBarShape shape;
    shape.horizontal = horizontal_;
    shape.buttonSize = horizontal_ ? GetScaledFixedHeight() : GetScaledFixedWidth();
    shape.showButton1 = showButton1_;
    shape.showButton2 = showButton2_;
    shape.range = range_;
    shape.position = position_;
    parts_ = LayOutScrollBar(RectFrom(pos_), shape);
}

void CScrollBarUI::SetAttribute(const char* name, const char* value) {
    if (SetImageAttribute(name, value)) return;
    if (Is(name, "hor")) {
        SetHorizontal(ValueReaders::ReadBool(value));
    } else if (Is(name, "linesize")) {
        SetLineSize(ValueReaders::ReadInt(value));
    } else if (Is(name, "range")) {
        SetScrollRange(ValueReaders::ReadInt(value));
    } else if (Is(name, "value")) {
        SetScrollPos(ValueReaders::ReadInt(value));
    } else if (Is(name, "showbutton1")) {
        SetShowButton1(ValueReaders::ReadBool(value));
    } else if (Is(name, "showbutton2")) {
        SetShowButton2(ValueReaders::ReadBool(value));
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

// "button1normalimage" ... "bkdisabledimage": a part name, a state name, "image".
bool CScrollBarUI::SetImageAttribute(const char* name, const char* value) {
    static const char* const kParts[] = {"button1", "button2", "thumb", "rail", "bk"};
    PartImages* const images[] = {&button1_, &button2_, &thumb_, &rail_, &bk_};
    for (int i = 0; i < 5; ++i) {
        const size_t len = std::strlen(kParts[i]);
        if (std::strncmp(name, kParts[i], len) != 0) continue;
        const char* rest = name + len;
        PartImages& p = *images[i];
        std::string* target = Is(rest, "normalimage")     ? &p.normal
                              : Is(rest, "hotimage")      ? &p.hot
                              : Is(rest, "pushedimage")   ? &p.pushed
                              : Is(rest, "disabledimage") ? &p.disabled
                                                          : nullptr;
        if (target == nullptr) return false;
        *target = value;
        Invalidate();
        return true;
    }
    return false;
}

void CScrollBarUI::MoveTo(int pos) {
    if (owner_ != nullptr) {
        const SIZE now = owner_->GetScrollPos();
        owner_->SetScrollPos(horizontal_ ? SIZE{pos, now.cy} : SIZE{now.cx, pos});
        return;
    }
    const int old = position_;
    SetScrollPos(pos);
    if (position_ != old && manager_ != nullptr) manager_->SendNotify(this, "scroll");
}

void CScrollBarUI::StepLine(bool forward) {
    if (owner_ != nullptr) {
        if (horizontal_) {
            forward ? owner_->LineRight() : owner_->LineLeft();
        } else {
            forward ? owner_->LineDown() : owner_->LineUp();
        }
        return;
    }
    const long long line = ScaleMeasure(lineSize_);
    MoveTo(SaturatedSum(position_, forward ? line : -line));
}

// Without an owner a page is the bar's own length: the thumb shows that
// length as the visible part of length + range, so one page moves the thumb
// by its own length.
void CScrollBarUI::StepPage(bool forward) {
    if (owner_ != nullptr) {
        if (horizontal_) {
            forward ? owner_->PageRight() : owner_->PageLeft();
        } else {
            forward ? owner_->PageDown() : owner_->PageUp();
        }
        return;
    }
    const int length = horizontal_ ? GetWidth() : GetHeight();
    const long long page = length > 0 ? length : ScaleMeasure(lineSize_);
    MoveTo(SaturatedSum(position_, forward ? page : -page));
}

void CScrollBarUI::OnPress(POINT pt) {
    if (!IsEnabled()) return;
    lastMouse_ = pt;
    lastScrollPos_ = position_;
    lastScrollOffset_ = 0;
    repeatTicks_ = 0;
    if (manager_ != nullptr) manager_->SetTimer(this, kRepeatTimerId, kRepeatElapse);
    if (Contains(parts_.button1, pt)) {
        press_ = Press::Button1;
        button1State_ |= StatePushed;
        StepLine(false);
    } else if (Contains(parts_.button2, pt)) {
        press_ = Press::Button2;
        button2State_ |= StatePushed;
        StepLine(true);
    } else if (Contains(parts_.thumb, pt)) {
        press_ = Press::Thumb;
        thumbState_ |= StateCaptured | StatePushed;
    } else if (Contains(parts_.rail, pt)) {
        const bool before = Along(pt) < (horizontal_ ? parts_.thumb.left : parts_.thumb.top);
        press_ = before ? Press::RailBefore : Press::RailAfter;
        StepPage(!before);
    }
    Invalidate();
}

void CScrollBarUI::OnDrag(POINT pt) {
    if (press_ != Press::Thumb) {
        TrackHot(pt);
        return;
    }
    lastScrollOffset_ = ThumbTravelToOffset(parts_, horizontal_, Along(pt) - Along(lastMouse_), range_);
    MoveTo(SaturatedSum(lastScrollPos_, lastScrollOffset_));
}

void CScrollBarUI::OnRelease() {
    if (manager_ != nullptr) manager_->KillTimer(this, kRepeatTimerId);
    press_ = Press::None;
    repeatTicks_ = 0;
    lastScrollOffset_ = 0;
    button1State_ &= ~(StatePushed | StateCaptured);
    button2State_ &= ~(StatePushed | StateCaptured);
    thumbState_ &= ~(StatePushed | StateCaptured);
    Invalidate();
}

// The first five ticks (250 ms) only wait, so that a click scrolls once.
void CScrollBarUI::OnRepeatTick() {
    if (++repeatTicks_ <= 5) return;
    switch (press_) {
    case Press::Button1:
        StepLine(false);
        break;
    case Press::Button2:
        StepLine(true);
        break;
    case Press::RailBefore:
    case Press::RailAfter: {
        // Pages go toward the pointer and stop once the thumb is under it.
        const POINT pt = manager_ != nullptr ? manager_->GetMousePos() : lastMouse_;
        if (Along(pt) < (horizontal_ ? parts_.thumb.left : parts_.thumb.top)) {
            StepPage(false);
        } else if (Along(pt) >= (horizontal_ ? parts_.thumb.right : parts_.thumb.bottom)) {
            StepPage(true);
        }
        break;
    }
    default:
        break;
    }
}

void CScrollBarUI::TrackHot(POINT pt) {
    if (!IsEnabled()) return;
    const auto mark = [pt](UINT& state, const TRect& part) {
        const UINT old = state;
        state = Contains(part, pt) ? (state | StateHot) : (state & ~StateHot);
        return old != state;
    };
    bool changed = mark(button1State_, parts_.button1);
    changed = mark(button2State_, parts_.button2) || changed;
    changed = mark(thumbState_, parts_.thumb) || changed;
    if (changed) Invalidate();
}

void CScrollBarUI::DoEvent(UIEvent& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        if (owner_ != nullptr) {
            owner_->DoEvent(event);
        } else {
            CControlUI::DoEvent(event);
        }
        return;
    }
    switch (event.kind) {
    case EventSetFocus:
    case EventKillFocus:
        return;
    case EventButtonDown:
    case EventDoubleClick:
        OnPress(event.mousePoint);
        return;
    case EventButtonUp:
        OnRelease();
        return;
    case EventMouseMove:
        OnDrag(event.mousePoint);
        return;
    case EventMouseEnter:
        if (IsEnabled()) barState_ |= StateHot;
        TrackHot(event.mousePoint);
        Invalidate();
        return;
    case EventMouseLeave:
        barState_ &= ~StateHot;
        button1State_ &= ~StateHot;
        button2State_ &= ~StateHot;
        thumbState_ &= ~StateHot;
        Invalidate();
        return;
    case EventTimer:
        if (event.wParam != kRepeatTimerId) break;
        OnRepeatTick();
        return;
    default:
        break;
    }
    if (owner_ != nullptr) {
        owner_->DoEvent(event);
    } else {
        CControlUI::DoEvent(event);
    }
}

void CScrollBarUI::PaintPart(HDC dc, PartImages& images, UINT state, const TRect& part) {
    if (part.Width() <= 0 || part.Height() <= 0) return;
    std::string* const looks[4] = {&images.normal, &images.hot, &images.pushed, &images.disabled};
    std::string* look = LookFor(looks, state, IsEnabled());
    if (look->empty()) return;
    char dest[96];
    std::snprintf(dest, sizeof(dest), "dest='%d,%d,%d,%d'", static_cast<int>(part.left - pos_.left),
                  static_cast<int>(part.top - pos_.top), static_cast<int>(part.right - pos_.left),
                  static_cast<int>(part.bottom - pos_.top));
    if (!DrawImage(dc, *look, dest)) look->clear();
}

// The state's colour of a part while high contrast is on.
DWORD CScrollBarUI::ContrastPartColor(const TContrastColors& colors, UINT state) const {
    if (!IsEnabled() || (state & StateDisabled) != 0) return colors.grayText;
    if ((state & StatePushed) != 0) return colors.highlight;
    if ((state & StateHot) != 0) return colors.hotLight;
    return colors.windowText;
}

// The bar on the window colour in a frame, its buttons framed with arrows
// and the thumb solid, in the system's colours.
void CScrollBarUI::PaintContrastLook(HDC dc, const TContrastColors& colors) {
    CRenderer::DrawColor(dc, paintRect_, colors.window);
    const int line = std::max(1, ScaleMeasure(1));
    CRenderer::DrawRect(dc, pos_, line, ContrastPartColor(colors, 0));
    const CRenderer::Arrow back = horizontal_ ? CRenderer::Arrow::Left : CRenderer::Arrow::Up;
    const CRenderer::Arrow forth = horizontal_ ? CRenderer::Arrow::Right : CRenderer::Arrow::Down;
    const struct {
        const TRect& part;
        UINT state;
        CRenderer::Arrow arrow;
    } buttons[] = {{parts_.button1, button1State_, back}, {parts_.button2, button2State_, forth}};
    for (const auto& button : buttons) {
        if (button.part.Width() <= 0 || button.part.Height() <= 0) continue;
        const RECT rc = ToRect(button.part);
        const DWORD color = ContrastPartColor(colors, button.state);
        CRenderer::DrawRect(dc, rc, line, color);
        CRenderer::DrawArrow(dc, rc, button.arrow, ScaleMeasure(4), color);
    }
    if (parts_.thumb.Width() > 0 && parts_.thumb.Height() > 0) {
        RECT thumb = ToRect(parts_.thumb);
        ::InflateRect(&thumb, -line, -line);
        CRenderer::DrawColor(dc, thumb, ContrastPartColor(colors, thumbState_));
    }
}

// The background, the track, the buttons, and the thumb on top.
void CScrollBarUI::PaintStatusImage(HDC dc) {
    if (const TContrastColors* contrast = GetContrastColors()) {
        PaintContrastLook(dc, *contrast);
        return;
    }
    const UINT pressed = press_ != Press::None ? static_cast<UINT>(StatePushed) : 0u;
    PaintPart(dc, bk_, barState_ | pressed, RectFrom(pos_));
    PaintPart(dc, rail_, barState_ | pressed, parts_.rail);
    PaintPart(dc, button1_, button1State_, parts_.button1);
    PaintPart(dc, button2_, button2State_, parts_.button2);
    PaintPart(dc, thumb_, thumbState_, parts_.thumb);
}

}  // namespace Loom
