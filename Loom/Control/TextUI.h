#pragma once
#include <string>

#include "Loom/Control/LabelUI.h"

namespace Loom {

// A label for longer text: word-wrapped by default, measured to fit, and in
// html mode with up to kMaxLinks links. A click on link i sends "link"
// (wParam i); the pointer over a link shows the hand cursor and the link
// takes the hover colour. Class "TextUI", interface "Text". Window thread
// only.
class CTextUI : public CLabelUI {
public:
    static constexpr int kMaxLinks = 8;

    CTextUI();

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // ControlFlagSetCursor while enabled with links.
    UINT GetControlFlags() const override;
    void DoEvent(UIEvent& event) override;
    // The text measured in max(fixed width, available width) less the text
    // padding; the measured size plus the padding, or the fixed height.
    SIZE EstimateSize(SIZE available) override;
    void PaintText(HDC dc) override;

    // The links the last paint drew (html text only).
    int GetLinkCount() const { return linkCount_; }
    // Empty for an index out of range.
    RECT GetLinkRect(int index) const;
    std::string GetLinkText(int index) const;
    // The link under the pointer, or -1.
    int GetHoverLink() const { return hoverLink_; }

private:
    // The link containing pt, or -1.
    int LinkAt(POINT pt) const;

    RECT links_[kMaxLinks] = {};
    std::string linkTexts_[kMaxLinks];
    int linkCount_ = 0;
    int hoverLink_ = -1;
};

}  // namespace Loom
