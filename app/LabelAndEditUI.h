#pragma once
#include <string>

#include "Loom/Control/EditUI.h"
#include "Loom/Control/LabelUI.h"
#include "Loom/Layout/HorizontalLayoutUI.h"

// One row of a window: a right-aligned, vertically centred caption of a
// given width and an edit box taking the rest of the row. Built in code,
// never named in markup. The row owns both inner controls; the window keeps
// the pointers that GetLabel and GetEdit answer. Window thread only.
class CLabelAndEditUI : public Loom::CHorizontalLayoutUI {
public:
    CLabelAndEditUI(const std::string& labelText, int labelWidth);

    // Enables or disables the row together with its caption and its edit,
    // so that a disabled row shows both greyed.
    void SetEnabled(bool enabled = true) override;

    Loom::CLabelUI* GetLabel() const { return label_; }
    Loom::CEditUI* GetEdit() const { return edit_; }

private:
    Loom::CLabelUI* label_;
    Loom::CEditUI* edit_;
};
