#include "Loom/Control/ComboWnd.h"

#include <windowsx.h>

#include <algorithm>

#include "Loom/Control/ComboUI.h"
#include "Loom/Layout/VerticalLayoutUI.h"

namespace Loom {

const char* CComboWnd::GetWindowClassName() const { return "ComboWnd"; }
UINT CComboWnd::GetClassStyle() const { return CS_DBLCLKS; }

// Below the combo, as wide as the combo (or the drop-down width), as high as
// the visible items need plus 4 for the frame and inset, at most the
// drop-down height; above the combo when the monitor's work area ends first.
// The drop-down size and the frame are 96-DPI numbers, shown at the combo's
// scale.
RECT CComboWnd::PlaceBelowOrAbove() const {
    const DpiScale scale = owner_->GetScale();
    const SIZE box96 = owner_->GetDropBoxSize();
    const SIZE box{scale.Scale(box96.cx), scale.Scale(box96.cy)};
    const RECT combo = owner_->GetPos();
    RECT rc{combo.left, combo.bottom, combo.right, combo.bottom + box.cy};
    if (box.cx > 0) rc.right = rc.left + box.cx;
    const SIZE available{rc.right - rc.left, rc.bottom - rc.top};
    long long needed = scale.Scale(4);
    for (int i = 0; i < owner_->GetCount(); ++i) {
        CControlUI* item = owner_->GetItemAt(i);
        if (item->IsVisible()) needed += item->EstimateSize(available).cy;
    }
    rc.bottom = rc.top + static_cast<int>(std::min<long long>(needed, box.cy));
    const HWND parent = owner_->GetManager()->GetPaintWindow();
    ::MapWindowPoints(parent, HWND_DESKTOP, reinterpret_cast<POINT*>(&rc), 2);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(parent, MONITOR_DEFAULTTONEAREST), &monitor);
    if (rc.bottom > monitor.rcWork.bottom) {
        POINT top{combo.left, combo.top};
        ::ClientToScreen(parent, &top);
        const int height = rc.bottom - rc.top;
        rc.bottom = top.y;
        rc.top = top.y - height;
    }
    return rc;
}

bool CComboWnd::Open(CComboUI* owner) {
    if (owner == nullptr || owner->GetManager() == nullptr) return false;
    owner_ = owner;
    oldSel_ = owner->GetCurSel();
    const HWND parent = owner->GetManager()->GetPaintWindow();
    const RECT rc = PlaceBelowOrAbove();
    if (Create(parent, nullptr, WS_POPUP, WS_EX_TOOLWINDOW, rc) == nullptr) return false;
    open_ = true;
    // The owner's title bar keeps its active look while the pop-up has the
    // focus, as a menu would leave it.
    HWND top = parent;
    while (::GetParent(top) != nullptr) top = ::GetParent(top);
    ShowWindow(true);
    ::SendMessageW(top, WM_NCACTIVATE, TRUE, 0);
    return true;
}

void CComboWnd::BuildList() {
    manager_.Init(wnd_);
    CUIManager* comboManager = owner_->GetManager();
    // Drawn at the combo's scale: the drop-down ends when that changes.
    manager_.SetDpi(comboManager->GetScale().Dpi());
    manager_.SetResourceParent(comboManager);
    layout_ = new CVerticalLayoutUI;
    const char* defaults = comboManager->GetDefaultAttributeList("VerticalLayout");
    if (defaults != nullptr) layout_->ApplyAttributeList(defaults);
    layout_->SetInset(RECT{1, 1, 1, 1});
    layout_->SetBkColor(0xFFFFFFFF);
    layout_->SetBorderColor(0xFFC6C7D2);
    layout_->SetBorderSize(1);
    // The items stay the combo's: the layout only shows them.
    layout_->SetAutoDestroy(false);
    manager_.SetRootControl(layout_);
    layout_->EnableScrollBar(true, false);
    layout_->ApplyAttributeList(owner_->GetDropBoxAttributeList().c_str());
    for (int i = 0; i < owner_->GetCount(); ++i) layout_->Add(owner_->GetItemAt(i));
}

void CComboWnd::GiveBackItems(bool refocus) {
    if (owner_ == nullptr || layout_ == nullptr) return;
    for (int i = 0; i < layout_->GetCount(); ++i) manager_.ForgetControl(layout_->GetItemAt(i));
    layout_->RemoveAll();  // auto-destroy is off: nothing is destroyed
    CUIManager* comboManager = owner_->GetManager();
    for (int i = 0; i < owner_->GetCount(); ++i) owner_->GetItemAt(i)->SetManager(comboManager, owner_, false);
    if (!refocus) return;
    owner_->SetPos(owner_->GetPos());
    owner_->SetFocus();
}

void CComboWnd::OwnerGone() {
    GiveBackItems(false);
    owner_ = nullptr;
    if (wnd_ != nullptr) ::DestroyWindow(wnd_);
}

void CComboWnd::ForgetItem(CControlUI* item) {
    if (layout_ == nullptr) return;
    manager_.ForgetControl(item);
    layout_->Remove(item);
}

void CComboWnd::EnsureVisible(int index) {
    if (layout_ == nullptr || index < 0 || wnd_ == nullptr) return;
    // Positions come from the last layout: have a pending one done first.
    ::UpdateWindow(wnd_);
    CControlUI* item = layout_->GetItemAt(index);
    if (item == nullptr) return;
    const RECT client = layout_->GetClientArea();
    const RECT rc = item->GetPos();
    int dy = 0;
    if (rc.top < client.top) {
        dy = rc.top - client.top;
    } else if (rc.bottom > client.bottom) {
        dy = rc.bottom - client.bottom;
    }
    if (dy == 0) return;
    SIZE pos = layout_->GetScrollPos();
    pos.cy += dy;
    layout_->SetScrollPos(pos);
}

void CComboWnd::ForwardToOwner(UIEvent& event) {
    if (owner_ == nullptr) return;
    event.sender = owner_;
    event.timestamp = ::GetTickCount();
    // A combo destroyed by the selection destroyed this drop-down too.
    if (!owner_->DoEventFromDropDown(event)) return;
    EnsureVisible(owner_->GetCurSel());
}

bool CComboWnd::OnKeyDown(WPARAM key) {
    switch (key) {
    case VK_ESCAPE:
        // The selection from the moment of opening comes back; a combo
        // destroyed by it destroyed this drop-down too.
        if (owner_ != nullptr && !owner_->SelectItemFromDropDown(oldSel_)) return true;
        Close();
        return true;
    case VK_RETURN:
    case VK_F4:  // takes the selection, as Return does
        Close();
        return true;
    default: {
        UIEvent event;
        event.kind = EventKeyDown;
        event.key = static_cast<char>(key);
        ForwardToOwner(event);
        return true;
    }
    }
}

bool CComboWnd::IsScrollBarAt(LPARAM lParam) const {
    const POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    CControlUI* control = manager_.FindControl(pt);
    return control != nullptr && control->GetInterface("ScrollBar") != nullptr;
}

LRESULT CComboWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        BuildList();
        return 0;
    case WM_CLOSE:
        GiveBackItems(true);
        ::DestroyWindow(wnd_);
        return 0;
    case WM_KILLFOCUS: {
        const HWND to = reinterpret_cast<HWND>(wParam);
        if (to != wnd_ && !::IsChild(wnd_, to)) ::PostMessageW(wnd_, WM_CLOSE, 0, 0);
        break;
    }
    case WM_KEYDOWN:
        if (OnKeyDown(wParam)) return 0;
        break;
    case WM_MOUSEWHEEL: {
        UIEvent event;
        event.kind = EventScrollWheel;
        event.wParam = GET_WHEEL_DELTA_WPARAM(wParam) < 0 ? 1 : 0;
        event.lParam = lParam;
        ForwardToOwner(event);
        return 0;
    }
    case WM_LBUTTONDOWN:
        pressOnScrollBar_ = IsScrollBarAt(lParam);
        break;
    case WM_LBUTTONUP: {
        const std::weak_ptr<int> life = life_;
        LRESULT result = 0;
        manager_.MessageHandler(message, wParam, lParam, result);
        if (life.expired()) return 0;
        if (!pressOnScrollBar_) ::PostMessageW(wnd_, WM_CLOSE, 0, 0);
        pressOnScrollBar_ = false;
        return 0;
    }
    default:
        break;
    }
    // A click on an item may destroy the combo, and this window with it.
    const std::weak_ptr<int> life = life_;
    LRESULT result = 0;
    if (manager_.MessageHandler(message, wParam, lParam, result)) return result;
    if (life.expired()) return 0;
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

void CComboWnd::OnFinalMessage(HWND /*wnd*/) {
    // A window that failed to open is deleted by Open's caller.
    if (!open_) return;
    if (owner_ != nullptr) owner_->OnDropDownGone();
    delete this;
}

}  // namespace Loom
