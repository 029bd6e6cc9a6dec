#pragma once
#include "Loom/Core/ControlUI.h"

namespace Loom {

class CContainerUI;

// A scroll bar as containers use it: range, position, line size, fixed size
// and its owner container. Painting and mouse handling of the bar's parts
// belong to the full control.
class CScrollBarUI : public CControlUI {
public:
    CScrollBarUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // Only stores the flag: the owner container shows and hides its bars
    // while it lays itself out.
    void SetVisible(bool visible = true) override;
    // Focuses the owner, if there is one.
    void SetFocus() override;
    void SetAttribute(const char* name, const char* value) override;

    CContainerUI* GetOwner() const { return owner_; }
    void SetOwner(CContainerUI* owner) { owner_ = owner; }
    bool IsHorizontal() const { return horizontal_; }
    // A horizontal bar keeps its thickness in the fixed height, a vertical
    // one in the fixed width.
    void SetHorizontal(bool horizontal = true);
    int GetScrollRange() const { return range_; }
    // range = max(0, n); the position is limited to it.
    void SetScrollRange(int range);
    int GetScrollPos() const { return position_; }
    // position = n limited to 0..range.
    void SetScrollPos(int pos);
    int GetLineSize() const { return lineSize_; }
    void SetLineSize(int size) { lineSize_ = size; }

private:
    CContainerUI* owner_ = nullptr;
    bool horizontal_ = false;
    int range_ = 100;
    int position_ = 0;
    int lineSize_ = 8;
};

}  // namespace Loom
