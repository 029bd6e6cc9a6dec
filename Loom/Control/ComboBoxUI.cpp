#include "Loom/Control/ComboBoxUI.h"

#include <cstdio>
#include <cstring>

#include "Loom/Render/ImageStringParser.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/WinRect.h"

namespace Loom {

const char* CComboBoxUI::GetClass() const { return "ComboBoxUI"; }

void CComboBoxUI::SetAttribute(const char* name, const char* value) {
    if (std::strcmp(name, "arrowimage") == 0) {
        arrowImage_ = value;
        Invalidate();
    } else {
        CComboUI::SetAttribute(name, value);
    }
}

void CComboBoxUI::PaintStatusImage(HDC dc) {
    CComboUI::PaintStatusImage(dc);
    PaintArrow(dc);
}

void CComboBoxUI::PaintArrow(HDC dc) {
    // While high contrast is on the combo draws an arrow of its own.
    if (arrowImage_.empty() || manager_ == nullptr || GetContrastColors() != nullptr) return;
    const TRect item = RectFrom(pos_);
    const std::vector<TImageDrawStep> steps = CImageStringParser::Steps(arrowImage_.c_str(), nullptr, item);
    if (steps.empty()) return;
    const TImageInfo* image = manager_->FindOrLoadImage(steps.back().name, steps.back().type, steps.back().mask);
    if (image == nullptr || image->nX < 5) return;
    const UINT state = CurrentState();
    int cell = 0;  // normal
    if ((state & StateDisabled) != 0) {
        cell = 4;
    } else if ((state & StatePushed) != 0) {
        cell = 2;
    } else if ((state & StateHot) != 0) {
        cell = 1;
    } else if ((state & StateFocused) != 0) {
        cell = 3;
    }
    const int cellWidth = image->nX / 5;
    const int border = GetScaledBorderSize();
    const int width = pos_.right - pos_.left;
    const int height = pos_.bottom - pos_.top;
    char modify[128];
    std::snprintf(modify, sizeof(modify), "dest='%d,%d,%d,%d' source='%d,0,%d,%d'", width - border - cellWidth, border,
                  width - border, height - border, cell * cellWidth, (cell + 1) * cellWidth, image->nY);
    if (!DrawImage(dc, arrowImage_, modify)) arrowImage_.clear();
}

}  // namespace Loom
