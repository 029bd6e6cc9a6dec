#pragma once
#include "Loom/Core/ContainerUI.h"

namespace Loom {

// Lines its children up left to right and shares the free width among those
// without a fixed width. An optional separator along its right or left edge
// lets the user drag its width.
class CHorizontalLayoutUI : public CContainerUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    void SetPos(RECT rc) override;
    void DoEvent(UIEvent& event) override;
    void PaintOverlay(HDC dc, const RECT& dirty) override;
    void SetAttribute(const char* name, const char* value) override;

    // 0: no separator; > 0: the rightmost sepwidth pixels; < 0: the leftmost ones.
    int GetSepWidth() const { return sepWidth_; }
    void SetSepWidth(int width) { sepWidth_ = width; }
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

    int sepWidth_ = 0;
    bool sepImm_ = false;
    UINT buttonState_ = 0;
    POINT lastMouse_{0, 0};
    RECT newPos_{0, 0, 0, 0};
};

}  // namespace Loom
