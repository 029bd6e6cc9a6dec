#pragma once
#include <memory>
#include <string>
#include <vector>

#include "Loom/Core/ControlUI.h"

namespace Loom {

class CScrollBarUI;

// The child list of a container, as seen through GetInterface("IContainer").
class IContainerUI {
public:
    // nullptr if index is out of range.
    virtual CControlUI* GetItemAt(int index) const = 0;
    // -1 if the control is not a child.
    virtual int GetItemIndex(CControlUI* control) const = 0;
    virtual bool SetItemIndex(CControlUI* control, int index) = 0;
    virtual int GetCount() const = 0;
    // A null control is refused. The container takes ownership.
    virtual bool Add(CControlUI* control) = 0;
    virtual bool AddAt(CControlUI* control, int index) = 0;
    // With auto-destroy the child is destroyed (deferred with delayed-destroy).
    virtual bool Remove(CControlUI* control) = 0;
    virtual bool RemoveAt(int index) = 0;
    virtual void RemoveAll() = 0;

protected:
    ~IContainerUI() = default;
};

// A control with child controls (owned), an inset, optional scroll bars and
// hit testing into its children. A plain container lays every child over
// its inner rectangle.
class CContainerUI : public CControlUI, public IContainerUI {
public:
    CContainerUI();
    ~CContainerUI() override;

    const char* GetClass() const override;
    void* GetInterface(const char* name) override;
    AccessibleTraits GetAccessibleTraits() const override;

    CControlUI* GetItemAt(int index) const override;
    int GetItemIndex(CControlUI* control) const override;
    bool SetItemIndex(CControlUI* control, int index) override;
    int GetCount() const override;
    bool Add(CControlUI* control) override;
    bool AddAt(CControlUI* control, int index) override;
    bool Remove(CControlUI* control) override;
    bool RemoveAt(int index) override;
    void RemoveAll() override;

    void DoEvent(UIEvent& event) override;
    void SetVisible(bool visible = true) override;
    void SetParentVisible(bool visible) override;
    void SetMouseEnabled(bool enabled = true) override;
    void SetManager(CUIManager* manager, CControlUI* parent, bool init = true) override;
    CControlUI* FindControl(FindControlProc proc, void* data, UINT flags) override;
    void SetPos(RECT rc) override;
    void DoPaint(HDC dc, const RECT& dirty) override;
    void SetAttribute(const char* name, const char* value) override;

    virtual RECT GetInset() const;
    virtual void SetInset(RECT inset);
    virtual int GetChildPadding() const;
    // The inset and the gap between children as the layouts read them: at
    // the manager's scale (see CControlUI::GetScale).
    RECT GetScaledInset() const;
    int GetScaledChildPadding() const { return ScaleMeasure(GetChildPadding()); }
    virtual void SetChildPadding(int padding);
    virtual bool IsAutoDestroy() const;
    virtual void SetAutoDestroy(bool on);
    virtual bool IsDelayedDestroy() const;
    virtual void SetDelayedDestroy(bool on);
    virtual bool IsMouseChildEnabled() const;
    virtual void SetMouseChildEnabled(bool enabled = true);
    // The nearest selectable list item from index in the given direction;
    // -1 here (list containers answer it).
    virtual int FindSelectable(int index, bool forward = true) const;

    // x: horizontal bar position, y: vertical bar position.
    virtual SIZE GetScrollPos() const;
    virtual SIZE GetScrollRange() const;
    virtual void SetScrollPos(SIZE pos);
    virtual void LineUp();
    virtual void LineDown();
    virtual void PageUp();
    virtual void PageDown();
    virtual void HomeUp();
    virtual void EndDown();
    virtual void LineLeft();
    virtual void LineRight();
    virtual void PageLeft();
    virtual void PageRight();
    virtual void HomeLeft();
    virtual void EndRight();
    // Creates or destroys each bar to match the request.
    virtual void EnableScrollBar(bool vertical = true, bool horizontal = false);
    virtual CScrollBarUI* GetVerticalScrollBar() const;
    virtual CScrollBarUI* GetHorizontalScrollBar() const;
    // Places the visible floating child at index by its fixed position.
    virtual void SetFloatPos(int index);
    // Places the bars for a client rectangle rc whose content needs
    // cxNeeded by cyNeeded pixels, showing, re-ranging or hiding the
    // vertical bar and laying the container out again when that changes.
    virtual void ProcessScrollBar(RECT rc, int cxNeeded, int cyNeeded);

    // pos reduced by the inset and by each visible bar's fixed size.
    RECT GetClientArea() const;
    // The same in fine units (DpiScale), from the exact rectangle
    // (GetExactPos) and the 96-DPI inset and bar sizes, unrounded; without
    // bars, reduced by the inset only.
    TRect GetExactClientArea(bool bars = true) const;

    // Drops a child from the list without touching it: a child destroyed
    // by someone else while it is still listed calls this from its
    // destructor, so that the list never holds a dead control.
    void ForgetItem(CControlUI* control);

protected:
    // Calls f for each child, in order, over a copy of the list: a child
    // removed by an earlier call is skipped, one added is not visited, and
    // none is visited twice.
    template <typename F>
    void ForEachChild(F f) {
        const std::vector<CControlUI*> items = items_;
        for (size_t i = 0; i < items.size(); ++i) {
            if (IsChild(items[i], i)) f(items[i]);
        }
    }
    bool IsChild(const CControlUI* control, size_t hint) const;
    void Detach(CControlUI* control);
    // Destroys a removed child: deferred through the manager when
    // delayed-destroy is on and there is a manager, at once otherwise.
    void DestroyChild(CControlUI* control);
    bool IsBarShown(const CScrollBarUI* bar) const;
    void PaintChildren(HDC dc, const RECT& dirty);
    DWORD GetContrastBkColor(const TContrastColors& colors) const override { return colors.window; }
    bool KeyScrolls(UIEvent& event);

    std::vector<CControlUI*> items_;
    RECT inset_{0, 0, 0, 0};
    int childPadding_ = 0;
    bool autoDestroy_ = true;
    bool delayedDestroy_ = true;
    bool mouseChildEnabled_ = true;
    bool scrollProcessing_ = false;
    std::unique_ptr<CScrollBarUI> verticalBar_;
    std::unique_ptr<CScrollBarUI> horizontalBar_;
    // "vscrollbarstyle"/"hscrollbarstyle" as given, and whether each bar has
    // had the window's default look with the style over it.
    std::string verticalStyle_;
    std::string horizontalStyle_;
    bool verticalStyled_ = false;
    bool horizontalStyled_ = false;

private:
    bool InsertChild(CControlUI* control, int index);
    std::unique_ptr<CScrollBarUI> CreateScrollBar(bool horizontal);
    bool ProcessHorizontalBar(const RECT& rc, int cxNeeded);
    void PlaceFloat(CControlUI* item);
    void StyleScrollBar(CScrollBarUI& bar, bool horizontal);
    bool SetScrollBarAttribute(const char* name, const char* value);
};

}  // namespace Loom
