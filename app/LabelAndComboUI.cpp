#include "app/LabelAndComboUI.h"

CLabelAndComboUI::CLabelAndComboUI(const std::string& labelText, int labelWidth)
    : label_(new Loom::CLabelUI), combo_(new CShownTextComboUI) {
    SetFixedHeight(22);
    SetInset(RECT{0, 1, 0, 1});

    label_->SetText(labelText);
    label_->SetFixedWidth(labelWidth);
    // The caption sits at the top right of its cell, one line, two pixels
    // down so that it lines up with the combo's text.
    const UINT cleared = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    label_->SetTextStyle((label_->GetTextStyle() & ~cleared) | DT_RIGHT);
    label_->SetTextPadding(RECT{0, 2, 2, 0});

    combo_->SetAttribute("normalimage", "res='180' restype='png' corner='2,2,21,2'");
    combo_->SetAttribute("hotimage", "res='181' restype='png' corner='2,2,21,2'");
    combo_->SetAttribute("disabledimage", "res='183' restype='png' corner='2,2,21,2'");

    Add(label_);
    Add(combo_);
    combo_->SetAccessibleLabel(label_);  // a screen reader names the box by its caption
}

void CLabelAndComboUI::SetEnabled(bool enabled) {
    Loom::CHorizontalLayoutUI::SetEnabled(enabled);
    // The inner controls are touched only while the row still holds them.
    if (GetItemIndex(label_) >= 0) label_->SetEnabled(enabled);
    if (GetItemIndex(combo_) >= 0) combo_->SetEnabled(enabled);
}
