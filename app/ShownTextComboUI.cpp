#include "app/ShownTextComboUI.h"

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"

void CShownTextComboUI::SetShownText(const std::string& text) {
    shown_ = text;
    hasShown_ = true;
    Invalidate();
}

void CShownTextComboUI::ClearShownText() {
    if (!hasShown_) return;
    hasShown_ = false;
    shown_.clear();
    Invalidate();
}

std::string CShownTextComboUI::GetText() const { return hasShown_ ? shown_ : CComboBoxUI::GetText(); }

bool CShownTextComboUI::SelectItem(int index, bool takeFocus) {
    const int before = GetCurSel();
    const bool result = CComboBoxUI::SelectItem(index, takeFocus);
    if (GetCurSel() != before) ClearShownText();
    return result;
}

void CShownTextComboUI::RemoveAll() {
    ClearShownText();
    CComboBoxUI::RemoveAll();
}

void CShownTextComboUI::PaintText(HDC dc) {
    if (!hasShown_) {
        CComboBoxUI::PaintText(dc);
        return;
    }
    const Loom::TListInfoUI* info = const_cast<CShownTextComboUI*>(this)->GetListInfo();
    const RECT padding = GetTextPadding();
    RECT rc{pos_.left + padding.left + info->textPadding.left, pos_.top + padding.top + info->textPadding.top,
            pos_.right - padding.right - info->textPadding.right,
            pos_.bottom - padding.bottom - info->textPadding.bottom};
    DWORD colour = IsEnabled() ? info->selectedTextColor : info->disabledTextColor;
    if (const Loom::TContrastColors* contrast = GetContrastColors()) colour = ContrastTextColor(*contrast);
    Loom::CRenderer::DrawText(dc, manager_, rc, shown_.c_str(), colour, info->font, info->textStyle | DT_SINGLELINE);
}
