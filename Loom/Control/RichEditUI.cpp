#include "Loom/Control/RichEditUI.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "Loom/Core/ScrollBarUI.h"
#include "Loom/Control/TxtWinHost.h"
#include "Loom/Render/Render.h"
#include "Loom/Render/ValueReaders.h"
#include "platform/Wide.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// A text longer than this is cut when it is read back from the services.
constexpr size_t kMaxTextLength = 1u << 24;

using Text::Narrow;
using Text::Widen;

}  // namespace

CRichEditUI::CRichEditUI() = default;

CRichEditUI::~CRichEditUI() {
    if (filterAdded_ && manager_ != nullptr) manager_->RemoveMessageFilter(this);
    if (host_ != nullptr) {
        host_->Shutdown();
        host_->Release();
    }
}

const char* CRichEditUI::GetClass() const { return "RichEditUI"; }

void* CRichEditUI::GetInterface(const char* name) {
    if (Is(name, "RichEdit")) return static_cast<CRichEditUI*>(this);
    if (Is(name, "WantTab")) return wantTab_ ? static_cast<CRichEditUI*>(this) : nullptr;
    return CContainerUI::GetInterface(name);
}

UINT CRichEditUI::GetControlFlags() const {
    return IsEnabled() ? static_cast<UINT>(ControlFlagTabStop | ControlFlagSetCursor) : 0u;
}

bool CRichEditUI::HasTextServices() const { return host_ != nullptr && host_->GetServices() != nullptr; }

void CRichEditUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
    if (filterAdded_ && manager_ != nullptr && manager != manager_) {
        manager_->RemoveMessageFilter(this);
        filterAdded_ = false;
    }
    CContainerUI::SetManager(manager, parent, init);
}

void CRichEditUI::DoInit() {
    if (manager_ == nullptr) return;
    if (!filterAdded_) filterAdded_ = manager_->AddMessageFilter(this);
    if (host_ != nullptr) return;
    host_ = CTxtWinHost::Create(this, TextRect());
    if (host_ != nullptr && !text_.empty()) SetText(text_);
}

void CRichEditUI::ApplySettings(CTxtWinHost& host) const {
    host.SetPropertyBit(TXTBIT_RICHTEXT, rich_);
    host.SetPropertyBit(TXTBIT_MULTILINE, multiline_);
    host.SetPropertyBit(TXTBIT_WORDWRAP, multiline_ && !hscroll_);
    host.SetPropertyBit(TXTBIT_READONLY, readOnly_);
    host.SetPropertyBit(TXTBIT_USEPASSWORD, password_);
    host.SetScrollBars((vscroll_ ? WS_VSCROLL : 0) | (autoVScroll_ ? ES_AUTOVSCROLL : 0) | (hscroll_ ? WS_HSCROLL : 0) |
                       (autoHScroll_ ? ES_AUTOHSCROLL : 0));
    host.SetAlignment(alignment_);
    if (manager_ != nullptr) host.SetCharFormat(manager_->GetFont(font_), ShownTextColor());
}

DWORD CRichEditUI::ShownTextColor() const {
    const TContrastColors* contrast = GetContrastColors();
    shownTextColor_ = contrast != nullptr ? contrast->windowText : textColor_;
    return shownTextColor_;
}

std::string CRichEditUI::GetText() const {
    if (!HasTextServices()) return text_;
    const LRESULT length = Send(WM_GETTEXTLENGTH);
    if (length <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(std::min<LRESULT>(length, static_cast<LRESULT>(kMaxTextLength))) + 1, L'\0');
    const LRESULT copied = Send(WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(&wide[0]));
    wide.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(copied, wide.size() - 1))));
    return Narrow(wide);
}

void CRichEditUI::SetText(const std::string& text) {
    text_ = text;
    if (HasTextServices()) host_->GetServices()->TxSetText(Widen(text).c_str());
    Invalidate();
}

LRESULT CRichEditUI::Send(UINT message, WPARAM wParam, LPARAM lParam) const {
    LRESULT result = 0;
    if (HasTextServices()) host_->GetServices()->TxSendMessage(message, wParam, lParam, &result);
    return result;
}

RECT CRichEditUI::TextRect() const { return GetClientArea(); }

void CRichEditUI::SetPos(RECT rc) {
    CControlUI::SetPos(rc);
    PlaceScrollBars();
    if (host_ != nullptr) host_->SetClientRect(TextRect());
}

void CRichEditUI::PlaceScrollBars() {
    const RECT text = TextRect();
    if (IsBarShown(verticalBar_.get())) {
        verticalBar_->SetPos(RECT{text.right, text.top, text.right + verticalBar_->GetScaledFixedWidth(), text.bottom});
    }
    if (IsBarShown(horizontalBar_.get())) {
        horizontalBar_->SetPos(
            RECT{text.left, text.bottom, text.right, text.bottom + horizontalBar_->GetScaledFixedHeight()});
    }
}

void CRichEditUI::DoPaint(HDC dc, const RECT& dirty) {
    if (!::IntersectRect(&paintRect_, &dirty, &pos_)) return;
    CRenderClip clip;
    CRenderClip::GenerateClip(dc, paintRect_, clip);
    // High contrast turned on or off since the text was formatted.
    const TContrastColors* contrast = GetContrastColors();
    if (host_ != nullptr && manager_ != nullptr && shownTextColor_ != (contrast ? contrast->windowText : textColor_)) {
        host_->SetCharFormat(manager_->GetFont(font_), ShownTextColor());
    }
    CControlUI::DoPaint(dc, dirty);
    const RECT text = TextRect();
    RECT update;
    if (HasTextServices() && ::IntersectRect(&update, &text, &paintRect_)) {
        CRenderClip textClip;
        CRenderClip::GenerateClip(dc, update, textClip);
        RECTL bounds{text.left, text.top, text.right, text.bottom};
        host_->GetServices()->TxDraw(DVASPECT_CONTENT, 0, nullptr, nullptr, dc, nullptr, &bounds, nullptr, &update,
                                     nullptr, 0, TXTVIEW_ACTIVE);
    }
    RECT tmp;
    for (CScrollBarUI* bar : {verticalBar_.get(), horizontalBar_.get()}) {
        if (IsBarShown(bar) && ::IntersectRect(&tmp, &dirty, &bar->GetPos())) bar->DoPaint(dc, dirty);
    }
}

void CRichEditUI::OnTextScrollChanged() {
    if (!HasTextServices()) return;
    ITextServices* services = host_->GetServices();
    LONG min = 0, max = 0, pos = 0, page = 0;
    WINBOOL enabled = FALSE;
    bool relayout = false;
    auto sync = [&](CScrollBarUI* bar) {
        if (bar == nullptr) return;
        // A disabled bar (or one without a page yet) has nothing to scroll.
        const long long last = static_cast<long long>(max) - min - (page > 0 ? page - 1 : 0);
        const long long range = enabled && page > 0 ? std::max(0LL, last) : 0;
        bar->SetScrollRange(static_cast<int>(std::min<long long>(range, INT_MAX)));
        bar->SetScrollPos(pos - min);
        if ((range > 0) != bar->IsVisible()) {
            bar->SetVisible(range > 0);
            relayout = true;
        }
    };
    if (verticalBar_ && SUCCEEDED(services->TxGetVScroll(&min, &max, &pos, &page, &enabled))) sync(verticalBar_.get());
    if (horizontalBar_ && SUCCEEDED(services->TxGetHScroll(&min, &max, &pos, &page, &enabled))) {
        sync(horizontalBar_.get());
    }
    // Later, not now: the services may be in the middle of a layout.
    if (relayout) RequestLayout();
}

void CRichEditUI::SetScrollPos(SIZE pos) {
    if (!HasTextServices()) return;
    if (IsBarShown(verticalBar_.get()) && pos.cy != verticalBar_->GetScrollPos()) {
        Send(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::max(0L, std::min(pos.cy, 0xFFFFL))));
    }
    if (IsBarShown(horizontalBar_.get()) && pos.cx != horizontalBar_->GetScrollPos()) {
        Send(WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, std::max(0L, std::min(pos.cx, 0xFFFFL))));
    }
    OnTextScrollChanged();
}

void CRichEditUI::LineUp() { Send(WM_VSCROLL, SB_LINEUP); }
void CRichEditUI::LineDown() { Send(WM_VSCROLL, SB_LINEDOWN); }
void CRichEditUI::PageUp() { Send(WM_VSCROLL, SB_PAGEUP); }
void CRichEditUI::PageDown() { Send(WM_VSCROLL, SB_PAGEDOWN); }
void CRichEditUI::HomeUp() { Send(WM_VSCROLL, SB_TOP); }
void CRichEditUI::EndDown() { Send(WM_VSCROLL, SB_BOTTOM); }
void CRichEditUI::LineLeft() { Send(WM_HSCROLL, SB_LINELEFT); }
void CRichEditUI::LineRight() { Send(WM_HSCROLL, SB_LINERIGHT); }

void CRichEditUI::ForwardMouse(UIEvent& event) {
    UINT message = 0;
    switch (event.kind) {
    case EventButtonDown:
        message = WM_LBUTTONDOWN;
        break;
    case EventDoubleClick:
        message = WM_LBUTTONDBLCLK;
        break;
    case EventButtonUp:
        message = WM_LBUTTONUP;
        break;
    case EventRButtonDown:
        message = WM_RBUTTONDOWN;
        break;
    default:
        message = WM_MOUSEMOVE;
        break;
    }
    Send(message, event.keyState, MAKELPARAM(event.mousePoint.x, event.mousePoint.y));
}

void CRichEditUI::DoEvent(UIEvent& event) {
    if (!mouseEnabled_ && IsMouseEvent(event.kind)) {
        CContainerUI::DoEvent(event);
        return;
    }
    switch (event.kind) {
    case EventSetCursor: {
        const RECT text = TextRect();
        ::SetCursor(::LoadCursor(nullptr, ::PtInRect(&text, event.mousePoint) ? IDC_IBEAM : IDC_ARROW));
        return;
    }
    case EventSetFocus:
        focused_ = true;
        if (HasTextServices()) host_->GetServices()->OnTxUIActivate();
        Send(WM_SETFOCUS);
        Invalidate();
        return;
    case EventKillFocus:
        focused_ = false;
        Send(WM_KILLFOCUS);
        if (HasTextServices()) host_->GetServices()->OnTxUIDeactivate();
        if (host_ != nullptr) host_->DestroyCaret();
        Invalidate();
        return;
    case EventTimer:
        Send(WM_TIMER, event.wParam);
        return;
    case EventButtonDown:
    case EventDoubleClick:
    case EventButtonUp:
    case EventRButtonDown:
    case EventMouseMove:
        if (IsEnabled()) ForwardMouse(event);
        return;
    case EventScrollWheel:
        event.wParam == 1 ? LineDown() : LineUp();
        return;
    default:
        CContainerUI::DoEvent(event);
        return;
    }
}

bool CRichEditUI::WantsReturn() const {
    if (!multiline_) return false;
    return wantReturn_ || (wantCtrlReturn_ && ::GetKeyState(VK_CONTROL) < 0);
}

// Keyboard and input-method messages of the window go to the services
// while the editor has the focus.
LRESULT CRichEditUI::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    handled = false;
    if (!HasTextServices() || manager_ == nullptr || manager_->GetFocus() != this || !IsVisible() || !IsEnabled()) {
        return 0;
    }
    switch (message) {
    case WM_KEYDOWN:
        if (wParam == VK_TAB && !wantTab_) return 0;
        if (wParam == VK_RETURN && !WantsReturn()) {
            handled = true;
            manager_->SendNotify(this, "return");
            return 0;
        }
        break;
    case WM_CHAR:
        if (wParam == '\t' && !wantTab_) return 0;
        if ((wParam == '\r' || wParam == '\n') && !WantsReturn()) {
            handled = true;
            return 0;
        }
        // The window is a wide window: its characters are what the services take.
        handled = true;
        break;
    case WM_KEYUP:
    case WM_IME_STARTCOMPOSITION:
    case WM_IME_COMPOSITION:
    case WM_IME_ENDCOMPOSITION:
        break;
    default:
        return 0;
    }
    LRESULT result = 0;
    const HRESULT hr = host_->GetServices()->TxSendMessage(message, wParam, lParam, &result);
    handled = handled || hr == S_OK;
    return result;
}

void CRichEditUI::SetPropertyBit(DWORD bit, bool on, bool& field) {
    field = on;
    if (host_ != nullptr) host_->SetPropertyBit(bit, on);
}

void CRichEditUI::SetReadOnly(bool on) { SetPropertyBit(TXTBIT_READONLY, on, readOnly_); }

void CRichEditUI::SetFont(int index) {
    font_ = index;
    UpdateCharFormat();
}

void CRichEditUI::SetTextColor(DWORD argb) {
    textColor_ = argb;
    UpdateCharFormat();
}

void CRichEditUI::UpdateCharFormat() {
    if (host_ != nullptr && manager_ != nullptr) host_->SetCharFormat(manager_->GetFont(font_), ShownTextColor());
    Invalidate();
}

void CRichEditUI::UpdateScrollStyle() {
    EnableScrollBar(vscroll_, hscroll_);
    if (host_ == nullptr) return;
    // The services learn of the changed bars and wrapping through the
    // settings they read back.
    ApplySettings(*host_);
    if (HasTextServices()) {
        host_->GetServices()->OnTxPropertyBitsChange(TXTBIT_SCROLLBARCHANGE, TXTBIT_SCROLLBARCHANGE);
    }
}

bool CRichEditUI::SetFlagAttribute(const char* name, const char* value) {
    const bool on = ValueReaders::ReadBool(value);
    if (Is(name, "vscrollbar") || Is(name, "autovscroll") || Is(name, "hscrollbar") || Is(name, "autohscroll")) {
        bool& field = Is(name, "vscrollbar")    ? vscroll_
                      : Is(name, "autovscroll") ? autoVScroll_
                      : Is(name, "hscrollbar")  ? hscroll_
                                                : autoHScroll_;
        field = on;
        UpdateScrollStyle();
    } else if (Is(name, "wanttab")) {
        wantTab_ = on;
    } else if (Is(name, "wantreturn")) {
        wantReturn_ = on;
    } else if (Is(name, "wantctrlreturn")) {
        wantCtrlReturn_ = on;
    } else if (Is(name, "rich")) {
        SetPropertyBit(TXTBIT_RICHTEXT, on, rich_);
    } else if (Is(name, "multiline")) {
        SetPropertyBit(TXTBIT_MULTILINE, !Is(value, "false"), multiline_);
        UpdateScrollStyle();
    } else if (Is(name, "readonly")) {
        SetReadOnly(on);
    } else if (Is(name, "password")) {
        SetPropertyBit(TXTBIT_USEPASSWORD, on, password_);
    } else {
        return false;
    }
    return true;
}

void CRichEditUI::SetAttribute(const char* name, const char* value) {
    if (SetFlagAttribute(name, value)) return;
    if (Is(name, "align")) {
        alignment_ = std::strstr(value, "center") != nullptr  ? PFA_CENTER
                     : std::strstr(value, "right") != nullptr ? PFA_RIGHT
                                                              : PFA_LEFT;
        if (host_ != nullptr) host_->SetAlignment(alignment_);
        Invalidate();
    } else if (Is(name, "font")) {
        SetFont(ValueReaders::ReadInt(value));
    } else if (Is(name, "textcolor")) {
        SetTextColor(ValueReaders::ReadColor(value));
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}

}  // namespace Loom
