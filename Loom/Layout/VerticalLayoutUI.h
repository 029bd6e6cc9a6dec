#pragma once
#include "Loom/Layout/StackLayoutUI.h"

namespace Loom {

// Stacks its children top to bottom and shares the free height among those
// without a fixed height. An optional separator along its top or bottom edge
// lets the user drag its height.
class CVerticalLayoutUI : public CStackLayoutUI {
public:
    CVerticalLayoutUI() : CStackLayoutUI(true) {}
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    void SetPos(RECT rc) override;
    void SetAttribute(const char* name, const char* value) override;

    // 0: no separator; > 0: the bottom sepheight pixels; < 0: the top ones.
    int GetSepHeight() const { return SepSize(); }
    void SetSepHeight(int height) { SetSepSize(height); }

private:
    int WidestChild(int clientWidth) const;
};

}  // namespace Loom
