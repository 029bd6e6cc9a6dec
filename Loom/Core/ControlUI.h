#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "Loom/Core/EventSource.h"
#include "Loom/Core/UIConstants.h"
#include "Loom/Render/DpiScale.h"
#include "Loom/Render/HighContrast.h"

namespace Loom {

class CUIManager;
class CControlUI;
struct UIEvent;

// The search callback of FindControl: answers the control to stop at, or
// nullptr to go on.
using FindControlProc = CControlUI* (*)(CControlUI* control, void* data);

// Relative positioning of a floating control: how far it moves (move) and
// grows (zoom), in percent of the change of its parent's size since
// parentSize was recorded.
struct RelativePosUI {
    bool enabled = false;
    SIZE parentSize{0, 0};
    int parentDpi = DpiScale::kBaseDpi;  // the scale parentSize was recorded at
    int moveX = 0;
    int moveY = 0;
    int zoomX = 0;
    int zoomY = 0;
};

// The base of every control: a rectangle in the window's client area with
// its properties, its place in the tree, its painting and event handling.
// Window thread only.
class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual const std::string& GetName() const;
    virtual void SetName(const std::string& name);
    virtual const char* GetClass() const;
    // The control seen through the interface of that name ("Control" here;
    // subclasses answer their own names first), or nullptr.
    virtual void* GetInterface(const char* name);
    virtual UINT GetControlFlags() const;
    // True only if visible and enabled; subclasses act on it (a button clicks).
    virtual bool Activate();
    virtual CUIManager* GetManager() const;
    // Stores both; with init and a parent, initialises the control.
    virtual void SetManager(CUIManager* manager, CControlUI* parent, bool init = true);
    virtual CControlUI* GetParent() const;

    virtual std::string GetText() const;
    virtual void SetText(const std::string& text);

    virtual const RECT& GetPos() const;
    virtual void SetPos(RECT rc);
    // The rectangle in fine units (DpiScale) as the layout that placed the
    // control computed it before rounding its edges to pixels, so that the
    // control's own layout goes on from the unrounded edges. A control that
    // was not placed so, or was moved since, or a scale since changed,
    // answers its pixels in fine units.
    TRect GetExactPos() const;
    // SetPos with rc, given in fine units, rounded to pixels; remembers rc.
    void SetExactPos(const TRect& rc);
    virtual int GetWidth() const;
    virtual int GetHeight() const;
    virtual int GetX() const;
    virtual int GetY() const;
    virtual RECT GetPadding() const;
    virtual void SetPadding(RECT padding);
    virtual SIZE GetFixedXY() const;
    virtual void SetFixedXY(SIZE xy);
    virtual int GetFixedWidth() const;
    virtual void SetFixedWidth(int cx);
    virtual int GetFixedHeight() const;
    virtual void SetFixedHeight(int cy);
    virtual int GetMinWidth() const;
    virtual void SetMinWidth(int cx);
    virtual int GetMaxWidth() const;
    virtual void SetMaxWidth(int cx);
    virtual int GetMinHeight() const;
    virtual void SetMinHeight(int cy);
    virtual int GetMaxHeight() const;
    virtual void SetMaxHeight(int cy);
    virtual void SetRelativePos(SIZE move, SIZE zoom);
    virtual void SetRelativeParentSize(SIZE size);
    virtual RelativePosUI GetRelativePos() const;
    virtual bool IsRelativePos() const;

    // The geometry as the layouts read it. Controls keep the 96-DPI numbers
    // that markup and code give them (and their getters answer those); every
    // layout (the stacking, tab pages, floating children, scroll bars,
    // separators) reads a control's fixed position and size, minimum and
    // maximum sizes and padding through these, scaled by the manager's
    // scale at the moment it lays out. Scaling at this one place, where the
    // numbers are read and not where they are stored, is what makes a
    // change of scale re-lay the window out from the 96-DPI numbers, never
    // from already scaled ones, and leaves every setter, getter and
    // attribute as it was. What a layout writes back into a control (a
    // dragged separator's size, a floating child's offsets) goes back to
    // 96 DPI through UnscaleMeasure.
    DpiScale GetScale() const;
    int ScaleMeasure(int n) const { return GetScale().Scale(n); }
    int UnscaleMeasure(int n) const { return GetScale().Unscale(n); }
    // Edge widths (a padding, a border's sides): each edge on its own.
    RECT ScaleEdges(const RECT& edges) const;
    RECT GetScaledPadding() const;
    SIZE GetScaledFixedXY() const;
    int GetScaledFixedWidth() const { return ScaleMeasure(GetFixedWidth()); }
    int GetScaledFixedHeight() const { return ScaleMeasure(GetFixedHeight()); }
    int GetScaledMinWidth() const { return ScaleMeasure(GetMinWidth()); }
    int GetScaledMaxWidth() const { return ScaleMeasure(GetMaxWidth()); }
    int GetScaledMinHeight() const { return ScaleMeasure(GetMinHeight()); }
    int GetScaledMaxHeight() const { return ScaleMeasure(GetMaxHeight()); }
    // What the painting reads the same way: the border sizes (the one size
    // and each side's) and the round corner, at the manager's scale. A
    // border of at least one pixel at 96 DPI stays at least one pixel.
    int GetScaledBorderSize() const { return ScaleMeasure(borderSize_); }
    RECT GetScaledSideBorderSizes() const { return ScaleEdges(sideBorders_); }
    SIZE GetScaledBorderRound() const;

    virtual const std::string& GetToolTip() const;
    virtual void SetToolTip(const std::string& text);
    virtual void SetToolTipWidth(int width);
    virtual int GetToolTipWidth() const;
    virtual char GetShortcut() const;
    virtual void SetShortcut(char ch);
    virtual bool IsContextMenuUsed() const;
    virtual void SetContextMenuUsed(bool used);
    virtual const std::string& GetUserData() const;
    virtual void SetUserData(const std::string& text);
    virtual UINT_PTR GetTag() const;
    virtual void SetTag(UINT_PTR tag);

    virtual bool IsVisible() const;
    virtual void SetVisible(bool visible = true);
    virtual void SetParentVisible(bool visible);
    virtual bool IsEnabled() const;
    virtual void SetEnabled(bool enabled = true);
    virtual bool IsMouseEnabled() const;
    virtual void SetMouseEnabled(bool enabled = true);
    virtual bool IsKeyboardEnabled() const;
    virtual void SetKeyboardEnabled(bool enabled = true);
    virtual bool IsFocused() const;
    virtual void SetFocus();
    virtual bool IsFloat() const;
    virtual void SetFloat(bool floating = true);

    virtual CControlUI* FindControl(FindControlProc proc, void* data, UINT flags);

    virtual void Init();
    virtual void DoInit();
    // The event listeners first; only if they all answer true, DoEvent.
    virtual void Event(UIEvent& event);
    virtual void DoEvent(UIEvent& event);

    virtual void SetAttribute(const char* name, const char* value);
    virtual SIZE EstimateSize(SIZE available);

    virtual void DoPaint(HDC dc, const RECT& dirty);

    // What screen readers and automation tools see of the control (MSAA):
    // its role (a ROLE_SYSTEM_ value), its default action ("Press"; null for
    // none), the states of its own (STATE_SYSTEM_CHECKED, ...) beside those
    // every control has (unavailable, invisible, focused, focusable), and
    // its value (an edit's text, a combo's shown text, a progress value).
    struct AccessibleTraits {
        long role = 0;
        const char* defaultAction = nullptr;
        DWORD state = 0;
        std::string value;
    };
    virtual AccessibleTraits GetAccessibleTraits() const;
    // What a client's default action does (after its call has returned):
    // a click (Activate) unless the control says otherwise.
    virtual void DoAccessibleAction();
    // Its accessible name: the one set (in code or by the attribute
    // "accname"), else the text of the label that stands for it, else its
    // own text, else its tool tip.
    virtual std::string GetAccessibleName() const;
    void SetAccessibleName(const std::string& name) { accessibleName_ = name; }
    // The caption that names this control (an edit's or a combo's), read
    // whenever the name is asked, so that it follows the language.
    void SetAccessibleLabel(CControlUI* label);
    // The role a client is told: the traits' role unless one is set in code
    // (menus and a title bar built of buttons and layouts).
    long GetAccessibleRole() const;
    void SetAccessibleRole(long role) { accessibleRole_ = role; }
    // The number by which the window's events name the control: unique in
    // the process, from 1; a client asks the window's object for the child
    // of minus that number.
    long GetAccessibleId() const;

    // Expires when the control is destroyed: code that sends a notification
    // whose handler may destroy the control, and an accessible object that
    // outlives it, ask it before going on.
    std::weak_ptr<int> LifeToken() const;
    virtual void PaintBkColor(HDC dc);
    virtual void PaintBkImage(HDC dc);
    virtual void PaintStatusImage(HDC dc);
    virtual void PaintText(HDC dc);
    virtual void PaintBorder(HDC dc);
    // Called after the whole tree was painted, for controls registered with
    // the manager's AddPostPaint.
    virtual void PaintOverlay(HDC dc, const RECT& dirty);

    // Applies an attribute list (name="value" pairs, one blank apart).
    void ApplyAttributeList(const char* list);

    // Layout requests and invalidation.
    void RequestLayout();
    void RequestParentLayout();
    void Invalidate();
    bool IsUpdateNeeded() const { return updateNeeded_; }

    const std::string& GetVirtualWnd() const { return virtualWnd_; }
    void SetVirtualWnd(const std::string& name);

    // Background, border and their colours.
    DWORD GetBkColor() const { return bkColor_; }
    void SetBkColor(DWORD color);
    DWORD GetBkColor2() const { return bkColor2_; }
    void SetBkColor2(DWORD color);
    DWORD GetBkColor3() const { return bkColor3_; }
    void SetBkColor3(DWORD color);
    const std::string& GetBkImage() const { return bkImage_; }
    void SetBkImage(const std::string& image);
    DWORD GetBorderColor() const { return borderColor_; }
    void SetBorderColor(DWORD color);
    DWORD GetFocusBorderColor() const { return focusBorderColor_; }
    void SetFocusBorderColor(DWORD color);
    bool IsColorHSL() const { return colorHSL_; }
    void SetColorHSL(bool on);
    int GetBorderSize() const { return borderSize_; }
    void SetBorderSize(int size);
    RECT GetSideBorderSizes() const { return sideBorders_; }
    void SetSideBorderSizes(RECT sizes);
    void SetLeftBorderSize(int size);
    void SetTopBorderSize(int size);
    void SetRightBorderSize(int size);
    void SetBottomBorderSize(int size);
    int GetBorderStyle() const { return borderStyle_; }
    void SetBorderStyle(int style);
    SIZE GetBorderRound() const { return borderRound_; }
    void SetBorderRound(SIZE round);
    // The colour as drawn: with the colour adjustment on it passes a
    // hue/saturation/lightness adjustment whose settings are neutral, so it
    // comes back unchanged.
    DWORD GetAdjustColor(DWORD color) const { return color; }

    // Draws an image string over the control within the current paint
    // rectangle; false when it could not be drawn (no manager or no DC).
    bool DrawImage(HDC dc, const std::string& image, const char* modify = nullptr);
    // The same drawn as its shape in argb (CRenderer::DrawImageShape).
    bool DrawImageShape(HDC dc, const std::string& image, DWORD argb, const char* modify = nullptr);

    // While Windows' high-contrast setting is on, the system's colours its
    // painting takes instead of the skin's (and no background or
    // decoration image is drawn); nullptr while off.
    const TContrastColors* GetContrastColors() const;

    // The five listener lists. Parameters: init, destroy and resize get the
    // control; event gets the UIEvent; notify gets the NotifyMsg.
    CEventSource OnInit;
    CEventSource OnDestroy;
    CEventSource OnSize;
    CEventSource OnEvent;
    CEventSource OnNotify;

protected:
    // Runs the destroy listeners once; a container calls it before it
    // destroys its children so that listeners see a whole tree.
    void RunDestroyListeners();
    // The colour its background colour gives way to while high contrast is
    // on. A bare control filled with a colour is a line or a mark (a
    // separator, a group box's frame): the text colour keeps it visible.
    // Containers and labels answer the window colour, buttons their face.
    virtual DWORD GetContrastBkColor(const TContrastColors& colors) const;
    // rc clipped by every ancestor's pos; false if nothing is left.
    bool ClipToAncestors(RECT& rc) const;
    // The rectangle of a floating control relative to its parent, kept in
    // fixed x/y/width/height.
    void StoreFloatOffsets();

    CUIManager* manager_ = nullptr;
    CControlUI* parent_ = nullptr;
    std::string virtualWnd_;
    std::string name_;
    bool updateNeeded_ = true;
    bool menuUsed_ = false;
    RECT pos_{0, 0, 0, 0};
    RECT padding_{0, 0, 0, 0};
    SIZE fixedXY_{0, 0};
    SIZE fixedSize_{0, 0};
    SIZE minSize_{0, 0};
    SIZE maxSize_{9999, 9999};
    bool visible_ = true;
    bool parentVisible_ = true;
    bool enabled_ = true;
    bool mouseEnabled_ = true;
    bool keyboardEnabled_ = true;
    bool focused_ = false;
    bool float_ = false;
    bool inResize_ = false;
    RelativePosUI relativePos_;
    std::string text_;
    std::string toolTip_;
    std::string accessibleName_;
    CControlUI* accessibleLabel_ = nullptr;
    std::weak_ptr<int> accessibleLabelLife_;
    long accessibleRole_ = 0;
    mutable long accessibleId_ = 0;  // given when first asked for
    char shortcut_ = '\0';
    std::string userData_;
    UINT_PTR tag_ = 0;
    DWORD bkColor_ = 0;
    DWORD bkColor2_ = 0;
    DWORD bkColor3_ = 0;
    std::string bkImage_;
    DWORD borderColor_ = 0;
    DWORD focusBorderColor_ = 0;
    bool colorHSL_ = false;
    int borderSize_ = 0;
    int borderStyle_ = 0;
    int toolTipWidth_ = 300;
    SIZE borderRound_{0, 0};
    RECT paintRect_{0, 0, 0, 0};
    RECT sideBorders_{0, 0, 0, 0};

private:
    TRect exactPos_;
    int exactDpi_ = 0;  // the scale exactPos_ was given at; 0: none given
    bool destroyListenersRun_ = false;
    mutable std::shared_ptr<int> life_;  // made when first asked for
    // Helpers of SetAttribute, one per group of names; each answers whether
    // it knew the name.
    bool SetGeometryAttribute(const char* name, const char* value);
    bool SetLookAttribute(const char* name, const char* value);
    bool SetStateAttribute(const char* name, const char* value);
    void PaintSideBorders(HDC dc, DWORD color);
    void RequestLayoutAfterFixedChange();
};

}  // namespace Loom
