#pragma once
#include <string>

#include "app/ShownTextComboUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"

// One row of a window: a right-aligned caption of a given width and a
// drop-down list taking the rest of the row. Built in code, never named in
// markup. The row owns both inner controls; the window keeps the pointers
// that GetLabel and GetCombo answer and tells the combo's notifications
// apart by its identity. Window thread only.
class CLabelAndComboUI : public Loom::CHorizontalLayoutUI {
public:
    CLabelAndComboUI(const std::string& labelText, int labelWidth);

    // Enables or disables the row together with its caption and its combo,
    // so that a disabled row shows both greyed.
    void SetEnabled(bool enabled = true) override;

    Loom::CLabelUI* GetLabel() const { return label_; }
    CShownTextComboUI* GetCombo() const { return combo_; }

private:
    Loom::CLabelUI* label_;
    CShownTextComboUI* combo_;
};
