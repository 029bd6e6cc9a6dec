#include "Loom/Core/AccessibleUI.h"
#include "Loom/Control/ComboUI.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>

#include "Loom/Control/ComboWnd.h"
#include "Loom/Control/ListInfo.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

IListItemUI* ListItemOf(CControlUI* control) {
    return control != nullptr ? static_cast<IListItemUI*>(control->GetInterface("ListItem")) : nullptr;
}

RECT ReadRect(const char* value) {
    int v[4] = {0, 0, 0, 0};
    ValueReaders::ReadNumberList(value, v, 4);
    return RECT{v[0], v[1], v[2], v[3]};
}

}  // namespace

CComboUI::CComboUI() = default;

CComboUI::~CComboUI() {
    // The items must be back with this combo before the container part
    // destroys them, and the pop-up must not call back into a dead combo.
    if (window_ != nullptr) {
        CComboWnd* window = window_;
        window_ = nullptr;
        window->OwnerGone();
    }
}

const char* CComboUI::GetClass() const { return "ComboUI"; }

void* CComboUI::GetInterface(const char* name) {
    if (Is(name, "Combo")) return static_cast<CComboUI*>(this);
    if (Is(name, "IListOwner")) return static_cast<IListOwnerUI*>(this);
    return CContainerUI::GetInterface(name);
}

UINT CComboUI::GetControlFlags() const { return ControlFlagTabStop; }

std::string CComboUI::GetText() const {
    CControlUI* item = GetItemAt(curSel_);
    return item != nullptr ? item->GetText() : std::string();
}

void CComboUI::SetEnabled(bool enabled) {
    CContainerUI::SetEnabled(enabled);
    if (!enabled) buttonState_ = 0;
}

HWND CComboUI::GetDropDownWindow() const { return window_ != nullptr ? window_->GetHWND() : nullptr; }

bool CComboUI::Activate() {
    if (!CControlUI::Activate()) return false;
    if (window_ != nullptr) return true;
    // Before the pop-up lends itself the items: the handler may replace them.
    if (manager_ != nullptr) manager_->SendNotify(this, "predropdown");
    if (window_ != nullptr || !IsEnabled()) return window_ != nullptr;
    auto* window = new CComboWnd;
    if (!window->Open(this)) {
        delete window;
        return false;
    }
    window_ = window;
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_STATECHANGE);  // expanded
    // Last: the handler may destroy the combo, and the drop-down with it.
    if (manager_ != nullptr) manager_->SendNotify(this, "dropdown");
    return true;
}

void CComboUI::OnDropDownGone() {
    window_ = nullptr;
    buttonState_ &= ~(StatePushed | StateCaptured);
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_STATECHANGE);  // collapsed
}

void CComboUI::Reindex(int from) {
    for (int i = from < 0 ? 0 : from; i < GetCount(); ++i) {
        if (IListItemUI* item = ListItemOf(GetItemAt(i))) item->SetIndex(i);
    }
}

bool CComboUI::SetItemIndex(CControlUI* control, int index) {
    CControlUI* selected = GetItemAt(curSel_);
    if (!CContainerUI::SetItemIndex(control, index)) return false;
    Reindex(0);
    curSel_ = GetItemIndex(selected);
    return true;
}

bool CComboUI::Add(CControlUI* control) { return AddAt(control, GetCount()); }

bool CComboUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) return false;
    if (curSel_ >= index) ++curSel_;
    Reindex(index);
    IListItemUI* item = ListItemOf(control);
    if (item == nullptr) return true;
    item->SetOwner(this);
    // An item that arrives selected (its "selected" attribute came first)
    // becomes the selection unless there is one.
    if (item->IsSelected()) {
        if (curSel_ < 0) {
            curSel_ = index;
        } else {
            item->Select(false);
        }
    }
    return true;
}

bool CComboUI::Remove(CControlUI* control) {
    const int index = GetItemIndex(control);
    if (index < 0) return false;
    if (window_ != nullptr) window_->ForgetItem(control);
    if (curSel_ == index) {
        curSel_ = -1;
    } else if (curSel_ > index) {
        --curSel_;
    }
    CContainerUI::Remove(control);
    Reindex(index);
    return true;
}

bool CComboUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    return control != nullptr && Remove(control);
}

void CComboUI::RemoveAll() {
    if (window_ != nullptr) {
        for (int i = 0; i < GetCount(); ++i) window_->ForgetItem(GetItemAt(i));
    }
    curSel_ = -1;
    CContainerUI::RemoveAll();
}

int CComboUI::FindSelectable(int index, bool forward) const {
    const int count = GetCount();
    const auto selectable = [this](int i) {
        CControlUI* c = GetItemAt(i);
        return c != nullptr && c->IsVisible() && c->IsEnabled() && c->GetInterface("ListItem") != nullptr;
    };
    if (index >= count) index = count - 1;
    if (forward) {
        for (int i = index < 0 ? 0 : index; i < count; ++i) {
            if (selectable(i)) return i;
        }
        return -1;
    }
    for (int i = index; i >= 0; --i) {
        if (selectable(i)) return i;
    }
    for (int i = 0; i < count; ++i) {
        if (selectable(i)) return i;
    }
    return -1;
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    if (window_ != nullptr && !fromDropDown_) window_->Close();
    if (index == curSel_) return true;
    if (GetCount() == 0) return false;
    if (index >= GetCount()) index = GetCount() - 1;
    CControlUI* control = GetItemAt(index);
    IListItemUI* item = ListItemOf(control);
    // Checked before the old item lets go, so that a refused index changes
    // nothing.
    if (index >= 0 && (item == nullptr || !control->IsVisible() || !control->IsEnabled())) return false;
    if (index == curSel_) return true;
    const int old = curSel_;
    if (IListItemUI* previous = ListItemOf(GetItemAt(old))) previous->Select(false);
    curSel_ = -1;
    if (index < 0) {
        Invalidate();
        return false;
    }
    curSel_ = index;
    if (window_ != nullptr || takeFocus) control->SetFocus();
    item->Select(true);
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_VALUECHANGE);
    // Last: the handler may destroy the combo.
    if (manager_ != nullptr) manager_->SendNotify(this, "itemselect", static_cast<WPARAM>(index), old);
    return true;
}

void CComboUI::SetTextPadding(RECT padding) {
    textPadding_ = padding;
    Invalidate();
}

void CComboUI::SetPos(RECT rc) {
    // While the drop-down is open the items are its layout's to place.
    if (window_ == nullptr) {
        for (CControlUI* item : items_) item->SetPos(RECT{0, 0, 0, 0});
    }
    CControlUI::SetPos(rc);
}

void CComboUI::SelectStep(int index, bool forward) {
    const int found = FindSelectable(index, forward);
    // Past the last selectable item there is nothing to move to: the
    // selection stays rather than being cleared.
    if (found >= 0) SelectItem(found);
}

bool CComboUI::HandleKey(char key) {
    switch (static_cast<unsigned char>(key)) {
    case VK_UP:
    case VK_PRIOR:
        SelectStep(curSel_ - 1, false);
        return true;
    case VK_DOWN:
    case VK_NEXT:
        SelectStep(curSel_ + 1, true);
        return true;
    case VK_HOME:
        SelectStep(0, true);
        return true;
    case VK_END:
        SelectStep(GetCount() - 1, false);
        return true;
    case VK_F4:
        Activate();
        return true;
    default:
        return false;
    }
}

bool CComboUI::DoEventFromDropDown(UIEvent& event) {
    const std::weak_ptr<int> life = LifeToken();
    fromDropDown_ = true;
    DoEvent(event);
    if (life.expired()) return false;
    fromDropDown_ = false;
    return true;
}

bool CComboUI::SelectItemFromDropDown(int index) {
    const std::weak_ptr<int> life = LifeToken();
    fromDropDown_ = true;
    SelectItem(index, true);
    if (life.expired()) return false;
    fromDropDown_ = false;
    return true;
}

void CComboUI::DoEvent(UIEvent& event) {
    if (!IsMouseEnabled() && IsMouseEvent(event.kind)) {
        if (parent_ != nullptr) {
            parent_->DoEvent(event);
        } else {
            CContainerUI::DoEvent(event);
        }
        return;
    }
    switch (event.kind) {
    case EventSetFocus:
    case EventKillFocus:
        focused_ = event.kind == EventSetFocus;
        Invalidate();
        return;
    case EventButtonDown:
        if (!IsEnabled()) return;
        buttonState_ |= StatePushed | StateCaptured;
        Activate();  // last: "dropdown" may destroy the combo
        return;
    case EventButtonUp:
        if ((buttonState_ & StateCaptured) == 0) return;
        buttonState_ &= ~StateCaptured;
        Invalidate();
        return;
    case EventMouseMove:
        return;
    case EventKeyDown:
        if (HandleKey(event.key)) return;
        break;
    case EventSysKey:
        // Alt+Down (or Alt+Up) opens the list, as F4 does.
        if (static_cast<unsigned char>(event.key) == VK_DOWN || static_cast<unsigned char>(event.key) == VK_UP) {
            Activate();
            return;
        }
        break;
    case EventScrollWheel:
        if (event.wParam == 1) {
            SelectStep(curSel_ + 1, true);
        } else {
            SelectStep(curSel_ - 1, false);
        }
        return;
    case EventMouseEnter:
        if (::PtInRect(&pos_, event.mousePoint) && IsEnabled()) {
            buttonState_ |= StateHot;
            Invalidate();
        }
        return;
    case EventMouseLeave:
        if ((buttonState_ & StateHot) == 0) return;
        buttonState_ &= ~StateHot;
        Invalidate();
        return;
    default:
        break;
    }
    CControlUI::DoEvent(event);
}

SIZE CComboUI::EstimateSize(SIZE /*available*/) {
    if (fixedSize_.cy != 0 || manager_ == nullptr) return CControlUI::EstimateSize(SIZE{0, 0});
    return SIZE{GetScaledFixedWidth(), manager_->GetDefaultFontInfo().tmHeight + ScaleMeasure(12)};
}

void CComboUI::DoPaint(HDC dc, const RECT& dirty) { CControlUI::DoPaint(dc, dirty); }

UINT CComboUI::CurrentState() {
    if (IsFocused()) {
        buttonState_ |= StateFocused;
    } else {
        buttonState_ &= ~StateFocused;
    }
    if (IsEnabled()) {
        buttonState_ &= ~StateDisabled;
    } else {
        buttonState_ |= StateDisabled;
    }
    return buttonState_;
}

DWORD CComboUI::ContrastTextColor(const TContrastColors& colors) const {
    return IsEnabled() ? colors.windowText : colors.grayText;
}

// A field on the window colour in a frame of the text colour (the
// highlight while focused or open) with an arrow of its own, as the skin's
// images that drew the arrow give way.
void CComboUI::PaintContrastLook(HDC dc, const TContrastColors& colors) {
    const UINT state = CurrentState();
    CRenderer::DrawColor(dc, paintRect_, colors.window);
    DWORD frame = colors.windowText;
    if ((state & StateDisabled) != 0) {
        frame = colors.grayText;
    } else if ((state & (StateFocused | StatePushed)) != 0 || window_ != nullptr) {
        frame = colors.highlight;
    }
    const int line = std::max(1, ScaleMeasure(1));
    CRenderer::DrawRect(dc, pos_, line, frame);
    const RECT box{pos_.right - ScaleMeasure(18), pos_.top, pos_.right - ScaleMeasure(2), pos_.bottom};
    CRenderer::DrawArrow(dc, box, CRenderer::Arrow::Down, ScaleMeasure(4), ContrastTextColor(colors));
}

void CComboUI::PaintStatusImage(HDC dc) {
    if (const TContrastColors* contrast = GetContrastColors()) {
        PaintContrastLook(dc, *contrast);
        return;
    }
    const UINT state = CurrentState();
    struct Look {
        UINT bit;
        std::string* image;
    };
    const Look looks[] = {{StateDisabled, &disabledImage_},
                          {StatePushed, &pushedImage_},
                          {StateHot, &hotImage_},
                          {StateFocused, &focusedImage_}};
    for (const Look& look : looks) {
        if ((state & look.bit) == 0 || look.image->empty()) continue;
        if (DrawImage(dc, *look.image)) return;
        look.image->clear();  // no manager or DC: not tried again
    }
    if (!normalImage_.empty() && !DrawImage(dc, normalImage_)) normalImage_.clear();
}

void CComboUI::PaintText(HDC dc) {
    CControlUI* control = GetItemAt(curSel_);
    if (control == nullptr) return;
    const RECT padding = ScaleEdges(textPadding_);
    const RECT rc{pos_.left + padding.left, pos_.top + padding.top, pos_.right - padding.right,
                  pos_.bottom - padding.bottom};
    if (const TContrastColors* contrast = GetContrastColors()) {
        const RECT pad = ScaleEdges(listInfo_.textPadding);
        RECT text{rc.left + pad.left, rc.top + pad.top, rc.right - pad.right, rc.bottom - pad.bottom};
        CRenderer::DrawText(dc, manager_, text, control->GetText().c_str(), ContrastTextColor(*contrast),
                            listInfo_.font, listInfo_.textStyle | DT_SINGLELINE);
        return;
    }
    if (IListItemUI* item = ListItemOf(control)) {
        item->DrawItemText(dc, rc);
        return;
    }
    // Another kind of child paints itself in the text rectangle for a moment;
    // the invalidations of that move are not meant to paint again.
    const RECT old = control->GetPos();
    control->SetPos(rc);
    control->DoPaint(dc, rc);
    control->SetPos(old);
    if (manager_ != nullptr && manager_->GetPaintWindow() != nullptr) {
        RECT moved;
        ::UnionRect(&moved, &old, &rc);
        ::ValidateRect(manager_->GetPaintWindow(), &moved);
    }
}

bool CComboUI::SetImageAttribute(const char* name, const char* value) {
    std::string* target = Is(name, "normalimage")     ? &normalImage_
                          : Is(name, "hotimage")      ? &hotImage_
                          : Is(name, "pushedimage")   ? &pushedImage_
                          : Is(name, "focusedimage")  ? &focusedImage_
                          : Is(name, "disabledimage") ? &disabledImage_
                                                      : nullptr;
    if (target == nullptr) return false;
    *target = value;
    Invalidate();
    return true;
}

void CComboUI::SetAttribute(const char* name, const char* value) {
    if (SetImageAttribute(name, value)) return;
    if (SetListInfoAttribute(listInfo_, name, value)) {
        Invalidate();
        return;
    }
    if (Is(name, "textpadding")) {
        SetTextPadding(ReadRect(value));
    } else if (Is(name, "dropbox")) {
        SetDropBoxAttributeList(value);
    } else if (Is(name, "dropboxsize")) {
        int v[2] = {0, 0};
        ValueReaders::ReadNumberList(value, v, 2);
        SetDropBoxSize(SIZE{v[0], v[1]});
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

CControlUI::AccessibleTraits CComboUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_COMBOBOX;
    traits.defaultAction = "Open";
    traits.state |= window_ != nullptr ? STATE_SYSTEM_EXPANDED : STATE_SYSTEM_COLLAPSED;
    traits.value = GetText();
    return traits;
}

}  // namespace Loom
