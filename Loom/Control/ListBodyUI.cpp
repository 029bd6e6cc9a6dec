#include "Loom/Control/ListBodyUI.h"

#include "Loom/Control/ListUI.h"
#include "Loom/Core/UIManager.h"

namespace Loom {

CListBodyUI::CListBodyUI(CListUI* owner) : owner_(owner) { EnableScrollBar(true, false); }

const char* CListBodyUI::GetClass() const { return "ListBodyUI"; }

void CListBodyUI::DoEvent(UIEvent& event) {
    if (owner_ != nullptr && (event.kind == EventKeyDown || event.kind == EventScrollWheel)) {
        owner_->DoEvent(event);
        return;
    }
    CVerticalLayoutUI::DoEvent(event);
}

}  // namespace Loom
