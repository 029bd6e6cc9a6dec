#pragma once
#include "Loom/Layout/StackLayoutUI.h"

namespace Loom {

// Lines its children up left to right and shares the free width among those
// without a fixed width. An optional separator along its right or left edge
// lets the user drag its width.
class CHorizontalLayoutUI : public CStackLayoutUI {
public:
    CHorizontalLayoutUI() : CStackLayoutUI(false) {}
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    void SetPos(RECT rc) override;
    void SetAttribute(const char* name, const char* value) override;

    // 0: no separator; > 0: the rightmost sepwidth pixels; < 0: the leftmost ones.
    int GetSepWidth() const { return SepSize(); }
    void SetSepWidth(int width) { SetSepSize(width); }
};

}  // namespace Loom
