#pragma once
#include "Loom/Core/ContainerUI.h"

namespace Loom {

// Stacks its children top to bottom and shares the free height among those
// without a fixed height. An optional separator along its top or bottom edge
// lets the user drag its height.
class CVerticalLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void DoEvent(UIEvent& event) override;
    void PaintOverlay(HDC dc, const RECT& dirty) override;
    void SetAttribute(const char* name, const char* value) override;

    // 0: no separator; > 0: the bottom sepheight pixels; < 0: the top ones.
    int GetSepHeight() const { return sepHeight_; }
    void SetSepHeight(int height) { sepHeight_ = height; }
    // With immediate mode the layout follows the pointer while dragging;
    // otherwise only a dark bar is drawn until the button is released.
    bool IsSepImmMode() const { return sepImm_; }
    void SetSepImmMode(bool immediate);
    bool IsDragging() const { return (buttonState_ & kDragging) != 0; }
    // The separator strip now (of the dragged rectangle while dragging).
    RECT GetThumbRect() const;

private:
    static constexpr UINT kDragging = 0x40;
    bool HandleSeparatorEvent(UIEvent& event);
    void DragTo(POINT pt);

    int sepHeight_ = 0;
    bool sepImm_ = false;
    UINT buttonState_ = 0;
    POINT lastMouse_{0, 0};
    RECT newPos_{0, 0, 0, 0};
};

}  // namespace Loom
