#pragma once
#include <string>
#include <vector>

#include "Loom/Control/ListLabelElementUI.h"

namespace Loom {

// A list item with one text per column of its list's header: column 0 is
// the control's own text, the others are set by column. With the owner's
// html flag the texts may hold links; releasing the button over one sends
// "link" (wParam the link's number, counted over the whole item).
class CListTextElementUI : public CListLabelElementUI {
public:
    static constexpr int kMaxLinks = 8;

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // Sets its own cursor while it has links.
    UINT GetControlFlags() const override;

    // Empty for a column without text.
    std::string GetText(int column) const;
    // Columns past the list's 32 are refused.
    bool SetText(int column, const std::string& text);
    using CListLabelElementUI::GetText;
    using CListLabelElementUI::SetText;

    int GetLinkCount() const { return linkCount_; }
    // The link's rectangle as last painted; empty out of range.
    RECT GetLinkRect(int index) const;

    void DoEvent(UIEvent& event) override;
    // Each column's text in its header item's span of the item, less the
    // item text padding; without header columns, column 0 over the item.
    void DrawItemText(HDC dc, const RECT& rc) override;

private:
    int LinkAt(POINT pt) const;
    DWORD ItemTextColor(const TListInfoUI& info) const;
    void DrawCell(HDC dc, RECT cell, const std::string& text, DWORD color, const TListInfoUI& info, int& used);

    std::vector<std::string> texts_;  // columns 1 and up
    RECT links_[kMaxLinks]{};
    std::string linkTexts_[kMaxLinks];
    int linkCount_ = 0;
    int hoverLink_ = -1;
};

}  // namespace Loom
