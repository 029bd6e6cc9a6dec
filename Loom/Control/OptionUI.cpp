#include "Loom/Core/AccessibleUI.h"
#include "Loom/Control/OptionUI.h"

#include <oleacc.h>

#include <cstring>
#include <vector>

#include "Loom/Render/Render.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool Is(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

}  // namespace

COptionUI::~COptionUI() { LeaveGroup(); }

const char* COptionUI::GetClass() const { return "OptionUI"; }

void* COptionUI::GetInterface(const char* name) {
    if (Is(name, "Option")) return this;
    return CButtonUI::GetInterface(name);
}

void COptionUI::SetManager(CUIManager* manager, CControlUI* parent, bool init) {
    if (groupManager_ != nullptr && groupManager_ != manager) LeaveGroup();
    CButtonUI::SetManager(manager, parent, init);
    if (init) JoinGroup();
}

void COptionUI::JoinGroup() {
    if (group_.empty() || manager_ == nullptr) return;
    manager_->AddOptionGroup(group_, this);
    groupManager_ = manager_;
}

void COptionUI::LeaveGroup() {
    if (groupManager_ != nullptr && !group_.empty()) groupManager_->RemoveOptionGroup(group_, this);
    groupManager_ = nullptr;
}

void COptionUI::SetGroup(const std::string& group) {
    if (group_ == group) return;
    LeaveGroup();
    group_ = group;
    JoinGroup();
    if (IsSelected()) DeselectOthers();
    Invalidate();
}

void COptionUI::DeselectOthers() {
    if (manager_ == nullptr || group_.empty()) return;
    const std::vector<CControlUI*>* members = manager_->GetOptionGroup(group_);
    if (members == nullptr) return;
    const std::vector<CControlUI*> others = *members;
    for (CControlUI* control : others) {
        auto* option = static_cast<COptionUI*>(control->GetInterface("Option"));
        if (option != nullptr && option != this) option->Selected(false);
    }
}

void COptionUI::Selected(bool selected) {
    if (IsSelected() == selected) return;
    if (selected) {
        state_ |= StateSelected;
    } else {
        state_ &= ~StateSelected;
    }
    Invalidate();
    AnnounceAccessible(*this, EVENT_OBJECT_STATECHANGE);
    if (manager_ == nullptr) return;
    if (group_.empty()) {
        manager_->SendNotify(this, "selectchanged");
    } else if (selected) {
        DeselectOthers();
        manager_->SendNotify(this, "selectchanged");
    }
}

bool COptionUI::Activate() {
    const std::weak_ptr<int> life = LifeToken();
    if (!CButtonUI::Activate()) return false;
    if (life.expired()) return true;  // the "click" handler destroyed it
    if (!group_.empty()) {
        Selected(true);
    } else {
        Selected(!IsSelected());
    }
    return true;
}

void COptionUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    if (!IsEnabled()) state_ &= StateSelected;
}

void COptionUI::SetSelectedImage(const std::string& image) {
    selectedImage_ = image;
    Invalidate();
}

void COptionUI::SetSelectedHotImage(const std::string& image) {
    selectedHotImage_ = image;
    Invalidate();
}

void COptionUI::SetOptionForeImage(const std::string& image) {
    optionForeImage_ = image;
    Invalidate();
}

void COptionUI::SetSelectedBkColor(DWORD color) {
    selectedBkColor_ = color;
    Invalidate();
}

void COptionUI::SetSelectedTextColor(DWORD color) {
    selectedTextColor_ = color;
    Invalidate();
}

void COptionUI::SetAttribute(const char* name, const char* value) {
    if (name == nullptr || value == nullptr) return;
    if (Is(name, "group")) {
        SetGroup(value);
    } else if (Is(name, "selected")) {
        Selected(ValueReaders::ReadBool(value));
    } else if (Is(name, "selectedimage")) {
        SetSelectedImage(value);
    } else if (Is(name, "selectedhotimage")) {
        SetSelectedHotImage(value);
    } else if (Is(name, "foreimage")) {
        SetOptionForeImage(value);
    } else if (Is(name, "selectedbkcolor")) {
        SetSelectedBkColor(ValueReaders::ReadColor(value));
    } else if (Is(name, "selectedtextcolor")) {
        SetSelectedTextColor(ValueReaders::ReadColor(value));
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

CButtonUI::ContrastLook COptionUI::GetContrastLook(const TContrastColors& colors) {
    ContrastLook look = CButtonUI::GetContrastLook(colors);
    if (IsSelected() && IsEnabled()) {
        look.face = colors.highlight;
        look.text = colors.highlightText;
        if (look.frame == 0) look.frame = colors.windowText;
    }
    return look;
}

void COptionUI::PaintStatusImage(HDC dc) {
    state_ &= ~StatePushed;
    if (GetContrastColors() != nullptr) {
        CButtonUI::PaintStatusImage(dc);
        return;
    }
    if ((state_ & StateHot) != 0 && IsSelected() && !selectedHotImage_.empty()) {
        if (DrawStateImage(dc, selectedHotImage_)) {
            DrawStateImage(dc, optionForeImage_);
            return;
        }
    } else if (IsSelected()) {
        if (!selectedImage_.empty()) {
            if (DrawStateImage(dc, selectedImage_)) {
                DrawStateImage(dc, optionForeImage_);
                return;
            }
        } else if (selectedBkColor_ != 0) {
            CRenderer::DrawColor(dc, paintRect_, GetAdjustColor(selectedBkColor_));
            return;
        }
    }
    CButtonUI::PaintStatusImage(dc);
    DrawStateImage(dc, optionForeImage_);
}

DWORD COptionUI::GetBaseTextColor() const {
    return IsSelected() && selectedTextColor_ != 0 ? selectedTextColor_ : textColor_;
}

// Without a group it toggles as a check box does; in one it is a radio button.
CControlUI::AccessibleTraits COptionUI::GetAccessibleTraits() const {
    AccessibleTraits traits;
    traits.role = group_.empty() ? ROLE_SYSTEM_CHECKBUTTON : ROLE_SYSTEM_RADIOBUTTON;
    traits.defaultAction = "Check";
    if (IsSelected()) traits.state |= STATE_SYSTEM_CHECKED;
    return traits;
}

}  // namespace Loom
