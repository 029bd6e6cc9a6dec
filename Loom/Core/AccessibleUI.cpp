#include "Loom/Core/AccessibleUI.h"

#include <oleacc.h>

#include <climits>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "Loom/Core/ContainerUI.h"
#include "Loom/Core/ControlUI.h"
#include "Loom/Core/UIManager.h"
#include "platform/LateLibrary.h"
#include "platform/Utf8.h"
#include "platform/Wide.h"

namespace Loom {
namespace {

// The accessibility library is loaded at the first request: most runs have
// no client.
constexpr char kAccLibrary[] = "oleacc.dll";
constexpr char kLresultFromObject[] = "LresultFromObject";
constexpr char kObjectFromWindow[] = "AccessibleObjectFromWindow";

// A longer name is cut before the character that would pass this many
// bytes.
constexpr size_t kLongestName = 1024;

BSTR MakeBstr(const std::string& utf8) {
    const std::string text = utf8.substr(0, Text::Utf8CutLength(utf8, kLongestName));
    const std::wstring wide = Text::Widen(text);
    return ::SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

bool IsSelf(const VARIANT& child) { return child.vt == VT_I4 && child.lVal == CHILDID_SELF; }

CContainerUI* ContainerOf(CControlUI* control) {
    return control != nullptr ? static_cast<CContainerUI*>(control->GetInterface("Container")) : nullptr;
}

// A combo's items are its children, as a native combo box shows them, but
// only seen while its list is open.
bool IsClosedComboItem(CControlUI* control) {
    CControlUI* parent = control->GetParent();
    return parent != nullptr && parent->GetInterface("Combo") != nullptr &&
           (parent->GetAccessibleTraits().state & STATE_SYSTEM_EXPANDED) == 0;
}

std::string WindowCaption(HWND window) {
    wchar_t caption[256] = L"";
    const int n = window != nullptr ? ::GetWindowTextW(window, caption, 256) : 0;
    return Text::Narrow(std::wstring_view(caption, n > 0 ? static_cast<size_t>(n) : 0));
}

bool IsRoot(CControlUI* control) {
    return control->GetManager() != nullptr && control->GetManager()->GetRoot() == control;
}

// A layout without a name only places its controls, and an empty spacer
// shows nothing: a client sees neither, but the controls of such a layout
// as children of the nearest object it does see.
bool IsPassThrough(CControlUI* control) {
    return ContainerOf(control) != nullptr && !IsRoot(control) &&
           control->GetAccessibleRole() == ROLE_SYSTEM_GROUPING && control->GetAccessibleName().empty();
}
bool IsIgnored(CControlUI* control) {
    return ContainerOf(control) == nullptr && control->GetAccessibleRole() == ROLE_SYSTEM_STATICTEXT &&
           control->GetAccessibleName().empty();
}

// The visible controls a client sees as the control's children.
void AddSeenChildren(CControlUI* control, std::vector<CControlUI*>& seen) {
    CContainerUI* box = ContainerOf(control);
    for (int i = 0; box != nullptr && i < box->GetCount(); ++i) {
        CControlUI* item = box->GetItemAt(i);
        if (item == nullptr || !item->IsVisible() || IsIgnored(item)) continue;
        if (IsPassThrough(item)) {
            AddSeenChildren(item, seen);
        } else {
            seen.push_back(item);
        }
    }
}
std::vector<CControlUI*> SeenChildren(CControlUI* control) {
    std::vector<CControlUI*> seen;
    AddSeenChildren(control, seen);
    return seen;
}
// The object a client sees as the control's parent; null above the root.
CControlUI* SeenParent(CControlUI* control) {
    if (IsRoot(control)) return nullptr;
    CControlUI* parent = control->GetParent();
    while (parent != nullptr && IsPassThrough(parent)) parent = parent->GetParent();
    return parent;
}

// The control below `from` (hidden ones too) that an event named by its id.
CControlUI* FindById(CControlUI* from, long id) {
    if (from->GetAccessibleId() == id) return from;
    CContainerUI* box = ContainerOf(from);
    for (int i = 0; box != nullptr && i < box->GetCount(); ++i)
        if (CControlUI* found = FindById(box->GetItemAt(i), id)) return found;
    return nullptr;
}

// A live control that is still part of its window's tree: one taken out
// (and only waiting to be destroyed) is gone for a client too.
bool InTree(CControlUI* control, const std::weak_ptr<int>& life) {
    if (life.expired() || control->GetManager() == nullptr) return false;
    CControlUI* const root = control->GetManager()->GetRoot();
    for (CControlUI* c = control; c != root; c = c->GetParent()) {
        CControlUI* parent = c->GetParent();
        CContainerUI* box = ContainerOf(parent);
        if (box == nullptr || box->GetItemIndex(c) < 0) return false;
    }
    return true;
}

// Default actions (and focus moves) waiting for the window's thread to
// take them.
struct PostedAction {
    HWND window;
    CControlUI* control;
    std::weak_ptr<int> life;
    bool takeFocus;
};
std::vector<PostedAction>& PostedActions() {
    static std::vector<PostedAction> actions;
    return actions;
}

class CAccessibleControl final : public IAccessible {
public:
    explicit CAccessibleControl(CControlUI* control) : control_(control), life_(control->LifeToken()) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (object == nullptr) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    // IDispatch: MSAA clients use the interface's own methods.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (parent == nullptr) return E_POINTER;
        *parent = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        if (CControlUI* seen = SeenParent(control_)) {
            *parent = new CAccessibleControl(seen);
            return S_OK;
        }
        // The root's parent is the window as the system sees it.
        const auto fromWindow = LateFunction<decltype(&::AccessibleObjectFromWindow), kAccLibrary, kObjectFromWindow>();
        if (fromWindow == nullptr || Window() == nullptr) return S_FALSE;
        return fromWindow(Window(), static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (count == nullptr) return E_POINTER;
        *count = 0;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        *count = static_cast<long>(Children().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** object) override {
        if (object == nullptr) return E_POINTER;
        *object = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        CControlUI* target = nullptr;
        if (!Target(child, target)) return E_INVALIDARG;
        if (target == control_) return E_INVALIDARG;
        *object = new CAccessibleControl(target);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        // The root is named by its window's caption.
        return Text(child, name, [](CControlUI& c) {
            std::string text = c.GetAccessibleName();
            if (text.empty() && IsRoot(&c)) text = WindowCaption(c.GetManager()->GetPaintWindow());
            return text;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        return Text(child, value, [](CControlUI& c) { return c.GetAccessibleTraits().value; });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
        return Text(child, text, [](CControlUI& c) {
            return c.GetToolTip() != c.GetAccessibleName() ? c.GetToolTip() : std::string();
        });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (role == nullptr) return E_POINTER;
        ::VariantInit(role);
        CControlUI* target = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        if (!Target(child, target)) return E_INVALIDARG;
        role->vt = VT_I4;
        role->lVal = IsRoot(target) ? ROLE_SYSTEM_CLIENT : target->GetAccessibleRole();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (state == nullptr) return E_POINTER;
        ::VariantInit(state);
        CControlUI* target = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        if (!Target(child, target)) return E_INVALIDARG;
        DWORD flags = target->GetAccessibleTraits().state;
        if (!target->IsEnabled()) flags |= STATE_SYSTEM_UNAVAILABLE;
        if (!target->IsVisible() || IsClosedComboItem(target)) flags |= STATE_SYSTEM_INVISIBLE;
        if (target->IsEnabled() && (target->GetControlFlags() & ControlFlagTabStop) != 0)
            flags |= STATE_SYSTEM_FOCUSABLE;
        if (target->IsFocused()) flags |= STATE_SYSTEM_FOCUSED;
        state->vt = VT_I4;
        state->lVal = static_cast<long>(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* help) override { return Nothing(help); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
        if (topic != nullptr) *topic = 0;
        return Nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* keys) override {
        return Text(child, keys, [](CControlUI& c) {
            const char key = c.GetShortcut();
            return key != '\0' ? std::string("Alt+") + key : std::string();
        });
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
        if (focus == nullptr) return E_POINTER;
        ::VariantInit(focus);
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        CControlUI* focused = control_->GetManager() != nullptr ? control_->GetManager()->GetFocus() : nullptr;
        if (focused == nullptr || !IsWithin(focused)) return S_FALSE;
        if (focused == control_) {
            focus->vt = VT_I4;
            focus->lVal = CHILDID_SELF;
        } else {
            focus->vt = VT_DISPATCH;
            focus->pdispVal = new CAccessibleControl(focused);
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
        if (selection == nullptr) return E_POINTER;
        ::VariantInit(selection);
        return Alive() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        return Text(child, action, [](CControlUI& c) {
            const char* name = c.GetAccessibleTraits().defaultAction;
            return name != nullptr ? std::string(name) : std::string();
        });
    }
    // Only the focus is taken (a screen reader's "move focus here");
    // selections are the controls' own.
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        CControlUI* target = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        if (!Target(child, target)) return E_INVALIDARG;
        if (flags != SELFLAG_TAKEFOCUS) return DISP_E_MEMBERNOTFOUND;
        if ((target->GetControlFlags() & ControlFlagTabStop) == 0) return E_FAIL;
        return Post(target, true);
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT child) override {
        if (left == nullptr || top == nullptr || width == nullptr || height == nullptr) return E_POINTER;
        *left = *top = *width = *height = 0;
        CControlUI* target = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        if (!Target(child, target)) return E_INVALIDARG;
        const RECT& pos = target->GetPos();
        POINT corner{pos.left, pos.top};
        if (Window() != nullptr) ::ClientToScreen(Window(), &corner);
        *left = corner.x;
        *top = corner.y;
        *width = pos.right - pos.left;
        *height = pos.bottom - pos.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        if (end == nullptr) return E_POINTER;
        ::VariantInit(end);
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        const std::vector<CControlUI*> children = Children();
        if (IsSelf(start)) {
            if (direction == NAVDIR_FIRSTCHILD || direction == NAVDIR_LASTCHILD) {
                if (children.empty()) return S_FALSE;
                end->vt = VT_DISPATCH;
                end->pdispVal =
                    new CAccessibleControl(direction == NAVDIR_FIRSTCHILD ? children.front() : children.back());
                return S_OK;
            }
            if (direction != NAVDIR_NEXT && direction != NAVDIR_PREVIOUS) return S_FALSE;
            // Among the parent's visible children.
            CControlUI* parent = SeenParent(control_);
            if (parent == nullptr) return S_FALSE;
            const std::vector<CControlUI*> siblings = SeenChildren(parent);
            for (size_t i = 0; i < siblings.size(); ++i) {
                if (siblings[i] != control_) continue;
                const size_t next = direction == NAVDIR_NEXT ? i + 1 : i - 1;
                if (next >= siblings.size()) return S_FALSE;  // also wraps below 0
                end->vt = VT_DISPATCH;
                end->pdispVal = new CAccessibleControl(siblings[next]);
                return S_OK;
            }
            return S_FALSE;
        }
        if (start.vt != VT_I4 || start.lVal < 1 || start.lVal > static_cast<long>(children.size())) return E_INVALIDARG;
        const long next = direction == NAVDIR_NEXT ? start.lVal + 1 : direction == NAVDIR_PREVIOUS ? start.lVal - 1 : 0;
        if (next < 1 || next > static_cast<long>(children.size())) return S_FALSE;
        end->vt = VT_I4;
        end->lVal = next;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
        if (hit == nullptr) return E_POINTER;
        ::VariantInit(hit);
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        POINT pt{x, y};
        if (Window() != nullptr) ::ScreenToClient(Window(), &pt);
        if (!::PtInRect(&control_->GetPos(), pt)) return S_FALSE;
        // The last child drawn over the point is the one on top.
        const std::vector<CControlUI*> children = Children();
        for (auto it = children.rbegin(); it != children.rend(); ++it) {
            if (IsClosedComboItem(*it) || !::PtInRect(&(*it)->GetPos(), pt)) continue;
            hit->vt = VT_DISPATCH;
            hit->pdispVal = new CAccessibleControl(*it);
            return S_OK;
        }
        hit->vt = VT_I4;
        hit->lVal = CHILDID_SELF;
        return S_OK;
    }
    // As a click would: refused for a control that is disabled or hidden,
    // posted for the window's thread to run after the call has returned.
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        CControlUI* target = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        if (!Target(child, target)) return E_INVALIDARG;
        if (target->GetAccessibleTraits().defaultAction == nullptr) return DISP_E_MEMBERNOTFOUND;
        if (IsClosedComboItem(target)) return E_FAIL;
        return Post(target, false);
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

private:
    ~CAccessibleControl() = default;

    bool Alive() const { return InTree(control_, life_); }
    HRESULT Post(CControlUI* target, bool takeFocus) const {
        if (!target->IsEnabled() || !target->IsVisible() || Window() == nullptr) return E_FAIL;
        PostedActions().push_back(PostedAction{Window(), target, target->LifeToken(), takeFocus});
        return ::PostMessageW(Window(), AccessibleActionMessage(), 0, 0) ? S_OK : E_FAIL;
    }
    HWND Window() const {
        return control_->GetManager() != nullptr ? control_->GetManager()->GetPaintWindow() : nullptr;
    }
    std::vector<CControlUI*> Children() const { return SeenChildren(control_); }
    bool IsWithin(CControlUI* control) const {
        for (CControlUI* c = control; c != nullptr; c = c->GetParent())
            if (c == control_) return true;
        return false;
    }
    // The control a child id names: the object itself, its child n (from
    // 1) among the visible ones, or (below 0) the control below it that an
    // event named.
    bool Target(const VARIANT& child, CControlUI*& target) const {
        if (child.vt != VT_I4) return false;
        if (child.lVal == CHILDID_SELF) {
            target = control_;
            return true;
        }
        if (child.lVal < 0) {
            target = child.lVal == LONG_MIN ? nullptr : FindById(control_, -child.lVal);
            return target != nullptr && target != control_;
        }
        const std::vector<CControlUI*> children = Children();
        if (child.lVal < 1 || child.lVal > static_cast<long>(children.size())) return false;
        target = children[static_cast<size_t>(child.lVal - 1)];
        return true;
    }
    template <class Read>
    HRESULT Text(const VARIANT& child, BSTR* text, Read read) {
        if (text == nullptr) return E_POINTER;
        *text = nullptr;
        if (!Alive()) return CO_E_OBJNOTCONNECTED;
        CControlUI* target = nullptr;
        if (!Target(child, target)) return E_INVALIDARG;
        const std::string value = read(*target);
        if (value.empty()) return S_FALSE;
        *text = MakeBstr(value);
        return *text != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT Nothing(BSTR* text) const {
        if (text == nullptr) return E_POINTER;
        *text = nullptr;
        return Alive() ? S_FALSE : CO_E_OBJNOTCONNECTED;
    }

    LONG refs_ = 1;
    CControlUI* control_;
    std::weak_ptr<int> life_;
};

}  // namespace

bool AnswerGetObject(CUIManager& manager, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (static_cast<LONG>(lParam) != static_cast<LONG>(OBJID_CLIENT) || manager.GetRoot() == nullptr) return false;
    const auto fromObject = LateFunction<decltype(&::LresultFromObject), kAccLibrary, kLresultFromObject>();
    if (fromObject == nullptr) return false;
    IAccessible* root = new CAccessibleControl(manager.GetRoot());
    const LRESULT reference = fromObject(__uuidof(IAccessible), wParam, root);
    root->Release();
    if (reference <= 0) return false;  // a failure's HRESULT: the system answers instead
    result = reference;
    return true;
}

void AnnounceAccessible(const CControlUI& control, DWORD event) {
    CUIManager* manager = control.GetManager();
    if (manager == nullptr || manager->GetPaintWindow() == nullptr) return;
    const LONG child = manager->GetRoot() == &control ? CHILDID_SELF : -control.GetAccessibleId();
    ::NotifyWinEvent(event, manager->GetPaintWindow(), OBJID_CLIENT, child);
}

void AnnounceShown(const CControlUI& control, bool shown) {
    AnnounceAccessible(control, shown ? EVENT_OBJECT_SHOW : EVENT_OBJECT_HIDE);
    if (control.GetAccessibleRole() == ROLE_SYSTEM_MENUPOPUP)
        AnnounceAccessible(control, shown ? EVENT_SYSTEM_MENUPOPUPSTART : EVENT_SYSTEM_MENUPOPUPEND);
}

UINT AccessibleActionMessage() {
    static const UINT message = ::RegisterWindowMessageW(L"LoomAccessibleDefaultAction");
    return message;
}

void RunPostedAccessibleActions(HWND window) {
    std::vector<PostedAction> due;
    std::vector<PostedAction>& posted = PostedActions();
    for (auto it = posted.begin(); it != posted.end();) {
        if (it->window == window) {
            due.push_back(*it);
            it = posted.erase(it);
        } else {
            ++it;
        }
    }
    // Each action may destroy controls, the next one's too.
    for (const PostedAction& action : due) {
        if (!InTree(action.control, action.life) || !action.control->IsEnabled() || !action.control->IsVisible())
            continue;
        if (action.takeFocus) {
            action.control->SetFocus();
        } else {
            action.control->DoAccessibleAction();
        }
    }
}

}  // namespace Loom
