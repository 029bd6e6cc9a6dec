#pragma once
#include "Loom/Core/ContainerUI.h"

namespace Loom {

// What the vertical and the horizontal layout share: an optional separator
// along one edge (the bottom or top edge of a vertical layout, the right or
// left edge of a horizontal one) that the user drags to resize the layout
// along its axis. The subclasses stack the children and name the attribute.
class CStackLayoutUI : public CContainerUI {
public:
    UINT GetControlFlags() const override;
    void DoEvent(UIEvent& event) override;
    void PaintOverlay(HDC dc, const RECT& dirty) override;

    // With immediate mode the layout follows the pointer while dragging;
    // otherwise only a dark bar is drawn until the button is released.
    bool IsSepImmMode() const { return sepImm_; }
    void SetSepImmMode(bool immediate);
    bool IsDragging() const { return (buttonState_ & kDragging) != 0; }
    // The separator strip now (of the dragged rectangle while dragging).
    RECT GetThumbRect() const;

protected:
    // vertical: the separator resizes the height (a vertical layout).
    explicit CStackLayoutUI(bool vertical) : vertical_(vertical) {}
    // 0: no separator; > 0: the last sepSize pixels along the axis; < 0: the first ones.
    int SepSize() const { return sepSize_; }
    void SetSepSize(int size) { sepSize_ = size; }
    // "sepimm" here; the subclass handles its own size attribute first.
    void SetAttribute(const char* name, const char* value) override;

private:
    static constexpr UINT kDragging = 0x40;
    bool HandleSeparatorEvent(UIEvent& event);
    void DragTo(POINT pt);
    RECT SepOf(const RECT& rc) const;

    const bool vertical_;
    int sepSize_ = 0;
    bool sepImm_ = false;
    UINT buttonState_ = 0;
    POINT lastMouse_{0, 0};
    RECT newPos_{0, 0, 0, 0};
};

}  // namespace Loom
