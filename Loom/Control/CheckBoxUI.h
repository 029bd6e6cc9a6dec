#pragma once
#include "Loom/Control/OptionUI.h"

namespace Loom {

// An option under the class name "CheckBoxUI"; without a group each click
// toggles it.
class CCheckBoxUI : public COptionUI {
public:
    const char* GetClass() const override;
};

}  // namespace Loom
