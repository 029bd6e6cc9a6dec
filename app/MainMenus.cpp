#include "app/MainMenus.h"

#include <utility>

#include "Loom/Core/AccessibleUI.h"
#include "Loom/Core/TextRules.h"

using namespace Loom;

namespace {

constexpr int kMenuCount = 3;

// The letter is upper case.
bool HasLetter(const CControlUI& control, char letter) {
    return control.GetShortcut() != '\0' && UpperAscii(control.GetShortcut()) == letter;
}

}  // namespace

MainMenus::MainMenus(MainWindowControls& controls, CUIManager& manager, std::function<void(CControlUI*)> run)
    : c_(controls), manager_(manager), run_(std::move(run)) {}

CButtonUI* MainMenus::Header(int menu) const {
    CButtonUI* headers[] = {c_.fileMenuHeader, c_.languageMenuHeader, c_.helpMenuHeader};
    return headers[menu];
}

CControlUI* MainMenus::Panel(int menu) const {
    CControlUI* panels[] = {c_.fileMenu, c_.languageMenu, c_.helpMenu};
    return panels[menu];
}

std::vector<CControlUI*> MainMenus::Items(int menu) const {
    std::vector<CControlUI*> items;
    auto* panel = static_cast<CContainerUI*>(Panel(menu));
    for (int i = 0; i < panel->GetCount(); ++i) {
        CControlUI* item = panel->GetItemAt(i);
        // The separators are plain controls, not buttons.
        if (item->GetInterface("Button") != nullptr && item->IsEnabled()) items.push_back(item);
    }
    return items;
}

CControlUI* MainMenus::LitItem() const {
    if (activeMenu_ < 0 || lit_ < 0) return nullptr;
    const std::vector<CControlUI*> items = Items(activeMenu_);
    return lit_ < static_cast<int>(items.size()) ? items[static_cast<size_t>(lit_)] : nullptr;
}

bool MainMenus::IsHeaderFocused() const {
    const CControlUI* focus = manager_.GetFocus();
    return focus != nullptr &&
           (focus == c_.fileMenuHeader || focus == c_.languageMenuHeader || focus == c_.helpMenuHeader);
}

void MainMenus::Close() {
    if (IsHeaderFocused()) {
        SetMenuMode(true);
        return;
    }
    Light(-1);
    SetMenuMode(false);
    for (int k = 0; k < kMenuCount; ++k) {
        Panel(k)->SetVisible(false);
        Header(k)->SetHotImage(kMenuHotImage);
        Header(k)->SetNormalImage("");
    }
    activeMenu_ = -1;
    focusBefore_ = nullptr;
    altAlone_ = false;
}

// Clients hear the menu bar's menu mode begin and end, as they hear a
// native window's.
void MainMenus::SetMenuMode(bool on) {
    if (on == menuMode_) return;
    menuMode_ = on;
    if (CControlUI* bar = Header(0)->GetParent())
        AnnounceAccessible(*bar, on ? EVENT_SYSTEM_MENUSTART : EVENT_SYSTEM_MENUEND);
}

void MainMenus::ShowPanel(int menu) {
    for (int i = 0; i < kMenuCount; ++i) Panel(i)->SetVisible(i == menu);
    if (menu == activeMenu_) return;
    Light(-1);
    activeMenu_ = menu;
    for (int i = 0; i < kMenuCount; ++i) {
        Header(i)->SetHotImage(i == menu ? kMenuOpenImage : "");
        Header(i)->SetNormalImage(i == menu ? kMenuOpenImage : "");
    }
}

void MainMenus::Hover(POINT pt) {
    CControlUI* under = manager_.FindControl(pt);
    for (int k = 0; k < kMenuCount; ++k) {
        if (under != Header(k)) continue;
        ShowPanel(k);
        return;
    }
}

// ---- The keyboard ----

// The lit item wears the look the mouse gives it.
void MainMenus::Light(int index) {
    if (activeMenu_ >= 0) {
        const std::vector<CControlUI*> items = Items(activeMenu_);
        for (size_t i = 0; i < items.size(); ++i)
            static_cast<CButtonUI*>(items[i])->SetNormalImage(static_cast<int>(i) == index ? kMenuHotImage : "");
    }
    lit_ = index;
}

bool MainMenus::OpenByKey(int menu) {
    manager_.ShowKeyboardCues(true);
    if (!IsHeaderFocused()) {
        CControlUI* before = manager_.GetFocus();
        manager_.SetFocus(Header(menu));
        // A field whose check failed keeps the focus: no menu opens.
        if (manager_.GetFocus() != Header(menu)) return false;
        focusBefore_ = before;
    } else {
        manager_.SetFocus(Header(menu));
    }
    SetMenuMode(true);
    ShowPanel(menu);
    Light(Items(menu).empty() ? -1 : 0);
    return true;
}

void MainMenus::MoveLight(int step) {
    const int count = static_cast<int>(Items(activeMenu_).size());
    if (count == 0) return;
    Light(lit_ < 0 ? (step > 0 ? 0 : count - 1) : (lit_ + step + count) % count);
}

void MainMenus::CloseByKey() {
    CControlUI* before = focusBefore_;
    focusBefore_ = nullptr;
    // The focus leaves the header first; Close then closes the panels.
    manager_.SetFocus(before);
    if (IsHeaderFocused()) manager_.SetFocus(nullptr);
    Close();
}

// F10 or Alt alone: the menu bar opens at File, or closes.
void MainMenus::ToggleByKey(bool open) {
    if (open) {
        CloseByKey();
    } else {
        OpenByKey(0);
    }
}

// Closed first, as a click on the item closes the menu before it runs.
void MainMenus::RunByKey(CControlUI* item) {
    CloseByKey();
    run_(item);
}

int MainMenus::HeaderOf(char letter) const {
    for (int k = 0; k < kMenuCount; ++k)
        if (HasLetter(*Header(k), letter)) return k;
    return -1;
}

bool MainMenus::OnLetter(char letter) {
    letter = UpperAscii(letter);
    if (activeMenu_ >= 0 && menuMode_) {
        for (CControlUI* item : Items(activeMenu_)) {
            if (HasLetter(*item, letter)) {
                RunByKey(item);
                return true;
            }
        }
    }
    const int header = HeaderOf(letter);
    if (header < 0) return false;
    OpenByKey(header);
    return true;
}

bool MainMenus::OnMenuKey(WPARAM key) {
    switch (key) {
    case VK_LEFT:
    case VK_RIGHT:
        OpenByKey((activeMenu_ + (key == VK_RIGHT ? 1 : kMenuCount - 1)) % kMenuCount);
        return true;
    case VK_UP:
    case VK_DOWN:
        if (activeMenu_ < 0) return true;
        MoveLight(key == VK_DOWN ? 1 : -1);
        return true;
    case VK_HOME:
    case VK_END:
        if (activeMenu_ >= 0) Light(key == VK_HOME ? 0 : static_cast<int>(Items(activeMenu_).size()) - 1);
        return true;
    case VK_RETURN:
    case VK_SPACE:
        if (CControlUI* item = LitItem()) RunByKey(item);
        return true;
    case VK_ESCAPE:
    case VK_TAB:
        CloseByKey();
        return key == VK_ESCAPE;  // Tab goes on from the field that has the focus back
    default:
        return false;
    }
}

LRESULT MainMenus::MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    const bool open = menuMode_ && activeMenu_ >= 0 && IsHeaderFocused();
    switch (message) {
    case WM_SYSKEYDOWN:
        if (wParam == VK_MENU) {
            altAlone_ = true;
            return 0;
        }
        altAlone_ = false;
        if (wParam != VK_F10) return 0;
        handled = true;
        ToggleByKey(open);
        return 0;
    case WM_SYSKEYUP:
        // Alt pressed and let go alone; the system's own menu mode never begins.
        if (wParam != VK_MENU && wParam != VK_F10) return 0;
        handled = true;
        if (wParam == VK_MENU && std::exchange(altAlone_, false)) {
            ToggleByKey(open);
        }
        return 0;
    case WM_SYSCHAR:
        altAlone_ = false;
        handled = OnLetter(static_cast<char>(wParam));
        return 0;
    case WM_KEYDOWN:
        altAlone_ = false;
        if (open) {
            handled = OnMenuKey(wParam);
            return 0;
        }
        if (wParam >= VK_F5 && wParam <= VK_F8 && (lParam & 0x40000000) == 0) {  // not a repeat
            CControlUI* items[] = {c_.connectItem, c_.readItem, c_.writeItem, c_.disconnectItem};
            run_(items[wParam - VK_F5]);
            handled = true;
        }
        return 0;
    case WM_CHAR:
        // In an open menu a letter alone chooses; elsewhere it is typed.
        if (open && wParam < 0x80) handled = OnLetter(static_cast<char>(wParam));
        if (open) handled = true;
        return 0;
    default:
        return 0;
    }
}
