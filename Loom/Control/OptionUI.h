#pragma once
#include <string>

#include "Loom/Control/ButtonUI.h"

namespace Loom {

// A button with a selected state (the StateSelected bit of the state word).
// Without a group a click toggles it; in a group (named by "group", kept in
// the manager's option groups) a click selects it and the group's other
// options are deselected. A change sends "selectchanged", except that the
// options a group deselects send nothing. Class "OptionUI", interface
// "Option". Window thread only.
class COptionUI : public CButtonUI {
public:
    COptionUI() = default;
    // Leaves its option group.
    ~COptionUI() override;

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    AccessibleTraits GetAccessibleTraits() const override;
    // Attached with initialisation, it joins its manager's option group.
    void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
    // The button's Activate ("click"), then Selected(true) in a group or a
    // toggle without one.
    bool Activate() override;
    // Disabling keeps only the selected bit of the state word.
    void SetEnabled(bool enabled = true) override;
    void SetAttribute(const char* name, const char* value) override;
    void PaintStatusImage(HDC dc) override;

    const std::string& GetGroup() const { return group_; }
    // Moves the option to another group (empty: none) and applies its
    // selection there: if it is selected, the others of the new group are
    // deselected.
    void SetGroup(const std::string& group);
    bool IsSelected() const { return (state_ & StateSelected) != 0; }
    // Nothing if unchanged. See the class comment for the notifications.
    void Selected(bool selected);

    const std::string& GetSelectedImage() const { return selectedImage_; }
    void SetSelectedImage(const std::string& image);
    const std::string& GetSelectedHotImage() const { return selectedHotImage_; }
    void SetSelectedHotImage(const std::string& image);
    // The option's own fore image, drawn over every state (the button's
    // fore image is not used by the "foreimage" attribute of an option).
    const std::string& GetOptionForeImage() const { return optionForeImage_; }
    void SetOptionForeImage(const std::string& image);
    DWORD GetSelectedBkColor() const { return selectedBkColor_; }
    void SetSelectedBkColor(DWORD color);
    DWORD GetSelectedTextColor() const { return selectedTextColor_; }
    void SetSelectedTextColor(DWORD color);

protected:
    DWORD GetBaseTextColor() const override;
    // Selected, it takes the highlight (its images are not drawn).
    ContrastLook GetContrastLook(const TContrastColors& colors) override;

private:
    void JoinGroup();
    void LeaveGroup();
    // Deselects every other option of the group, silently.
    void DeselectOthers();

    std::string group_;
    // The manager whose option group holds this option, if any.
    CUIManager* groupManager_ = nullptr;
    std::string selectedImage_;
    std::string selectedHotImage_;
    std::string optionForeImage_;
    DWORD selectedBkColor_ = 0;
    DWORD selectedTextColor_ = 0;
};

}  // namespace Loom
