#pragma once
#include <windows.h>

#include "Loom/Core/UIManager.h"
#include "app/MainWindowTree.h"

// The main window's three menus (File, Language, Help): panels that open
// under their headers. A click on a header focuses it and puts the window in
// menu mode, in which moving over another header opens its panel; focus
// anywhere else closes them.
class MainMenus {
public:
    MainMenus(MainWindowControls& controls, Loom::CUIManager& manager) : c_(controls), manager_(manager) {}

    bool IsMenuMode() const { return menuMode_; }
    int ActiveMenu() const { return activeMenu_; }
    // A header has the focus.
    bool IsHeaderFocused() const;
    // Closes every panel, unless a header has the focus (menu mode begins).
    void Close();
    // In menu mode: opens the panel of the header under the point.
    void Hover(POINT pt);

private:
    MainWindowControls& c_;
    Loom::CUIManager& manager_;
    bool menuMode_ = false;
    int activeMenu_ = -1;
};
