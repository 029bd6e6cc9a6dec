#pragma once
#include "Loom/Layout/HorizontalLayoutUI.h"

namespace Loom {

// The header row of a list: its header items stand side by side, and their
// rectangles are the columns the list's items draw their texts in.
class CListHeaderUI : public CHorizontalLayoutUI {
public:
    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    // The fixed height, or the tallest visible header item; 0 without items,
    // so that an empty header takes no room in the list.
    SIZE EstimateSize(SIZE available) override;
};

}  // namespace Loom
