#include "Loom/Core/UIManager.h"

#include <algorithm>
#include <cstring>

#include "Loom/Core/ControlUI.h"
#include "Loom/Core/TextRules.h"
#include "Loom/Markup/MarkupPlatform.h"
#include "Loom/Render/ValueReaders.h"
#include "platform/Win32Text.h"
#include "platform/Wide.h"

// The manager's tree, timer, list and notification operations; the window
// messages and painting are in UIManagerMessages.cpp, fonts and images in
// UIManagerResources.cpp, the focus, the mouse and the keys in InputRouter.cpp.

namespace Loom {

namespace {

template <typename T>
bool AddUnique(std::vector<T*>& list, T* item) {
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) return false;
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveItem(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) return false;
    list.erase(it);
    return true;
}

CControlUI* RegisterNameProc(CControlUI* control, void* data) {
    auto* names = static_cast<std::map<std::string, CControlUI*>*>(data);
    if (!control->GetName().empty()) (*names)[control->GetName()] = control;
    return nullptr;
}

CControlUI* FindByPointProc(CControlUI* control, void* /*data*/) { return control; }

}  // namespace

// --- process-wide state -----------------------------------------------------

CUIManager::ProcessState& CUIManager::Process() {
    static ProcessState state;
    return state;
}

HINSTANCE CUIManager::GetInstance() {
    HINSTANCE instance = Process().instance;
    return instance != nullptr ? instance : ::GetModuleHandleW(nullptr);
}

void CUIManager::SetInstance(HINSTANCE instance) { Process().instance = instance; }

HINSTANCE CUIManager::GetResourceInstance() {
    HINSTANCE instance = Process().resourceInstance;
    return instance != nullptr ? instance : GetInstance();
}

void CUIManager::SetResourceInstance(HINSTANCE instance) { Process().resourceInstance = instance; }

std::string CUIManager::GetInstancePath() {
    const std::string path = Text::ModuleFileName(GetInstance());
    if (path.empty()) return std::string();
    return DirectoryOf(path);
}

const std::string& CUIManager::GetResourcePath() { return Loom::ResourcePath(); }

void CUIManager::SetResourcePath(const std::string& path) { Loom::SetResourcePath(WithTrailingSeparator(path)); }

const std::vector<CUIManager*>& CUIManager::GetManagers() { return Process().managers; }

bool CUIManager::TranslateMessage(const LPMSG msg) {
    if (msg == nullptr || msg->hwnd == nullptr) return false;
    const std::vector<CUIManager*>& managers = Process().managers;
    auto managerOf = [&managers](HWND wnd) -> CUIManager* {
        for (CUIManager* m : managers) {
            if (m->wnd_ == wnd) return m;
        }
        return nullptr;
    };
    CUIManager* target = nullptr;
    if ((::GetWindowLongW(msg->hwnd, GWL_STYLE) & WS_CHILD) != 0) {
        // A child window's message goes to the manager of the nearest
        // window up its parent chain that has one.
        for (HWND wnd = msg->hwnd; wnd != nullptr && target == nullptr; wnd = ::GetParent(wnd)) {
            target = managerOf(wnd);
        }
    } else {
        target = managerOf(msg->hwnd);
    }
    if (target == nullptr) return false;
    const std::vector<ITranslateAccelerator*> translators = target->translators_;
    for (ITranslateAccelerator* t : translators) {
        if (t->TranslateAccelerator(msg)) return true;
    }
    LRESULT result = 0;
    return target->PreMessageHandler(msg->message, msg->wParam, msg->lParam, result);
}

void CUIManager::MessageLoop() {
    MSG msg{};
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!TranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

// --- life cycle -------------------------------------------------------------

CUIManager::CUIManager() {
    ProcessState& process = Process();
    if (!process.started) {
        process.started = true;
        process.redPen = UniquePen(::CreatePen(PS_SOLID, 1, RGB(220, 0, 0)));
    }
    LOGFONTW lf{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf);
    lf.lfCharSet = DEFAULT_CHARSET;
    defaultFont_.font = UniqueFont(::CreateFontIndirectW(&lf));
    defaultFont_.face = Text::Narrow(lf.lfFaceName);
    defaultFont_.size = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
    defaultFont_.bold = lf.lfWeight >= FW_BOLD;
    defaultFont_.underline = lf.lfUnderline != 0;
    defaultFont_.italic = lf.lfItalic != 0;
}

CUIManager::~CUIManager() {
    RunDelayedCleanup();
    CControlUI* root = root_;
    root_ = nullptr;
    delete root;  // each control tells ForgetControl while it goes
    RunDelayedCleanup();
    timers_.Clear(wnd_);
    toolTip_.Reset();
    ReleaseOffscreen();
    paintDC_.reset();
    RemoveItem(Process().managers, this);
}

void CUIManager::Init(HWND wnd) {
    wnd_ = wnd;
    paintDC_.reset();
    if (wnd_ != nullptr) paintDC_.emplace(wnd_);
    AddUnique(Process().managers, this);
}

HDC CUIManager::GetPaintDC() const { return paintDC_ ? paintDC_->get() : nullptr; }

SIZE CUIManager::GetClientSize() const {
    RECT rc{0, 0, 0, 0};
    if (wnd_ != nullptr) ::GetClientRect(wnd_, &rc);
    return SIZE{rc.right - rc.left, rc.bottom - rc.top};
}

// --- window settings --------------------------------------------------------

void CUIManager::SetInitSize(int cx, int cy) {
    initSize_ = SIZE{cx, cy};
    if (root_ == nullptr && wnd_ != nullptr) {
        // At the window's scale, and no larger than the work area of its
        // monitor (a small screen at a large scale): the layout fits itself
        // into what there is, as it does for a maximised window.
        SIZE size{scale_.Scale(cx), scale_.Scale(cy)};
        MONITORINFO monitor{};
        monitor.cbSize = sizeof(monitor);
        if (::GetMonitorInfoW(::MonitorFromWindow(wnd_, MONITOR_DEFAULTTONEAREST), &monitor)) {
            size.cx = std::min(size.cx, monitor.rcWork.right - monitor.rcWork.left);
            size.cy = std::min(size.cy, monitor.rcWork.bottom - monitor.rcWork.top);
        }
        ::SetWindowPos(wnd_, nullptr, 0, 0, size.cx, size.cy, SWP_NOZORDER | SWP_NOMOVE | SWP_NOACTIVATE);
    }
}

void CUIManager::SetDpi(int dpi) {
    const DpiScale scale(dpi);
    if (scale == scale_) return;
    scale_ = scale;
    scaledImages_.clear();  // the images of the old scale go
    RemakeFonts();
    // The whole tree again, from the root: every layout reads the 96-DPI
    // numbers at the new scale.
    if (root_ != nullptr) root_->RequestLayout();
    layoutNeeded_ = true;
    if (wnd_ != nullptr) ::InvalidateRect(wnd_, nullptr, FALSE);
}

void CUIManager::SetMinInfo(int cx, int cy) { minInfo_ = SIZE{cx, cy}; }
void CUIManager::SetMaxInfo(int cx, int cy) { maxInfo_ = SIZE{cx, cy}; }

void CUIManager::SetTransparent(int alpha) {
    opacity_ = std::clamp(alpha, 0, 255);
    if (wnd_ == nullptr) return;
    LONG exStyle = ::GetWindowLongW(wnd_, GWL_EXSTYLE);
    const bool layered = alpha >= 0 && alpha <= 255;
    exStyle = layered ? (exStyle | WS_EX_LAYERED) : (exStyle & ~WS_EX_LAYERED);
    ::SetWindowLongW(wnd_, GWL_EXSTYLE, exStyle);
    if (layered) ::SetLayeredWindowAttributes(wnd_, 0, static_cast<BYTE>(opacity_), LWA_ALPHA);
}

bool CUIManager::SetResourceParent(CUIManager* parent) {
    // A chain that loops would send every lookup round in circles.
    for (CUIManager* m = parent; m != nullptr; m = m->resourceParent_) {
        if (m == this) return false;
    }
    resourceParent_ = parent;
    return true;
}

const CUIManager* CUIManager::TopOfChain() const {
    const CUIManager* m = this;
    while (m->resourceParent_ != nullptr) m = m->resourceParent_;
    return m;
}

CUIManager* CUIManager::TopOfChain() {
    CUIManager* m = this;
    while (m->resourceParent_ != nullptr) m = m->resourceParent_;
    return m;
}

DWORD CUIManager::GetDefaultDisabledColor() const { return TopOfChain()->disabledColor_; }
DWORD CUIManager::GetDefaultFontColor() const { return TopOfChain()->fontColor_; }
DWORD CUIManager::GetDefaultLinkFontColor() const { return TopOfChain()->linkColor_; }
DWORD CUIManager::GetDefaultLinkHoverFontColor() const { return TopOfChain()->linkHoverColor_; }
DWORD CUIManager::GetDefaultSelectedBkColor() const { return TopOfChain()->selectedBkColor_; }

// --- default attribute lists and option groups -------------------------------

void CUIManager::AddDefaultAttributeList(const std::string& name, const std::string& list) {
    defaultAttributes_.emplace(name, list);
}

const char* CUIManager::GetDefaultAttributeList(const std::string& name) const {
    for (const CUIManager* m = this; m != nullptr; m = m->resourceParent_) {
        auto it = m->defaultAttributes_.find(name);
        if (it != m->defaultAttributes_.end()) return it->second.c_str();
    }
    return nullptr;
}

bool CUIManager::AddOptionGroup(const std::string& group, CControlUI* option) {
    return AddUnique(optionGroups_[group], option);
}

const std::vector<CControlUI*>* CUIManager::GetOptionGroup(const std::string& group) const {
    auto it = optionGroups_.find(group);
    return it == optionGroups_.end() ? nullptr : &it->second;
}

void CUIManager::RemoveOptionGroup(const std::string& group, CControlUI* option) {
    auto it = optionGroups_.find(group);
    if (it == optionGroups_.end()) return;
    RemoveItem(it->second, option);
    if (it->second.empty()) optionGroups_.erase(it);
}

// --- the control tree -------------------------------------------------------

bool CUIManager::SetRootControl(CControlUI* root) {
    input_.Reset();
    if (root_ != nullptr) {
        CControlUI* old = root_;
        root_ = nullptr;
        postPaint_.clear();
        names_.clear();
        AddDelayedCleanup(old);
    }
    root_ = root;
    firstLayout_ = true;
    layoutNeeded_ = true;
    return AttachSubtree(root, nullptr);
}

bool CUIManager::AttachSubtree(CControlUI* control, CControlUI* parent) {
    if (control == nullptr) return false;
    control->SetManager(this, parent != nullptr ? parent : control->GetParent(), true);
    control->FindControl(RegisterNameProc, &names_, FindAll);
    return true;
}

CControlUI* CUIManager::FindControl(POINT pt) const {
    if (root_ == nullptr) return nullptr;
    return root_->FindControl(FindByPointProc, &pt, FindVisible | FindHitTest | FindTopFirst);
}

CControlUI* CUIManager::FindControl(const std::string& name) const {
    auto it = names_.find(name);
    return it == names_.end() ? nullptr : it->second;
}

void CUIManager::ForgetControl(CControlUI* control) {
    if (control == nullptr) return;
    input_.Forget(control);
    KillTimer(control);
    for (auto it = names_.begin(); it != names_.end();) {
        it = it->second == control ? names_.erase(it) : std::next(it);
    }
    // An overlay registration would otherwise outlive the control.
    RemoveItem(postPaint_, control);
}

bool CUIManager::AddDelayedCleanup(CControlUI* control) {
    if (control == nullptr) return false;
    control->SetManager(this, nullptr, false);
    delayedCleanup_.push_back(control);
    if (wnd_ != nullptr) ::PostMessageW(wnd_, kDelayedCleanupMessage, 0, 0);
    return true;
}

void CUIManager::RunDelayedCleanup() {
    while (!delayedCleanup_.empty()) {
        std::vector<CControlUI*> controls;
        controls.swap(delayedCleanup_);
        for (CControlUI* control : controls) delete control;
    }
}

void CUIManager::Invalidate(const RECT& rc) {
    if (wnd_ != nullptr && !wholeClientInvalid_) ::InvalidateRect(wnd_, &rc, FALSE);
}

// --- focus ------------------------------------------------------------------

UIEvent CUIManager::MakeEvent(int kind, CControlUI* sender, WPARAM wParam, LPARAM lParam) const {
    UIEvent event;
    event.kind = kind;
    event.sender = sender;
    event.timestamp = ::GetTickCount();
    event.mousePoint = input_.LastMouse();
    event.wParam = wParam;
    event.lParam = lParam;
    return event;
}

WORD CUIManager::LiveKeyState() {
    WORD state = 0;
    if (::GetKeyState(VK_CONTROL) < 0) state |= KeyStateControl;
    if (::GetKeyState(VK_RBUTTON) < 0) state |= KeyStateRButton;
    if (::GetKeyState(VK_LBUTTON) < 0) state |= KeyStateLButton;
    if (::GetKeyState(VK_SHIFT) < 0) state |= KeyStateShift;
    if (::GetKeyState(VK_MENU) < 0) state |= KeyStateAlt;
    return state;
}

void CUIManager::SetFocus(CControlUI* control) { input_.SetFocus(control); }
void CUIManager::SetFocusNeeded(CControlUI* control) { input_.SetFocusNeeded(control); }
bool CUIManager::SetNextTabControl(bool forward) { return input_.SetNextTabControl(forward); }
void CUIManager::SetTabSkipped(CControlUI* control, bool skipped) { input_.SetTabSkipped(control, skipped); }
void CUIManager::SetCapture() { input_.SetCapture(); }
void CUIManager::ReleaseCapture() { input_.ReleaseCapture(); }
void CUIManager::ShowKeyboardCues(bool shown) { input_.ShowKeyboardCues(shown); }
RECT CUIManager::FocusCueRect(const CControlUI* control) const { return input_.FocusCueRect(control); }

// --- timers -----------------------------------------------------------------

bool CUIManager::SetTimer(CControlUI* control, UINT id, UINT elapse) { return timers_.Set(wnd_, control, id, elapse); }

bool CUIManager::KillTimer(CControlUI* control, UINT id) { return timers_.Kill(wnd_, control, id); }

void CUIManager::KillTimer(CControlUI* control) { timers_.Kill(wnd_, control); }

// --- listeners and notifications --------------------------------------------

bool CUIManager::AddNotifier(INotifyUI* notifier) { return AddUnique(notifiers_, notifier); }
bool CUIManager::RemoveNotifier(INotifyUI* notifier) { return RemoveItem(notifiers_, notifier); }
bool CUIManager::AddPreMessageFilter(IMessageFilterUI* filter) { return AddUnique(preFilters_, filter); }
bool CUIManager::RemovePreMessageFilter(IMessageFilterUI* filter) { return RemoveItem(preFilters_, filter); }
bool CUIManager::AddMessageFilter(IMessageFilterUI* filter) { return AddUnique(filters_, filter); }
bool CUIManager::RemoveMessageFilter(IMessageFilterUI* filter) { return RemoveItem(filters_, filter); }

bool CUIManager::AddTranslateAccelerator(ITranslateAccelerator* translator) {
    return AddUnique(translators_, translator);
}

bool CUIManager::RemoveTranslateAccelerator(ITranslateAccelerator* translator) {
    return RemoveItem(translators_, translator);
}

bool CUIManager::AddPostPaint(CControlUI* control) { return AddUnique(postPaint_, control); }
bool CUIManager::RemovePostPaint(CControlUI* control) { return RemoveItem(postPaint_, control); }

void CUIManager::SendNotify(CControlUI* control, const std::string& type, WPARAM wParam, LPARAM lParam) {
    NotifyMsg msg;
    msg.type = type;
    msg.sender = control;
    msg.timestamp = ::GetTickCount();
    msg.mousePoint = input_.LastMouse();
    msg.wParam = wParam;
    msg.lParam = lParam;
    if (usedVirtualWnd_) {
        for (CControlUI* c = control; c != nullptr; c = c->GetParent()) {
            if (!c->GetVirtualWnd().empty()) {
                msg.virtualWnd = c->GetVirtualWnd();
                break;
            }
        }
    }
    if (control != nullptr) control->OnNotify(&msg);
    // A listener may unregister others (or itself) while it runs: only those
    // still registered are called.
    const std::vector<INotifyUI*> listeners = notifiers_;
    for (INotifyUI* listener : listeners) {
        if (std::find(notifiers_.begin(), notifiers_.end(), listener) != notifiers_.end()) listener->Notify(msg);
    }
}

}  // namespace Loom
