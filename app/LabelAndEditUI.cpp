#include "app/LabelAndEditUI.h"

CLabelAndEditUI::CLabelAndEditUI(const std::string& labelText, int labelWidth)
    : label_(new Loom::CLabelUI), edit_(new Loom::CEditUI) {
    SetFixedHeight(23);

    label_->SetText(labelText);
    label_->SetFixedWidth(labelWidth);
    label_->SetTextStyle(DT_RIGHT | DT_VCENTER);
    label_->SetTextPadding(RECT{0, 0, 2, 0});

    edit_->SetNormalImage("res='164' restype='png' corner='2,4,2,4'");
    edit_->SetDisabledImage("res='170' restype='png' corner='2,4,2,4'");

    Add(label_);
    Add(edit_);
    edit_->SetAccessibleLabel(label_);  // a screen reader names the field by its caption
}

void CLabelAndEditUI::SetEnabled(bool enabled) {
    Loom::CHorizontalLayoutUI::SetEnabled(enabled);
    // The inner controls are touched only while the row still holds them.
    if (GetItemIndex(label_) >= 0) label_->SetEnabled(enabled);
    if (GetItemIndex(edit_) >= 0) edit_->SetEnabled(enabled);
}
