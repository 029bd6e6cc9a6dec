#pragma once
#include "Loom/Control/ListElementUI.h"

namespace Loom {

// A list item that shows one line of text with its owner's item look; the
// items of combos. A press selects it and sends "itemclick".
class CListLabelElementUI : public CListElementUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;

    void DoEvent(UIEvent& event) override;
    // Height: fixed, or the item font's height plus the item text padding
    // plus 8. Width: fixed, or the single-line text width plus the padding.
    SIZE EstimateSize(SIZE available) override;
    void DoPaint(HDC dc, const RECT& dirty) override;
    // The text in the item text colour for the item's state, within rc less
    // the item text padding, single line. Nothing without an owner.
    void DrawItemText(HDC dc, const RECT& rc) override;
};

}  // namespace Loom
