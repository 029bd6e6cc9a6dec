#pragma once
#include "Loom/Control/ComboUI.h"

namespace Loom {

// A combo with an arrow: "arrowimage" is a strip of five equal cells
// (normal, hot, pushed, focused, disabled); the cell for the current state is
// drawn at the right end of the combo, inside its border, one cell wide.
class CComboBoxUI : public CComboUI {
public:
    const char* GetClass() const override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(HDC dc) override;

private:
    void PaintArrow(HDC dc);

    std::string arrowImage_;
};

}  // namespace Loom
