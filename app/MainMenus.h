#pragma once
#include <windows.h>

#include <functional>
#include <vector>

#include "Loom/Core/UIManager.h"
#include "app/MainWindowTree.h"

// The main window's three menus (File, Language, Help): panels that open
// under their headers. A click on a header focuses it and puts the window in
// menu mode, in which moving over another header opens its panel; focus
// anywhere else closes them.
//
// From the keyboard (a filter that sees the window's keys before its
// controls): F10 or Alt alone opens the File menu, Alt and a header's letter
// its menu; Left and Right move between the menus, Up and Down light an
// item, Return runs it, an item's letter runs that item, Escape closes and
// gives the focus back. F5 to F8 run Connect, Read, Write and Disconnect
// from anywhere in the window.
class MainMenus : public Loom::IMessageFilterUI {
public:
    // `run` runs a menu item's command.
    MainMenus(MainWindowControls& controls, Loom::CUIManager& manager, std::function<void(Loom::CControlUI*)> run);

    bool IsMenuMode() const { return menuMode_; }
    int ActiveMenu() const { return activeMenu_; }
    // The item lit by the keyboard in the open menu, or nullptr.
    Loom::CControlUI* LitItem() const;
    // A header has the focus.
    bool IsHeaderFocused() const;
    // Closes every panel, unless a header has the focus (menu mode begins).
    void Close();
    // In menu mode: opens the panel of the header under the point.
    void Hover(POINT pt);

    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;

private:
    Loom::CButtonUI* Header(int menu) const;
    Loom::CControlUI* Panel(int menu) const;
    // The items of a menu that can run now, top to bottom.
    std::vector<Loom::CControlUI*> Items(int menu) const;
    void SetMenuMode(bool on);
    void ShowPanel(int menu);
    // Opens a menu from the keyboard, its first item lit; false when the
    // focus could not leave the control that had it.
    bool OpenByKey(int menu);
    void Light(int index);
    void MoveLight(int step);
    // Closes the menus and gives the focus back to the control that had it.
    void CloseByKey();
    void ToggleByKey(bool open);
    void RunByKey(Loom::CControlUI* item);
    bool OnMenuKey(WPARAM key);
    bool OnLetter(char letter);
    int HeaderOf(char letter) const;

    MainWindowControls& c_;
    Loom::CUIManager& manager_;
    std::function<void(Loom::CControlUI*)> run_;
    bool menuMode_ = false;
    int activeMenu_ = -1;
    int lit_ = -1;
    bool altAlone_ = false;
    Loom::CControlUI* focusBefore_ = nullptr;
};
