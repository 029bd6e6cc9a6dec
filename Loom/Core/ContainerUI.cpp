#include "Loom/Core/ContainerUI.h"

#include <oleacc.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Core/LayoutArithmetic.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool Meets(const RECT& a, const RECT& b) {
    RECT tmp;
    return ::IntersectRect(&tmp, &a, &b) != FALSE;
}

}  // namespace

CContainerUI::CContainerUI() = default;

CContainerUI::~CContainerUI() {
    // Listeners of the container still see its children.
    RunDestroyListeners();
    std::vector<CControlUI*> items;
    items.swap(items_);
    for (CControlUI* item : items) {
        if (autoDestroy_) {
            delete item;
        } else {
            Detach(item);
        }
    }
    verticalBar_.reset();
    horizontalBar_.reset();
}

void CContainerUI::ForgetItem(CControlUI* control) {
    auto it = std::find(items_.begin(), items_.end(), control);
    if (it != items_.end()) items_.erase(it);
}

const char* CContainerUI::GetClass() const { return "ContainerUI"; }

void* CContainerUI::GetInterface(const char* name) {
    if (Is(name, "IContainer")) return static_cast<IContainerUI*>(this);
    if (Is(name, "Container")) return static_cast<CContainerUI*>(this);
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return nullptr;
    return items_[static_cast<size_t>(index)];
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    auto it = std::find(items_.begin(), items_.end(), control);
    if (it == items_.end()) return -1;
    return static_cast<int>(it - items_.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    const int from = GetItemIndex(control);
    if (from < 0 || index < 0 || index >= static_cast<int>(items_.size())) return false;
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + index, control);
    RequestLayout();
    return true;
}

int CContainerUI::GetCount() const { return static_cast<int>(items_.size()); }

bool CContainerUI::Add(CControlUI* control) { return InsertChild(control, static_cast<int>(items_.size())); }

bool CContainerUI::AddAt(CControlUI* control, int index) { return InsertChild(control, index); }

// Not virtual: a subclass's Add and AddAt each run their own rules once.
bool CContainerUI::InsertChild(CControlUI* control, int index) {
    // The own list's size: a subclass may answer GetCount for another list
    // (a list shows its body's items).
    if (control == nullptr || index < 0 || index > static_cast<int>(items_.size())) return false;
    if (manager_ != nullptr) manager_->AttachSubtree(control, this);
    if (IsVisible()) {
        RequestLayout();
    } else {
        control->SetParentVisible(false);
    }
    items_.insert(items_.begin() + index, control);
    return true;
}

bool CContainerUI::Remove(CControlUI* control) {
    auto it = std::find(items_.begin(), items_.end(), control);
    if (it == items_.end()) return false;
    // The child leaves the list before it can be destroyed, so nothing it
    // does while dying finds it here.
    items_.erase(it);
    RequestLayout();
    if (autoDestroy_) {
        DestroyChild(control);
    } else {
        Detach(control);
    }
    return true;
}

bool CContainerUI::RemoveAt(int index) {
    CControlUI* control = GetItemAt(index);
    return control != nullptr && Remove(control);
}

void CContainerUI::RemoveAll() {
    std::vector<CControlUI*> items;
    items.swap(items_);
    for (CControlUI* item : items) {
        if (autoDestroy_) {
            DestroyChild(item);
        } else {
            Detach(item);
        }
    }
    RequestLayout();
}

namespace {

CControlUI* ForgetProc(CControlUI* control, void* data) {
    static_cast<CUIManager*>(data)->ForgetControl(control);
    return nullptr;
}

}  // namespace

// A child that leaves without being destroyed belongs to nobody until it is
// added again: it must not keep pointers to this container (which may die
// first) nor to the manager, which forgets the whole subtree (focus, hover,
// capture, timers, names).
void CContainerUI::Detach(CControlUI* control) {
    if (manager_ != nullptr) control->FindControl(ForgetProc, manager_, FindAll);
    control->SetManager(nullptr, nullptr, false);
}

bool CContainerUI::IsChild(const CControlUI* control, size_t hint) const {
    if (hint < items_.size() && items_[hint] == control) return true;
    return std::find(items_.begin(), items_.end(), control) != items_.end();
}

void CContainerUI::DestroyChild(CControlUI* control) {
    if (delayedDestroy_ && manager_ != nullptr) {
        manager_->AddDelayedCleanup(control);
    } else {
        delete control;
    }
}

bool CContainerUI::IsBarShown(const CScrollBarUI* bar) const { return bar != nullptr && bar->IsVisible(); }

void CContainerUI::DoEvent(UIEvent& event) {
    if (!mouseEnabled_ && IsMouseEvent(event.kind)) {
        if (parent_ != nullptr) {
            parent_->DoEvent(event);
        } else {
            CControlUI::DoEvent(event);
        }
        return;
    }
    if (event.kind == EventSetFocus) {
        focused_ = true;
        return;
    }
    if (event.kind == EventKillFocus) {
        focused_ = false;
        return;
    }
    if (KeyScrolls(event)) return;
    CControlUI::DoEvent(event);
}

// Keys and the wheel scroll the vertical bar if it can, else the horizontal.
bool CContainerUI::KeyScrolls(UIEvent& event) {
    const bool vertical = IsBarShown(verticalBar_.get()) && verticalBar_->IsEnabled();
    const bool horizontal = !vertical && IsBarShown(horizontalBar_.get()) && horizontalBar_->IsEnabled();
    if (!vertical && !horizontal) return false;
    if (event.kind == EventScrollWheel) {
        if (event.wParam == 0) {
            vertical ? LineUp() : LineLeft();
        } else if (event.wParam == 1) {
            vertical ? LineDown() : LineRight();
        } else {
            return false;
        }
        return true;
    }
    if (event.kind != EventKeyDown) return false;
    switch (static_cast<unsigned char>(event.key)) {
    case VK_UP:
        vertical ? LineUp() : LineLeft();
        return true;
    case VK_DOWN:
        vertical ? LineDown() : LineRight();
        return true;
    case VK_PRIOR:
        vertical ? PageUp() : PageLeft();
        return true;
    case VK_NEXT:
        vertical ? PageDown() : PageRight();
        return true;
    case VK_HOME:
        vertical ? HomeUp() : HomeLeft();
        return true;
    case VK_END:
        vertical ? EndDown() : EndRight();
        return true;
    default:
        return false;
    }
}

void CContainerUI::SetVisible(bool visible) {
    if (visible_ == visible) return;
    CControlUI::SetVisible(visible);
    ForEachChild([this](CControlUI* item) { item->SetParentVisible(IsVisible()); });
}

void CContainerUI::SetParentVisible(bool visible) {
    CControlUI::SetParentVisible(visible);
    ForEachChild([this](CControlUI* item) { item->SetParentVisible(IsVisible()); });
}

void CContainerUI::SetMouseEnabled(bool enabled) {
    if (verticalBar_) verticalBar_->SetMouseEnabled(enabled);
    if (horizontalBar_) horizontalBar_->SetMouseEnabled(enabled);
    CControlUI::SetMouseEnabled(enabled);
}

void CContainerUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
    // Known before the children are visited, so that a child added meanwhile
    // (by an init listener) is attached to the new manager by Add itself.
    manager_ = manager;
    parent_ = parent;
    ForEachChild([&](CControlUI* item) { item->SetManager(manager, this, init); });
    if (verticalBar_) {
        verticalBar_->SetManager(manager, this, init);
        if (manager != nullptr && !verticalStyled_) StyleScrollBar(*verticalBar_, false);
    }
    if (horizontalBar_) {
        horizontalBar_->SetManager(manager, this, init);
        if (manager != nullptr && !horizontalStyled_) StyleScrollBar(*horizontalBar_, true);
    }
    CControlUI::SetManager(manager, parent, init);
}

CControlUI* CContainerUI::FindControl(FindControlProc proc, void* data, UINT flags) {
    if ((flags & FindVisible) && !IsVisible()) return nullptr;
    if ((flags & FindEnabled) && !IsEnabled()) return nullptr;
    const bool hitTest = (flags & FindHitTest) != 0;
    const POINT pt = hitTest ? *static_cast<const POINT*>(data) : POINT{0, 0};
    if (hitTest) {
        if (!::PtInRect(&pos_, pt)) return nullptr;
        if (!mouseChildEnabled_) {
            CControlUI* found = nullptr;
            if (verticalBar_) found = verticalBar_->FindControl(proc, data, flags);
            if (found == nullptr && horizontalBar_) found = horizontalBar_->FindControl(proc, data, flags);
            if (found == nullptr) found = CControlUI::FindControl(proc, data, flags);
            return found;
        }
    }
    CControlUI* found = nullptr;
    if (verticalBar_ && (found = verticalBar_->FindControl(proc, data, flags)) != nullptr) return found;
    if (horizontalBar_ && (found = horizontalBar_->FindControl(proc, data, flags)) != nullptr) return found;
    if ((flags & FindMeFirst) && (found = CControlUI::FindControl(proc, data, flags)) != nullptr) return found;
    const RECT client = GetClientArea();
    const int count = static_cast<int>(items_.size());
    const bool topFirst = (flags & FindTopFirst) != 0;
    for (int n = 0; n < count && n < static_cast<int>(items_.size()); ++n) {
        CControlUI* item = items_[static_cast<size_t>(topFirst ? count - 1 - n : n)];
        found = item->FindControl(proc, data, flags);
        if (found == nullptr) continue;
        if (!hitTest || item->IsFloat() || ::PtInRect(&client, pt)) return found;
    }
    if (flags & FindMeFirst) return nullptr;
    return CControlUI::FindControl(proc, data, flags);
}

RECT CContainerUI::GetClientArea() const {
    const RECT inset = GetScaledInset();
    RECT rc{pos_.left + inset.left, pos_.top + inset.top, pos_.right - inset.right, pos_.bottom - inset.bottom};
    if (IsBarShown(verticalBar_.get())) rc.right -= verticalBar_->GetScaledFixedWidth();
    if (IsBarShown(horizontalBar_.get())) rc.bottom -= horizontalBar_->GetScaledFixedHeight();
    return rc;
}

TRect CContainerUI::GetExactClientArea(bool bars) const {
    const long long unit = GetScale().FinePer96Pixel();
    const TRect exact = GetExactPos();
    long long left = exact.left + inset_.left * unit;
    long long top = exact.top + inset_.top * unit;
    long long right = exact.right - inset_.right * unit;
    long long bottom = exact.bottom - inset_.bottom * unit;
    if (bars && IsBarShown(verticalBar_.get())) right -= verticalBar_->GetFixedWidth() * unit;
    if (bars && IsBarShown(horizontalBar_.get())) bottom -= horizontalBar_->GetFixedHeight() * unit;
    return TRect{DpiScale::ToInt(left), DpiScale::ToInt(top), DpiScale::ToInt(right), DpiScale::ToInt(bottom)};
}

void CContainerUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    if (items_.empty()) return;
    const TRect inner = GetExactClientArea(false);
    for (size_t i = 0; i < items_.size(); ++i) {
        CControlUI* item = items_[i];
        if (!item->IsVisible()) continue;
        if (item->IsFloat()) {
            PlaceFloat(item);
        } else {
            item->SetExactPos(inner);
        }
    }
}

void CContainerUI::DoPaint(HDC dc, const RECT& dirty) {
    if (!::IntersectRect(&paintRect_, &dirty, &pos_)) return;
    CRenderClip clip;
    CRenderClip::GenerateClip(dc, paintRect_, clip);
    CControlUI::DoPaint(dc, dirty);
    if (!items_.empty()) PaintChildren(dc, dirty);
    if (IsBarShown(verticalBar_.get()) && Meets(dirty, verticalBar_->GetPos())) verticalBar_->DoPaint(dc, dirty);
    if (IsBarShown(horizontalBar_.get()) && Meets(dirty, horizontalBar_->GetPos())) {
        horizontalBar_->DoPaint(dc, dirty);
    }
}

void CContainerUI::PaintChildren(HDC dc, const RECT& dirty) {
    const RECT client = GetClientArea();
    RECT inner;
    if (!::IntersectRect(&inner, &dirty, &client)) {
        // Only floating children can lie outside the client rectangle.
        for (CControlUI* item : items_) {
            if (!item->IsVisible() || !item->IsFloat()) continue;
            if (!Meets(dirty, item->GetPos()) || !Meets(pos_, item->GetPos())) continue;
            item->DoPaint(dc, dirty);
        }
        return;
    }
    CRenderClip childClip;
    CRenderClip::GenerateClip(dc, inner, childClip);
    for (CControlUI* item : items_) {
        if (!item->IsVisible() || !Meets(dirty, item->GetPos())) continue;
        if (item->IsFloat()) {
            if (!Meets(pos_, item->GetPos())) continue;
            // A floating child may reach over the inset and the bars.
            childClip.Restore();
            item->DoPaint(dc, dirty);
            CRenderClip::GenerateClip(dc, inner, childClip);
        } else {
            if (!Meets(client, item->GetPos())) continue;
            item->DoPaint(dc, dirty);
        }
    }
}

void CContainerUI::SetAttribute(const char* name, const char* value) {
    if (Is(name, "inset")) {
        int v[4] = {0, 0, 0, 0};
        ValueReaders::ReadNumberList(value, v, 4);
        SetInset(RECT{v[0], v[1], v[2], v[3]});
    } else if (Is(name, "mousechild")) {
        SetMouseChildEnabled(ValueReaders::ReadBool(value));
    } else if (Is(name, "childpadding")) {
        SetChildPadding(ValueReaders::ReadInt(value));
    } else if (!SetScrollBarAttribute(name, value)) {
        CControlUI::SetAttribute(name, value);
    }
}

bool CContainerUI::SetScrollBarAttribute(const char* name, const char* value) {
    if (Is(name, "vscrollbar")) {
        EnableScrollBar(ValueReaders::ReadBool(value), horizontalBar_ != nullptr);
    } else if (Is(name, "hscrollbar")) {
        EnableScrollBar(verticalBar_ != nullptr, ValueReaders::ReadBool(value));
    } else if (Is(name, "vscrollbarstyle")) {
        EnableScrollBar(true, horizontalBar_ != nullptr);
        verticalStyle_ = value;
        verticalBar_->ApplyAttributeList(value);
    } else if (Is(name, "hscrollbarstyle")) {
        EnableScrollBar(verticalBar_ != nullptr, true);
        horizontalStyle_ = value;
        horizontalBar_->ApplyAttributeList(value);
    } else {
        return false;
    }
    return true;
}

RECT CContainerUI::GetInset() const { return inset_; }

RECT CContainerUI::GetScaledInset() const {
    const DpiScale scale = GetScale();
    const RECT in = GetInset();
    return RECT{scale.Scale(in.left), scale.Scale(in.top), scale.Scale(in.right), scale.Scale(in.bottom)};
}

void CContainerUI::SetInset(RECT inset) {
    inset_ = inset;
    RequestLayout();
}

int CContainerUI::GetChildPadding() const { return childPadding_; }

void CContainerUI::SetChildPadding(int padding) {
    childPadding_ = padding;
    RequestLayout();
}

bool CContainerUI::IsAutoDestroy() const { return autoDestroy_; }
void CContainerUI::SetAutoDestroy(bool on) { autoDestroy_ = on; }
bool CContainerUI::IsDelayedDestroy() const { return delayedDestroy_; }
void CContainerUI::SetDelayedDestroy(bool on) { delayedDestroy_ = on; }
bool CContainerUI::IsMouseChildEnabled() const { return mouseChildEnabled_; }
void CContainerUI::SetMouseChildEnabled(bool enabled) { mouseChildEnabled_ = enabled; }
int CContainerUI::FindSelectable(int /*index*/, bool /*forward*/) const { return -1; }

SIZE CContainerUI::GetScrollPos() const {
    SIZE sz{0, 0};
    if (IsBarShown(verticalBar_.get())) sz.cy = verticalBar_->GetScrollPos();
    if (IsBarShown(horizontalBar_.get())) sz.cx = horizontalBar_->GetScrollPos();
    return sz;
}

SIZE CContainerUI::GetScrollRange() const {
    SIZE sz{0, 0};
    if (IsBarShown(verticalBar_.get())) sz.cy = verticalBar_->GetScrollRange();
    if (IsBarShown(horizontalBar_.get())) sz.cx = horizontalBar_->GetScrollRange();
    return sz;
}

void CContainerUI::SetScrollPos(SIZE pos) {
    int dx = 0;
    int dy = 0;
    if (IsBarShown(verticalBar_.get())) {
        const int old = verticalBar_->GetScrollPos();
        verticalBar_->SetScrollPos(pos.cy);
        dy = verticalBar_->GetScrollPos() - old;
    }
    if (IsBarShown(horizontalBar_.get())) {
        const int old = horizontalBar_->GetScrollPos();
        horizontalBar_->SetScrollPos(pos.cx);
        dx = horizontalBar_->GetScrollPos() - old;
    }
    if (dx == 0 && dy == 0) return;
    ForEachChild([dx, dy](CControlUI* item) {
        if (!item->IsVisible() || item->IsFloat()) return;
        RECT rc = item->GetPos();
        ::OffsetRect(&rc, -dx, -dy);
        item->SetPos(rc);
    });
    Invalidate();
}

void CContainerUI::LineUp() {
    const int line = (manager_ != nullptr ? manager_->GetDefaultFontInfo().tmHeight : 0) + ScaleMeasure(8);
    SIZE sz = GetScrollPos();
    sz.cy -= line;
    SetScrollPos(sz);
}

void CContainerUI::LineDown() {
    const int line = (manager_ != nullptr ? manager_->GetDefaultFontInfo().tmHeight : 0) + ScaleMeasure(8);
    SIZE sz = GetScrollPos();
    sz.cy += line;
    SetScrollPos(sz);
}

void CContainerUI::PageUp() {
    const RECT inset = GetScaledInset();
    int page = pos_.bottom - pos_.top - inset.top - inset.bottom;
    if (IsBarShown(horizontalBar_.get())) page -= horizontalBar_->GetScaledFixedHeight();
    SIZE sz = GetScrollPos();
    sz.cy -= page;
    SetScrollPos(sz);
}

void CContainerUI::PageDown() {
    const RECT inset = GetScaledInset();
    int page = pos_.bottom - pos_.top - inset.top - inset.bottom;
    if (IsBarShown(horizontalBar_.get())) page -= horizontalBar_->GetScaledFixedHeight();
    SIZE sz = GetScrollPos();
    sz.cy += page;
    SetScrollPos(sz);
}

void CContainerUI::HomeUp() {
    SIZE sz = GetScrollPos();
    sz.cy = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndDown() {
    SIZE sz = GetScrollPos();
    sz.cy = GetScrollRange().cy;
    SetScrollPos(sz);
}

void CContainerUI::LineLeft() {
    SIZE sz = GetScrollPos();
    sz.cx -= ScaleMeasure(8);
    SetScrollPos(sz);
}

void CContainerUI::LineRight() {
    SIZE sz = GetScrollPos();
    sz.cx += ScaleMeasure(8);
    SetScrollPos(sz);
}

void CContainerUI::PageLeft() {
    const RECT inset = GetScaledInset();
    int page = pos_.right - pos_.left - inset.left - inset.right;
    if (IsBarShown(verticalBar_.get())) page -= verticalBar_->GetScaledFixedWidth();
    SIZE sz = GetScrollPos();
    sz.cx -= page;
    SetScrollPos(sz);
}

void CContainerUI::PageRight() {
    const RECT inset = GetScaledInset();
    int page = pos_.right - pos_.left - inset.left - inset.right;
    if (IsBarShown(verticalBar_.get())) page -= verticalBar_->GetScaledFixedWidth();
    SIZE sz = GetScrollPos();
    sz.cx += page;
    SetScrollPos(sz);
}

void CContainerUI::HomeLeft() {
    SIZE sz = GetScrollPos();
    sz.cx = 0;
    SetScrollPos(sz);
}

void CContainerUI::EndRight() {
    SIZE sz = GetScrollPos();
    sz.cx = GetScrollRange().cx;
    SetScrollPos(sz);
}

std::unique_ptr<CScrollBarUI> CContainerUI::CreateScrollBar(bool horizontal) {
    auto bar = std::make_unique<CScrollBarUI>();
    // A new bar stays hidden until the layout finds content that overflows.
    bar->SetVisible(false);
    bar->SetOwner(this);
    bar->SetManager(manager_, this, false);
    if (horizontal) bar->SetHorizontal(true);
    if (manager_ != nullptr) StyleScrollBar(*bar, horizontal);
    return bar;
}

// The window's default look for the bar, then the container's own style
// over it. A bar made while the container had no window (a control built
// in code, or a list's body) gets it when the container is attached.
void CContainerUI::StyleScrollBar(CScrollBarUI& bar, bool horizontal) {
    const char* defaults = manager_->GetDefaultAttributeList(horizontal ? "HScrollBar" : "VScrollBar");
    if (defaults != nullptr) bar.ApplyAttributeList(defaults);
    const std::string& own = horizontal ? horizontalStyle_ : verticalStyle_;
    if (!own.empty()) bar.ApplyAttributeList(own.c_str());
    (horizontal ? horizontalStyled_ : verticalStyled_) = true;
}

void CContainerUI::EnableScrollBar(bool vertical, bool horizontal) {
    if (vertical && !verticalBar_) {
        verticalStyled_ = false;
        verticalBar_ = CreateScrollBar(false);
    } else if (!vertical && verticalBar_) {
        verticalBar_.reset();
    }
    if (horizontal && !horizontalBar_) {
        horizontalStyled_ = false;
        horizontalBar_ = CreateScrollBar(true);
    } else if (!horizontal && horizontalBar_) {
        horizontalBar_.reset();
    }
    RequestLayout();
}

CScrollBarUI* CContainerUI::GetVerticalScrollBar() const { return verticalBar_.get(); }
CScrollBarUI* CContainerUI::GetHorizontalScrollBar() const { return horizontalBar_.get(); }

void CContainerUI::SetFloatPos(int index) { PlaceFloat(GetItemAt(index)); }

void CContainerUI::PlaceFloat(CControlUI* item) {
    if (item == nullptr || !item->IsVisible() || !item->IsFloat()) return;
    const RelativePosUI rel = item->GetRelativePos();
    FloatPlacement f;
    const SIZE xy = item->GetScaledFixedXY();
    f.fixedX = xy.cx;
    f.fixedY = xy.cy;
    f.fixedWidth = item->GetScaledFixedWidth();
    f.fixedHeight = item->GetScaledFixedHeight();
    f.relative = rel.enabled;
    // The parent's size was recorded in pixels at the scale of its time.
    const int dpi = GetScale().Dpi();
    f.recorded = LayoutSize{DpiScale::Convert(rel.parentSize.cx, rel.parentDpi, dpi),
                            DpiScale::Convert(rel.parentSize.cy, rel.parentDpi, dpi)};
    f.moveX = rel.moveX;
    f.moveY = rel.moveY;
    f.zoomX = rel.zoomX;
    f.zoomY = rel.zoomY;
    const TRect r = PlaceFloating(RectFrom(pos_), f);
    if (rel.enabled) item->SetRelativeParentSize(SIZE{f.recorded.cx, f.recorded.cy});
    item->SetPos(WinRectFrom(r));
}

namespace {

// needed - room, kept within the int range.
int Overflow(int needed, int room) {
    const long long overflow = static_cast<long long>(needed) - room;
    return overflow > INT_MAX ? INT_MAX : overflow < -INT_MAX ? -INT_MAX : static_cast<int>(overflow);
}

}  // namespace

// The horizontal bar follows the content's width as the vertical one
// follows its height: shown (and the layout redone, since the client area
// loses the bar's height) when the content is wider than rc, hidden again
// when it fits. True when it laid the container out again.
bool CContainerUI::ProcessHorizontalBar(const RECT& rc, int cxNeeded) {
    if (!horizontalBar_) return false;
    const int overflow = Overflow(cxNeeded, rc.right - rc.left);
    if (overflow > 0 && !horizontalBar_->IsVisible()) {
        horizontalBar_->SetVisible(true);
        horizontalBar_->SetScrollRange(overflow);
        horizontalBar_->SetScrollPos(0);
        scrollProcessing_ = true;
        SetPos(pos_);
        scrollProcessing_ = false;
        return true;
    }
    if (!horizontalBar_->IsVisible()) return false;
    if (overflow > 0) {
        horizontalBar_->SetPos(RECT{rc.left, rc.bottom, rc.right, rc.bottom + horizontalBar_->GetScaledFixedHeight()});
        if (horizontalBar_->GetScrollRange() == overflow) return false;
        // The children were just laid out across the old range (an auto
        // child spans it): lay them out again across the new one. The
        // content's width does not depend on the range, so the second
        // layout finds the range unchanged.
        horizontalBar_->SetScrollRange(overflow);
        SetPos(pos_);
        return true;
    }
    if (scrollProcessing_) return false;
    horizontalBar_->SetVisible(false);
    horizontalBar_->SetScrollPos(0);
    horizontalBar_->SetScrollRange(0);
    SetPos(pos_);
    return true;
}

void CContainerUI::ProcessScrollBar(RECT rc, int cxNeeded, int cyNeeded) {
    if (ProcessHorizontalBar(rc, cxNeeded)) return;
    if (!verticalBar_) return;
    const int height = rc.bottom - rc.top;
    const int overflow = Overflow(cyNeeded, height);
    if (height < cyNeeded && !verticalBar_->IsVisible()) {
        verticalBar_->SetVisible(true);
        verticalBar_->SetScrollRange(overflow);
        verticalBar_->SetScrollPos(0);
        scrollProcessing_ = true;
        SetPos(pos_);
        scrollProcessing_ = false;
        return;
    }
    if (!verticalBar_->IsVisible()) return;
    if (overflow > 0 || scrollProcessing_) {
        verticalBar_->SetPos(RECT{rc.right, rc.top, rc.right + verticalBar_->GetScaledFixedWidth(), rc.bottom});
        if (verticalBar_->GetScrollRange() == overflow) return;
        const int oldPos = verticalBar_->GetScrollPos();
        verticalBar_->SetScrollRange(overflow >= 0 ? overflow : -overflow);
        if (verticalBar_->GetScrollRange() == 0) {
            verticalBar_->SetVisible(false);
            verticalBar_->SetScrollPos(0);
        }
        if (verticalBar_->GetScrollPos() >= oldPos) return;
        SetPos(pos_);
        return;
    }
    verticalBar_->SetVisible(false);
    verticalBar_->SetScrollPos(0);
    verticalBar_->SetScrollRange(0);
    SetPos(pos_);
}

CControlUI::AccessibleTraits CContainerUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_GROUPING;
    return traits;
}

}  // namespace Loom
