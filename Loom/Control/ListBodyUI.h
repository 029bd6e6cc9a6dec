#pragma once
#include "Loom/Layout/VerticalLayoutUI.h"

namespace Loom {

class CListUI;

// The scrolled part of a list that holds its items, top to bottom, with a
// vertical scroll bar. Keys and the wheel go to the list, which decides
// between scrolling and moving the selection.
class CListBodyUI : public CVerticalLayoutUI {
public:
    explicit CListBodyUI(CListUI* owner);

    const char* GetClass() const override;
    void DoEvent(UIEvent& event) override;

private:
    CListUI* owner_;
};

}  // namespace Loom
