#pragma once
#include <string>

#include "Loom/Core/ControlUI.h"

namespace Loom {

// One column head of a list header: a caption the user clicks ("headerclick")
// and, when dragable, a separator strip along one edge that the user drags to
// change the column's width. The list's items take their columns from the
// header items' rectangles.
class CListHeaderItemUI : public CControlUI {
public:
    CListHeaderItemUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    UINT GetControlFlags() const override;
    void SetEnabled(bool enabled = true) override;
    void DoEvent(UIEvent& event) override;
    void SetAttribute(const char* name, const char* value) override;
    // The fixed size; without a fixed height, the font's height + 14.
    SIZE EstimateSize(SIZE available) override;
    void PaintStatusImage(HDC dc) override;
    void PaintText(HDC dc) override;

    bool IsDragable() const { return dragable_; }
    void SetDragable(bool dragable);
    // > 0: the rightmost pixels are the separator; < 0: the leftmost; 0: none.
    int GetSepWidth() const { return sepWidth_; }
    void SetSepWidth(int width);
    // The separator strip, empty when there is none.
    RECT GetThumbRect() const;
    UINT GetState() const { return state_; }

private:
    bool HandleMouse(UIEvent& event);
    void DragTo(POINT pt);
    bool DrawStateImage(HDC dc, std::string& image);
    void SetAlign(const char* value);

    bool dragable_ = true;
    int sepWidth_ = 4;
    UINT textStyle_ = DT_VCENTER | DT_CENTER | DT_SINGLELINE;
    int font_ = -1;
    DWORD textColor_ = 0;
    RECT textPadding_{2, 0, 2, 0};
    bool showHtml_ = false;
    std::string normalImage_;
    std::string hotImage_;
    std::string pushedImage_;
    std::string focusedImage_;
    std::string sepImage_;
    UINT state_ = 0;
    POINT lastMouse_{0, 0};
};

}  // namespace Loom
