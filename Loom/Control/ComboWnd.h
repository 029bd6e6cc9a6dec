#pragma once
#include <memory>

#include "Loom/Core/UIManager.h"
#include "Loom/Core/WindowWnd.h"

namespace Loom {

class CComboUI;
class CVerticalLayoutUI;

// The pop-up list of an open combo: a tool window below (or above) the
// combo with its own paint manager, showing the combo's items in a vertical
// layout. It lives from opening to closing and deletes itself when its
// window is destroyed, telling the combo. Window thread only.
class CComboWnd : public CWindowWnd {
public:
    // Creates and shows the pop-up for owner; false (and nothing open) if
    // the window could not be made. On success the object owns itself.
    bool Open(CComboUI* owner);
    // The combo is being destroyed: its items go back to it at once and the
    // window is destroyed now, without touching the combo again.
    void OwnerGone();
    // The item is leaving the combo: the pop-up forgets it.
    void ForgetItem(CControlUI* item);
    // Scrolls the list so that the item at index is wholly visible.
    void EnsureVisible(int index);
    CUIManager& Manager() { return manager_; }

protected:
    const char* GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnFinalMessage(HWND wnd) override;

private:
    RECT PlaceBelowOrAbove() const;
    void BuildList();
    // Items back to the combo's manager; with refocus the combo is also
    // re-placed and focused.
    void GiveBackItems(bool refocus);
    bool OnKeyDown(WPARAM key);
    void ForwardToOwner(UIEvent& event);
    bool IsScrollBarAt(LPARAM lParam) const;

    CComboUI* owner_ = nullptr;
    CUIManager manager_;
    CVerticalLayoutUI* layout_ = nullptr;  // owned by manager_ as its root
    int oldSel_ = -1;
    bool open_ = false;
    bool pressOnScrollBar_ = false;
    // Expires when the object is deleted (its window destroyed).
    std::shared_ptr<int> life_ = std::make_shared<int>(0);
};

}  // namespace Loom
