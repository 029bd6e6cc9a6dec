#include "app/MainMenus.h"

using namespace Loom;

bool MainMenus::IsHeaderFocused() const {
    const CControlUI* focus = manager_.GetFocus();
    return focus != nullptr &&
           (focus == c_.fileMenuHeader || focus == c_.languageMenuHeader || focus == c_.helpMenuHeader);
}

void MainMenus::Close() {
    if (IsHeaderFocused()) {
        menuMode_ = true;
        return;
    }
    menuMode_ = false;
    for (CControlUI* panel : {c_.fileMenu, c_.languageMenu, c_.helpMenu}) panel->SetVisible(false);
    for (CButtonUI* header : {c_.fileMenuHeader, c_.languageMenuHeader, c_.helpMenuHeader}) {
        header->SetHotImage(kMenuHotImage);
        header->SetNormalImage("");
    }
    activeMenu_ = -1;
}

void MainMenus::Hover(POINT pt) {
    CButtonUI* headers[] = {c_.fileMenuHeader, c_.languageMenuHeader, c_.helpMenuHeader};
    CControlUI* panels[] = {c_.fileMenu, c_.languageMenu, c_.helpMenu};
    CControlUI* under = manager_.FindControl(pt);
    for (int k = 0; k < 3; ++k) {
        if (under != headers[k]) continue;
        for (int i = 0; i < 3; ++i) panels[i]->SetVisible(i == k);
        if (k != activeMenu_) {
            activeMenu_ = k;
            for (int i = 0; i < 3; ++i) {
                headers[i]->SetHotImage(i == k ? kMenuOpenImage : "");
                headers[i]->SetNormalImage(i == k ? kMenuOpenImage : "");
            }
        }
        return;
    }
}
