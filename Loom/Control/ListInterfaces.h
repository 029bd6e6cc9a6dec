#pragma once
#include <windows.h>

#include <string>

namespace Loom {

class CControlUI;
class CContainerUI;
struct UIEvent;

// How the items of a list owner (a combo or a list) look; the items read it
// from their owner whenever they paint or measure.
struct TListInfoUI {
    int font = -1;         // font index, -1 the default font
    UINT textStyle = 0x4;  // DT_VCENTER; DT_SINGLELINE is added when drawn
    RECT textPadding{0, 0, 0, 0};
    DWORD textColor = 0xFF000000;
    DWORD bkColor = 0;
    std::string bkImage;
    bool alternateBk = false;  // odd rows keep no background colour or image
    DWORD selectedTextColor = 0xFF000000;
    DWORD selectedBkColor = 0xFFC1E3FF;
    std::string selectedImage;
    DWORD hotTextColor = 0xFF000000;
    DWORD hotBkColor = 0xFFE9F5FF;
    std::string hotImage;
    DWORD disabledTextColor = 0xFFCCCCCC;
    DWORD disabledBkColor = 0xFFFFFFFF;
    std::string disabledImage;
    DWORD lineColor = 0;
    bool showHtml = false;
    bool multiExpandable = false;  // lists only
    bool itemEndEllipsis = false;  // lists only
    int columns = 0;               // lists with a header: the column edges
    RECT columnRects[32]{};
};

// The owner of list items, asked for by the name "IListOwner".
class IListOwnerUI {
public:
    virtual TListInfoUI* GetListInfo() = 0;
    virtual int GetCurSel() const = 0;
    // Selects the item at index (see the combo and the list for the rules);
    // false when it cannot be selected.
    virtual bool SelectItem(int index, bool takeFocus = false) = 0;
    // Events an item does not handle itself go here (keys and the wheel
    // over a drop-down list reach the combo this way).
    virtual void DoEvent(UIEvent& event) = 0;

protected:
    ~IListOwnerUI() = default;
};

// A list with a header and a body, asked for by the name "IList".
class IListUI : public IListOwnerUI {
public:
    virtual CControlUI* GetHeader() const = 0;
    virtual CContainerUI* GetList() const = 0;
    virtual bool ExpandItem(int index, bool expand = true) = 0;
    virtual int GetExpandedItem() const = 0;

protected:
    ~IListUI() = default;
};

// One item of a list owner, asked for by the name "ListItem".
class IListItemUI {
public:
    virtual int GetIndex() const = 0;
    virtual void SetIndex(int index) = 0;
    virtual IListOwnerUI* GetOwner() = 0;
    virtual void SetOwner(CControlUI* owner) = 0;
    virtual bool IsSelected() const = 0;
    virtual bool Select(bool select = true) = 0;
    virtual bool IsExpanded() const = 0;
    virtual bool Expand(bool expand = true) = 0;
    // Draws the item's text into rc with the owner's item look; the combo
    // draws its selected item's text this way.
    virtual void DrawItemText(HDC dc, const RECT& rc) = 0;

protected:
    ~IListItemUI() = default;
};

}  // namespace Loom
