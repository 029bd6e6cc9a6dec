#include "Loom/Control/ListHeaderUI.h"

#include <algorithm>
#include <cstring>

namespace Loom {

const char* CListHeaderUI::GetClass() const { return "ListHeaderUI"; }

void* CListHeaderUI::GetInterface(const char* name) {
    if (std::strcmp(name, "ListHeader") == 0) return this;
    return CHorizontalLayoutUI::GetInterface(name);
}

SIZE CListHeaderUI::EstimateSize(SIZE available) {
    SIZE sz{GetScaledFixedWidth(), GetScaledFixedHeight()};
    if (sz.cy != 0) return sz;
    for (CControlUI* item : items_) {
        if (!item->IsVisible() || item->IsFloat()) continue;
        sz.cy = std::max(sz.cy, item->EstimateSize(available).cy);
    }
    return sz;
}

}  // namespace Loom
