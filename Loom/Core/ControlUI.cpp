#include "Loom/Core/ControlUI.h"

#include <oleacc.h>

#include <atomic>
#include <cstring>

#include "Loom/Core/AccessibleUI.h"
#include "Loom/Core/AttributeList.h"
#include "Loom/Core/ContainerUI.h"
#include "Loom/Render/Render.h"
#include "Loom/Core/TextRules.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

RECT ReadRect(const char* value) {
    int v[4] = {0, 0, 0, 0};
    ValueReaders::ReadNumberList(value, v, 4);
    return RECT{v[0], v[1], v[2], v[3]};
}

SIZE ReadSize(const char* value) {
    int v[2] = {0, 0};
    ValueReaders::ReadNumberList(value, v, 2);
    return SIZE{v[0], v[1]};
}

}  // namespace

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    RunDestroyListeners();
    // A parent that does not destroy its children detaches them when it
    // goes, so a parent still set is alive and must not keep this control.
    if (parent_ != nullptr) {
        if (auto* box = static_cast<CContainerUI*>(parent_->GetInterface("Container"))) box->ForgetItem(this);
    }
    if (manager_ != nullptr) manager_->ForgetControl(this);
}

std::weak_ptr<int> CControlUI::LifeToken() const {
    if (!life_) life_ = std::make_shared<int>(0);
    return life_;
}

void CControlUI::RunDestroyListeners() {
    if (destroyListenersRun_) return;
    destroyListenersRun_ = true;
    if (!OnDestroy.IsEmpty()) OnDestroy(this);
}

const std::string& CControlUI::GetName() const { return name_; }
void CControlUI::SetName(const std::string& name) { name_ = name; }
const char* CControlUI::GetClass() const { return "ControlUI"; }

void* CControlUI::GetInterface(const char* name) {
    if (Is(name, "Control")) return this;
    return nullptr;
}

UINT CControlUI::GetControlFlags() const { return 0; }
bool CControlUI::Activate() { return IsVisible() && IsEnabled(); }
CUIManager* CControlUI::GetManager() const { return manager_; }

void CControlUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
    manager_ = manager;
    parent_ = parent;
    // A virtual-window name set while detached must still reach the window.
    if (manager_ != nullptr && !virtualWnd_.empty()) manager_->SetUsedVirtualWnd(true);
    if (init && parent != nullptr) Init();
}

CControlUI* CControlUI::GetParent() const { return parent_; }
std::string CControlUI::GetText() const { return text_; }

void CControlUI::SetText(const std::string& text) {
    if (text_ == text) return;
    text_ = text;
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_NAMECHANGE);
}

const RECT& CControlUI::GetPos() const { return pos_; }

void CControlUI::SetPos(RECT rc) {
    if (rc.right < rc.left) rc.right = rc.left;
    if (rc.bottom < rc.top) rc.bottom = rc.top;
    RECT invalid = ::IsRectEmpty(&pos_) ? rc : pos_;
    pos_ = rc;
    if (manager_ == nullptr) return;
    if (!inResize_) {
        inResize_ = true;
        OnSize(this);
        inResize_ = false;
    }
    if (float_ && parent_ != nullptr) StoreFloatOffsets();
    updateNeeded_ = false;
    ::UnionRect(&invalid, &invalid, &pos_);
    if (ClipToAncestors(invalid)) manager_->Invalidate(invalid);
}

TRect CControlUI::GetExactPos() const {
    const int dpi = GetScale().Dpi();
    if (exactDpi_ == dpi) {
        const RECT rounded{DpiScale::PixelsOfFine(exactPos_.left), DpiScale::PixelsOfFine(exactPos_.top),
                           DpiScale::PixelsOfFine(exactPos_.right), DpiScale::PixelsOfFine(exactPos_.bottom)};
        if (::EqualRect(&rounded, &pos_)) return exactPos_;
    }
    auto fine = [](LONG px) { return DpiScale::ToInt(DpiScale::FineOfPixels(px)); };
    return TRect{fine(pos_.left), fine(pos_.top), fine(pos_.right), fine(pos_.bottom)};
}

void CControlUI::SetExactPos(const TRect& rc) {
    exactPos_ = rc;
    exactDpi_ = GetScale().Dpi();
    SetPos(RECT{DpiScale::PixelsOfFine(rc.left), DpiScale::PixelsOfFine(rc.top), DpiScale::PixelsOfFine(rc.right),
                DpiScale::PixelsOfFine(rc.bottom)});
}

void CControlUI::StoreFloatOffsets() {
    const RECT& p = parent_->GetPos();
    // Stored at 96 DPI, as markup gives them; the layout scales them again.
    fixedXY_.cx = UnscaleMeasure(fixedXY_.cx >= 0 ? pos_.left - p.left : pos_.right - p.right);
    fixedXY_.cy = UnscaleMeasure(fixedXY_.cy >= 0 ? pos_.top - p.top : pos_.bottom - p.bottom);
    fixedSize_.cx = UnscaleMeasure(pos_.right - pos_.left);
    fixedSize_.cy = UnscaleMeasure(pos_.bottom - pos_.top);
}

bool CControlUI::ClipToAncestors(RECT& rc) const {
    for (CControlUI* p = parent_; p != nullptr; p = p->GetParent()) {
        if (!::IntersectRect(&rc, &rc, &p->GetPos())) return false;
    }
    return !::IsRectEmpty(&rc);
}

int CControlUI::GetWidth() const { return pos_.right - pos_.left; }
int CControlUI::GetHeight() const { return pos_.bottom - pos_.top; }
int CControlUI::GetX() const { return pos_.left; }
int CControlUI::GetY() const { return pos_.top; }
RECT CControlUI::GetPadding() const { return padding_; }

void CControlUI::SetPadding(RECT padding) {
    padding_ = padding;
    RequestParentLayout();
}

SIZE CControlUI::GetFixedXY() const { return fixedXY_; }

DpiScale CControlUI::GetScale() const { return manager_ != nullptr ? manager_->GetScale() : DpiScale(); }

RECT CControlUI::GetScaledPadding() const {
    const DpiScale scale = GetScale();
    const RECT p = GetPadding();
    return RECT{scale.Scale(p.left), scale.Scale(p.top), scale.Scale(p.right), scale.Scale(p.bottom)};
}

RECT CControlUI::ScaleEdges(const RECT& edges) const { return WinRectFrom(GetScale().ScaleEdges(RectFrom(edges))); }

SIZE CControlUI::GetScaledBorderRound() const {
    const DpiScale scale = GetScale();
    return SIZE{scale.Scale(borderRound_.cx), scale.Scale(borderRound_.cy)};
}

SIZE CControlUI::GetScaledFixedXY() const {
    const SIZE xy = GetFixedXY();
    return SIZE{ScaleMeasure(xy.cx), ScaleMeasure(xy.cy)};
}

// A change of size or position is laid out by the control itself when it
// floats (its place does not depend on its siblings), else by its parent.
void CControlUI::RequestLayoutAfterFixedChange() {
    if (float_) {
        RequestLayout();
    } else {
        RequestParentLayout();
    }
}

void CControlUI::SetFixedXY(SIZE xy) {
    fixedXY_ = xy;
    RequestLayoutAfterFixedChange();
}

int CControlUI::GetFixedWidth() const { return fixedSize_.cx; }

void CControlUI::SetFixedWidth(int cx) {
    if (cx < 0) return;
    fixedSize_.cx = cx;
    RequestLayoutAfterFixedChange();
}

int CControlUI::GetFixedHeight() const { return fixedSize_.cy; }

void CControlUI::SetFixedHeight(int cy) {
    if (cy < 0) return;
    fixedSize_.cy = cy;
    RequestLayoutAfterFixedChange();
}

int CControlUI::GetMinWidth() const { return minSize_.cx; }

void CControlUI::SetMinWidth(int cx) {
    if (cx < 0 || minSize_.cx == cx) return;
    minSize_.cx = cx;
    RequestLayoutAfterFixedChange();
}

int CControlUI::GetMaxWidth() const { return maxSize_.cx; }

void CControlUI::SetMaxWidth(int cx) {
    if (cx < 0 || maxSize_.cx == cx) return;
    maxSize_.cx = cx;
    RequestLayoutAfterFixedChange();
}

int CControlUI::GetMinHeight() const { return minSize_.cy; }

void CControlUI::SetMinHeight(int cy) {
    if (cy < 0 || minSize_.cy == cy) return;
    minSize_.cy = cy;
    RequestLayoutAfterFixedChange();
}

int CControlUI::GetMaxHeight() const { return maxSize_.cy; }

void CControlUI::SetMaxHeight(int cy) {
    if (cy < 0 || maxSize_.cy == cy) return;
    maxSize_.cy = cy;
    RequestLayoutAfterFixedChange();
}

void CControlUI::SetRelativePos(SIZE move, SIZE zoom) {
    relativePos_.enabled = true;
    relativePos_.moveX = move.cx;
    relativePos_.moveY = move.cy;
    relativePos_.zoomX = zoom.cx;
    relativePos_.zoomY = zoom.cy;
}

void CControlUI::SetRelativeParentSize(SIZE size) {
    relativePos_.parentSize = size;
    relativePos_.parentDpi = GetScale().Dpi();
}
RelativePosUI CControlUI::GetRelativePos() const { return relativePos_; }
bool CControlUI::IsRelativePos() const { return relativePos_.enabled; }

const std::string& CControlUI::GetToolTip() const { return toolTip_; }
void CControlUI::SetToolTip(const std::string& text) { toolTip_ = ExpandLineBreakTags(text); }
void CControlUI::SetToolTipWidth(int width) { toolTipWidth_ = width; }
int CControlUI::GetToolTipWidth() const { return toolTipWidth_; }
char CControlUI::GetShortcut() const { return shortcut_; }
void CControlUI::SetShortcut(char ch) { shortcut_ = ch; }
bool CControlUI::IsContextMenuUsed() const { return menuUsed_; }
void CControlUI::SetContextMenuUsed(bool used) { menuUsed_ = used; }
const std::string& CControlUI::GetUserData() const { return userData_; }
void CControlUI::SetUserData(const std::string& text) { userData_ = text; }
UINT_PTR CControlUI::GetTag() const { return tag_; }
void CControlUI::SetTag(UINT_PTR tag) { tag_ = tag; }

bool CControlUI::IsVisible() const { return visible_ && parentVisible_; }

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) return;
    const bool wasVisible = IsVisible();
    visible_ = visible;
    focused_ = false;
    if (!visible && manager_ != nullptr && manager_->GetFocus() == this) manager_->SetFocus(nullptr);
    if (IsVisible() == wasVisible) return;
    RequestParentLayout();
    AnnounceShown(*this, IsVisible());
}

void CControlUI::SetParentVisible(bool visible) {
    parentVisible_ = visible;
    if (!visible && manager_ != nullptr && manager_->GetFocus() == this) manager_->SetFocus(nullptr);
}

bool CControlUI::IsEnabled() const { return enabled_; }

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) return;
    enabled_ = enabled;
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_STATECHANGE);
}

bool CControlUI::IsMouseEnabled() const { return mouseEnabled_; }
void CControlUI::SetMouseEnabled(bool enabled) { mouseEnabled_ = enabled; }
bool CControlUI::IsKeyboardEnabled() const { return keyboardEnabled_; }
void CControlUI::SetKeyboardEnabled(bool enabled) { keyboardEnabled_ = enabled; }
bool CControlUI::IsFocused() const { return focused_; }

void CControlUI::SetFocus() {
    if (manager_ != nullptr) manager_->SetFocus(this);
}

bool CControlUI::IsFloat() const { return float_; }

void CControlUI::SetFloat(bool floating) {
    if (float_ == floating) return;
    float_ = floating;
    RequestParentLayout();
}

CControlUI* CControlUI::FindControl(FindControlProc proc, void* data, UINT flags) {
    if ((flags & FindVisible) && !IsVisible()) return nullptr;
    if ((flags & FindEnabled) && !IsEnabled()) return nullptr;
    if ((flags & FindHitTest) && (!mouseEnabled_ || !::PtInRect(&pos_, *static_cast<const POINT*>(data)))) {
        return nullptr;
    }
    return proc(this, data);
}

void CControlUI::Init() {
    DoInit();
    OnInit(this);
}

void CControlUI::DoInit() {}

void CControlUI::Event(UIEvent& event) {
    if (OnEvent(&event)) DoEvent(event);
}

void CControlUI::DoEvent(UIEvent& event) {
    switch (event.kind) {
    case EventSetCursor:
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        return;
    case EventSetFocus:
        focused_ = true;
        Invalidate();
        return;
    case EventKillFocus:
        focused_ = false;
        Invalidate();
        return;
    case EventTimer:
        if (manager_ != nullptr) manager_->SendNotify(this, "timer", event.wParam, event.lParam);
        return;
    case EventContextMenu:
        if (menuUsed_) {
            if (manager_ != nullptr) manager_->SendNotify(this, "menu", event.wParam, event.lParam);
            return;
        }
        break;
    default:
        break;
    }
    if (parent_ != nullptr) parent_->DoEvent(event);
}

void CControlUI::SetVirtualWnd(const std::string& name) {
    virtualWnd_ = name;
    if (manager_ != nullptr) manager_->SetUsedVirtualWnd(true);
}

void CControlUI::SetAttribute(const char* name, const char* value) {
    if (name == nullptr || value == nullptr) return;
    if (SetGeometryAttribute(name, value)) return;
    if (SetLookAttribute(name, value)) return;
    SetStateAttribute(name, value);
}

bool CControlUI::SetGeometryAttribute(const char* name, const char* value) {
    if (Is(name, "pos")) {
        const RECT rc = ReadRect(value);
        SetFixedXY(SIZE{rc.left >= 0 ? rc.left : rc.right, rc.top >= 0 ? rc.top : rc.bottom});
        SetFixedWidth(rc.right - rc.left);
        SetFixedHeight(rc.bottom - rc.top);
    } else if (Is(name, "relativepos")) {
        const RECT rc = ReadRect(value);
        SetRelativePos(SIZE{rc.left, rc.top}, SIZE{rc.right, rc.bottom});
    } else if (Is(name, "padding")) {
        SetPadding(ReadRect(value));
    } else if (Is(name, "width")) {
        SetFixedWidth(ValueReaders::ReadInt(value));
    } else if (Is(name, "height")) {
        SetFixedHeight(ValueReaders::ReadInt(value));
    } else if (Is(name, "minwidth")) {
        SetMinWidth(ValueReaders::ReadInt(value));
    } else if (Is(name, "minheight")) {
        SetMinHeight(ValueReaders::ReadInt(value));
    } else if (Is(name, "maxwidth")) {
        SetMaxWidth(ValueReaders::ReadInt(value));
    } else if (Is(name, "maxheight")) {
        SetMaxHeight(ValueReaders::ReadInt(value));
    } else {
        return false;
    }
    return true;
}

bool CControlUI::SetLookAttribute(const char* name, const char* value) {
    if (Is(name, "bkcolor") || Is(name, "bkcolor1")) {
        SetBkColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "bkcolor2")) {
        SetBkColor2(ValueReaders::ReadColor(value));
    } else if (Is(name, "bkcolor3")) {
        SetBkColor3(ValueReaders::ReadColor(value));
    } else if (Is(name, "bordercolor")) {
        SetBorderColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "focusbordercolor")) {
        SetFocusBorderColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "colorhsl")) {
        SetColorHSL(ValueReaders::ReadBool(value));
    } else if (Is(name, "bordersize")) {
        if (std::strchr(value, ',') == nullptr) {
            SetBorderSize(ValueReaders::ReadInt(value));
            SetSideBorderSizes(RECT{0, 0, 0, 0});
        } else {
            SetSideBorderSizes(ReadRect(value));
        }
    } else if (Is(name, "leftbordersize")) {
        SetLeftBorderSize(ValueReaders::ReadInt(value));
    } else if (Is(name, "topbordersize")) {
        SetTopBorderSize(ValueReaders::ReadInt(value));
    } else if (Is(name, "rightbordersize")) {
        SetRightBorderSize(ValueReaders::ReadInt(value));
    } else if (Is(name, "bottombordersize")) {
        SetBottomBorderSize(ValueReaders::ReadInt(value));
    } else if (Is(name, "borderstyle")) {
        SetBorderStyle(ValueReaders::ReadInt(value));
    } else if (Is(name, "borderround")) {
        SetBorderRound(ReadSize(value));
    } else if (Is(name, "bkimage")) {
        SetBkImage(value);
    } else {
        return false;
    }
    return true;
}

bool CControlUI::SetStateAttribute(const char* name, const char* value) {
    if (Is(name, "name")) {
        SetName(value);
    } else if (Is(name, "text")) {
        SetText(value);
    } else if (Is(name, "tooltip")) {
        SetToolTip(value);
    } else if (Is(name, "accname")) {
        SetAccessibleName(value);
    } else if (Is(name, "userdata")) {
        SetUserData(value);
    } else if (Is(name, "enabled")) {
        SetEnabled(ValueReaders::ReadBool(value));
    } else if (Is(name, "mouse")) {
        SetMouseEnabled(ValueReaders::ReadBool(value));
    } else if (Is(name, "keyboard")) {
        SetKeyboardEnabled(ValueReaders::ReadBool(value));
    } else if (Is(name, "visible")) {
        SetVisible(ValueReaders::ReadBool(value));
    } else if (Is(name, "float")) {
        SetFloat(ValueReaders::ReadBool(value));
    } else if (Is(name, "menu")) {
        SetContextMenuUsed(ValueReaders::ReadBool(value));
    } else if (Is(name, "shortcut")) {
        SetShortcut(value[0]);
    } else if (Is(name, "virtualwnd")) {
        SetVirtualWnd(value);
    } else {
        return false;
    }
    return true;
}

void CControlUI::ApplyAttributeList(const char* list) {
    ReadAttributeList(
        list, [this](const std::string& name, const std::string& value) { SetAttribute(name.c_str(), value.c_str()); });
}

SIZE CControlUI::EstimateSize(SIZE /*available*/) { return SIZE{GetScaledFixedWidth(), GetScaledFixedHeight()}; }

void CControlUI::RequestLayout() {
    if (!IsVisible()) return;
    updateNeeded_ = true;
    Invalidate();
    if (manager_ != nullptr) manager_->SetLayoutNeeded();
}

void CControlUI::RequestParentLayout() {
    if (parent_ != nullptr) {
        parent_->RequestLayout();
        parent_->Invalidate();
    } else {
        RequestLayout();
    }
    if (manager_ != nullptr) manager_->SetLayoutNeeded();
}

void CControlUI::Invalidate() {
    if (!IsVisible() || manager_ == nullptr) return;
    RECT rc = pos_;
    if (ClipToAncestors(rc)) manager_->Invalidate(rc);
}

void CControlUI::SetBkColor(DWORD color) {
    if (bkColor_ == color) return;
    bkColor_ = color;
    Invalidate();
}

void CControlUI::SetBkColor2(DWORD color) {
    if (bkColor2_ == color) return;
    bkColor2_ = color;
    Invalidate();
}

void CControlUI::SetBkColor3(DWORD color) {
    if (bkColor3_ == color) return;
    bkColor3_ = color;
    Invalidate();
}

void CControlUI::SetBkImage(const std::string& image) {
    if (bkImage_ == image) return;
    bkImage_ = image;
    Invalidate();
}

void CControlUI::SetBorderColor(DWORD color) {
    if (borderColor_ == color) return;
    borderColor_ = color;
    Invalidate();
}

void CControlUI::SetFocusBorderColor(DWORD color) {
    if (focusBorderColor_ == color) return;
    focusBorderColor_ = color;
    Invalidate();
}

void CControlUI::SetColorHSL(bool on) {
    if (colorHSL_ == on) return;
    colorHSL_ = on;
    Invalidate();
}

void CControlUI::SetBorderSize(int size) {
    borderSize_ = size;
    Invalidate();
}

void CControlUI::SetSideBorderSizes(RECT sizes) {
    sideBorders_ = sizes;
    Invalidate();
}

void CControlUI::SetLeftBorderSize(int size) {
    sideBorders_.left = size;
    Invalidate();
}

void CControlUI::SetTopBorderSize(int size) {
    sideBorders_.top = size;
    Invalidate();
}

void CControlUI::SetRightBorderSize(int size) {
    sideBorders_.right = size;
    Invalidate();
}

void CControlUI::SetBottomBorderSize(int size) {
    sideBorders_.bottom = size;
    Invalidate();
}

void CControlUI::SetBorderStyle(int style) {
    borderStyle_ = style;
    Invalidate();
}

void CControlUI::SetBorderRound(SIZE round) {
    borderRound_ = round;
    Invalidate();
}

bool CControlUI::DrawImage(HDC dc, const std::string& image, const char* modify) {
    return CRenderer::DrawImageString(dc, manager_, pos_, paintRect_, image.c_str(), modify);
}

bool CControlUI::DrawImageShape(HDC dc, const std::string& image, DWORD argb, const char* modify) {
    return CRenderer::DrawImageShape(dc, manager_, pos_, paintRect_, image.c_str(), argb, modify);
}

const TContrastColors* CControlUI::GetContrastColors() const {
    return manager_ != nullptr ? manager_->GetContrastColors() : nullptr;
}

DWORD CControlUI::GetContrastBkColor(const TContrastColors& colors) const { return colors.windowText; }

void CControlUI::DoPaint(HDC dc, const RECT& dirty) {
    if (!::IntersectRect(&paintRect_, &dirty, &pos_)) return;
    CRenderClip roundClip;
    const SIZE round = GetScaledBorderRound();
    if (round.cx > 0 || round.cy > 0) {
        CRenderClip::GenerateRoundClip(dc, paintRect_, pos_, round.cx, round.cy, roundClip);
    }
    PaintBkColor(dc);
    PaintBkImage(dc);
    PaintStatusImage(dc);
    PaintText(dc);
    PaintBorder(dc);
}

void CControlUI::PaintBkColor(HDC dc) {
    if (bkColor_ == 0) return;
    if (const TContrastColors* contrast = GetContrastColors()) {
        CRenderer::DrawColor(dc, paintRect_, GetContrastBkColor(*contrast));
        return;
    }
    const DWORD c1 = GetAdjustColor(bkColor_);
    if (bkColor2_ == 0) {
        CRenderer::DrawColor(dc, bkColor_ >= 0xFF000000 ? paintRect_ : pos_, c1);
        return;
    }
    const DWORD c2 = GetAdjustColor(bkColor2_);
    if (bkColor3_ != 0) {
        RECT upper = pos_;
        upper.bottom = (pos_.top + pos_.bottom) / 2;
        CRenderer::DrawGradient(dc, upper, c1, c2, true, 8);
        RECT lower = pos_;
        lower.top = upper.bottom;
        CRenderer::DrawGradient(dc, lower, c2, GetAdjustColor(bkColor3_), true, 8);
        return;
    }
    CRenderer::DrawGradient(dc, pos_, c1, c2, true, 16);
}

void CControlUI::PaintBkImage(HDC dc) {
    if (bkImage_.empty() || GetContrastColors() != nullptr) return;
    // A failure here means no manager or no DC: clear the string so that it
    // is not tried again. A missing image file is not a failure.
    if (!DrawImage(dc, bkImage_)) bkImage_.clear();
}

void CControlUI::PaintStatusImage(HDC /*dc*/) {}
void CControlUI::PaintText(HDC /*dc*/) {}

void CControlUI::PaintBorder(HDC dc) {
    if (borderColor_ == 0 && focusBorderColor_ == 0) return;
    const bool focusLook = focused_ && focusBorderColor_ != 0;
    // While high contrast is on, the skin's edges in the system's colours.
    const TContrastColors* contrast = GetContrastColors();
    const DWORD border = contrast != nullptr ? contrast->windowText : GetAdjustColor(borderColor_);
    const DWORD focus = contrast != nullptr ? contrast->highlight : GetAdjustColor(focusBorderColor_);
    const DWORD color = focusLook ? focus : border;
    const int size = GetScaledBorderSize();
    const SIZE round = GetScaledBorderRound();
    if (size >= 1 && (round.cx >= 1 || round.cy >= 1)) {
        CRenderer::DrawRoundRect(dc, pos_, size, round.cx, round.cy, color);
        return;
    }
    if (focusLook && size >= 1) {
        CRenderer::DrawRect(dc, pos_, size, focus);
        return;
    }
    // Only a focus border colour is set and the control is not focused: there
    // is no border to draw (colour 0 would come out as a black frame).
    if (borderColor_ == 0) return;
    if (sideBorders_.left >= 1 || sideBorders_.top >= 1 || sideBorders_.right >= 1 || sideBorders_.bottom >= 1) {
        PaintSideBorders(dc, border);
    } else if (size >= 1) {
        CRenderer::DrawRect(dc, pos_, size, border);
    }
}

void CControlUI::PaintSideBorders(HDC dc, DWORD color) {
    const RECT& p = pos_;
    const RECT sides = GetScaledSideBorderSizes();
    if (sides.left >= 1) {
        CRenderer::DrawLine(dc, RECT{p.left, p.top, p.left, p.bottom}, sides.left, color, borderStyle_);
    }
    if (sides.top >= 1) {
        CRenderer::DrawLine(dc, RECT{p.left, p.top, p.right, p.top}, sides.top, color, borderStyle_);
    }
    if (sides.right >= 1) {
        CRenderer::DrawLine(dc, RECT{p.right, p.top, p.right, p.bottom}, sides.right, color, borderStyle_);
    }
    if (sides.bottom >= 1) {
        CRenderer::DrawLine(dc, RECT{p.left, p.bottom, p.right, p.bottom}, sides.bottom, color, borderStyle_);
    }
}

void CControlUI::PaintOverlay(HDC /*dc*/, const RECT& /*dirty*/) {}

CControlUI::AccessibleTraits CControlUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = ROLE_SYSTEM_STATICTEXT;
    return traits;
}

void CControlUI::DoAccessibleAction() { Activate(); }

void CControlUI::SetAccessibleLabel(CControlUI* label) {
    accessibleLabel_ = label;
    accessibleLabelLife_ = label != nullptr ? label->LifeToken() : std::weak_ptr<int>();
}

long CControlUI::GetAccessibleRole() const {
    return accessibleRole_ != 0 ? accessibleRole_ : GetAccessibleTraits().role;
}

long CControlUI::GetAccessibleId() const {
    static std::atomic<long> last{0};
    if (accessibleId_ == 0) accessibleId_ = ++last;
    return accessibleId_;
}

std::string CControlUI::GetAccessibleName() const {
    if (!accessibleName_.empty()) return accessibleName_;
    if (accessibleLabel_ != nullptr && !accessibleLabelLife_.expired()) return accessibleLabel_->GetText();
    const std::string text = GetText();
    return text.empty() ? GetToolTip() : text;
}

}  // namespace Loom
