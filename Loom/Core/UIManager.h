#pragma once
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/GdiHandles.h"
#include "Loom/Render/Render.h"
#include "Loom/Render/RenderContext.h"
#include "Loom/Core/InputRouter.h"
#include "Loom/Core/Timers.h"
#include "Loom/Core/ToolTip.h"
#include "Loom/Core/UIConstants.h"
#include "Loom/Render/DpiScale.h"
#include "Loom/Render/WinRect.h"
#include "platform/UniqueWindow.h"

namespace Loom {

class CControlUI;

// What a control's Event receives.
struct UIEvent {
    int kind = 0;                  // an EventKind
    CControlUI* sender = nullptr;  // the control addressed
    DWORD timestamp = 0;           // milliseconds since system start
    POINT mousePoint{0, 0};        // client coordinates
    char key = 0;                  // key character
    WORD keyState = 0;             // KeyStateFlag bits
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// What a window's notification listeners receive.
struct NotifyMsg {
    std::string type;        // "click", "itemselect", ...
    std::string virtualWnd;  // filled only when the window uses virtual-window names
    CControlUI* sender = nullptr;
    DWORD timestamp = 0;
    POINT mousePoint{0, 0};  // the last mouse position the manager saw
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

// A window's notification listener.
class INotifyUI {
public:
    virtual void Notify(NotifyMsg& msg) = 0;

protected:
    ~INotifyUI() = default;
};

// Sees a window's messages before the manager does; sets handled to end
// handling with the returned result.
class IMessageFilterUI {
public:
    virtual LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) = 0;

protected:
    ~IMessageFilterUI() = default;
};

// Offered every message of its window before anything else; true when it
// handled (translated) the message.
class ITranslateAccelerator {
public:
    virtual bool TranslateAccelerator(MSG* msg) = 0;

protected:
    ~ITranslateAccelerator() = default;
};

// One font of a manager's font list (or its default font).
struct TFontInfo {
    UniqueFont font;
    std::string face;
    int size = 0;
    bool bold = false;
    bool underline = false;
    bool italic = false;
    TEXTMETRICW tm{};
    bool tmValid = false;
};

// The paint manager of one top-level window: owns its control tree, turns
// its messages into control events, lays out and paints the tree double
// buffered, delivers notifications, and keeps the window's fonts, images,
// default attribute lists and settings. Window thread only.
class CUIManager : public IRenderContext {
public:
    // Posted to the window to destroy the controls queued by AddDelayedCleanup.
    static constexpr UINT kDelayedCleanupMessage = WM_APP + 1;

    CUIManager();
    virtual ~CUIManager();
    CUIManager(const CUIManager&) = delete;
    CUIManager& operator=(const CUIManager&) = delete;

    // Attaches the manager to its window: stores the handle, takes its DC and
    // joins the process-wide list.
    void Init(HWND wnd);
    HWND GetPaintWindow() const { return wnd_; }
    HDC GetPaintDC() const;
    HWND GetTooltipWindow() const { return toolTip_.Window(); }
    POINT GetMousePos() const override { return input_.LastMouse(); }
    SIZE GetClientSize() const;

    // Process-wide settings.
    static HINSTANCE GetInstance();
    static void SetInstance(HINSTANCE instance);
    static HINSTANCE GetResourceInstance();
    static void SetResourceInstance(HINSTANCE instance);
    static std::string GetInstancePath();
    static const std::string& GetResourcePath();
    static void SetResourcePath(const std::string& path);
    static const std::vector<CUIManager*>& GetManagers();
    // Offers a message to its window's manager (accelerators, then
    // PreMessageHandler); true when it was handled and must not be dispatched.
    static bool TranslateMessage(const LPMSG msg);
    // Gets and dispatches messages until WM_QUIT.
    static void MessageLoop();

    // Window settings.
    SIZE GetInitSize() const { return initSize_; }
    void SetInitSize(int cx, int cy);
    RECT GetSizeBox() const { return sizeBox_; }
    void SetSizeBox(const RECT& rc) { sizeBox_ = rc; }
    RECT GetCaptionRect() const { return caption_; }
    void SetCaptionRect(const RECT& rc) { caption_ = rc; }
    SIZE GetRoundCorner() const { return roundCorner_; }
    void SetRoundCorner(int cx, int cy) { roundCorner_ = SIZE{cx, cy}; }
    // The caption band and the window's round corner as the window hit-tests
    // and clips them: the 96-DPI numbers above at the window's scale.
    RECT GetScaledCaptionRect() const { return WinRectFrom(scale_.ScaleEdges(RectFrom(caption_))); }
    SIZE GetScaledRoundCorner() const { return SIZE{scale_.Scale(roundCorner_.cx), scale_.Scale(roundCorner_.cy)}; }
    SIZE GetMinInfo() const { return minInfo_; }
    void SetMinInfo(int cx, int cy);
    SIZE GetMaxInfo() const { return maxInfo_; }
    void SetMaxInfo(int cx, int cy);
    int GetTransparent() const { return opacity_; }
    void SetTransparent(int alpha);
    bool IsBackgroundTransparent() const { return bkTransparent_; }
    void SetBackgroundTransparent(bool on) { bkTransparent_ = on; }
    bool IsShowUpdateRect() const { return showDirty_; }
    void SetShowUpdateRect(bool show) { showDirty_ = show; }
    bool IsOffscreenPaint() const { return offscreenPaint_; }
    void SetOffscreenPaint(bool on) { offscreenPaint_ = on; }
    bool IsUsedVirtualWnd() const { return usedVirtualWnd_; }
    void SetUsedVirtualWnd(bool used) { usedVirtualWnd_ = used; }

    // Default colours (taken from the top of the resource-parent chain).
    DWORD GetDefaultDisabledColor() const;
    void SetDefaultDisabledColor(DWORD color) { disabledColor_ = color; }
    DWORD GetDefaultFontColor() const;
    void SetDefaultFontColor(DWORD color) { fontColor_ = color; }
    DWORD GetDefaultLinkFontColor() const override;
    void SetDefaultLinkFontColor(DWORD color) { linkColor_ = color; }
    DWORD GetDefaultLinkHoverFontColor() const override;
    void SetDefaultLinkHoverFontColor(DWORD color) { linkHoverColor_ = color; }
    DWORD GetDefaultSelectedBkColor() const override;
    void SetDefaultSelectedBkColor(DWORD color) { selectedBkColor_ = color; }

    // The manager whose resources this one falls back to; refused (false) if
    // the chain would loop.
    CUIManager* GetResourceParent() const { return resourceParent_; }
    bool SetResourceParent(CUIManager* parent);

    // Fonts. AddFont returns the new font, nullptr if it could not be made.
    const TEXTMETRICW& GetDefaultFontInfo();
    HFONT GetDefaultFont();
    void SetDefaultFont(const std::string& face, int size, bool bold, bool underline, bool italic);
    HFONT AddFont(const std::string& face, int size, bool bold, bool underline, bool italic);
    int GetCustomFontCount() const { return static_cast<int>(fonts_.size()); }
    HFONT GetFont(int index) override;
    HFONT GetFont(const std::string& face, int size, bool bold, bool underline, bool italic);
    const TEXTMETRICW& GetFontInfo(int index);
    const TEXTMETRICW& GetFontInfo(HFONT font) override;
    HFONT GetOrAddFont(const std::string& face, int size, bool bold, bool underline, bool italic) override;
    bool GetFontDescription(HFONT font, std::string& face, int& size, bool& bold, bool& underline,
                            bool& italic) override;

    // Images. With a type, name must begin with a decimal digit: its value
    // (low 16 bits) is the resource number.
    const TImageInfo* GetImage(const std::string& name) const;
    const TImageInfo* AddImage(const std::string& name, const std::string& type = std::string(), DWORD mask = 0);
    const TImageInfo* FindOrLoadImage(const std::string& name, const std::string& type, DWORD mask) override;
    // The image at the window's scale: the one drawn for it (resource number
    // + 1000 at 150 %, + 2000 at 200 %; a file "name@150.png" or
    // "name@200.png" beside "name.png"), else the next larger one filtered
    // down, else the largest filtered up, at the 96-DPI size times the
    // scale. Kept until the scale changes; at 96 the image itself.
    const TImageInfo* FindOrLoadScaledImage(const std::string& name, const std::string& type, DWORD mask) override;

    // Default attribute lists by element name; the first list for a name stays.
    void AddDefaultAttributeList(const std::string& name, const std::string& list);
    const char* GetDefaultAttributeList(const std::string& name) const;

    // Option groups.
    bool AddOptionGroup(const std::string& group, CControlUI* option);
    const std::vector<CControlUI*>* GetOptionGroup(const std::string& group) const;
    void RemoveOptionGroup(const std::string& group, CControlUI* option);

    // The control tree.
    // The window's display scale (96 DPI unless SetDpi says otherwise).
    // Markup and code keep giving 96-DPI numbers; the layouts read the
    // controls' geometry through it (CControlUI::GetScale) and the fonts
    // take their height at it. SetDpi with a new DPI makes the fonts again
    // and lays the whole window out again from the 96-DPI numbers; the same
    // DPI changes nothing.
    const DpiScale& GetScale() const override { return scale_; }
    void SetDpi(int dpi);

    CControlUI* GetRoot() const { return root_; }
    bool SetRootControl(CControlUI* root);
    bool AttachSubtree(CControlUI* control, CControlUI* parent);
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindControl(const std::string& name) const;
    // Drops every reference to a control that is being destroyed.
    void ForgetControl(CControlUI* control);
    bool AddDelayedCleanup(CControlUI* control);
    void SetLayoutNeeded() { layoutNeeded_ = true; }
    bool IsLayoutNeeded() const { return layoutNeeded_; }
    void Invalidate(const RECT& rc);

    // Focus, capture, key-down target, hover (the window's InputRouter).
    CControlUI* GetFocus() const { return input_.Focus(); }
    void SetFocus(CControlUI* control);
    void SetFocusNeeded(CControlUI* control);
    bool SetNextTabControl(bool forward = true);
    // A control that Tab passes by, with all it holds; it stays focusable.
    void SetTabSkipped(CControlUI* control, bool skipped);
    CControlUI* GetHover() const { return input_.Hover(); }
    CControlUI* GetCaptureControl() const { return input_.Capture(); }
    CControlUI* GetKeyDownTarget() const { return input_.KeyDownTarget(); }
    void SetCapture();
    void ReleaseCapture();
    bool IsCaptured() const { return input_.IsCaptured(); }
    // The keyboard cues, the frame around the focus control and the
    // underlined shortcut letters: shown from the first key that moves the
    // focus or reaches the menus (Tab, Alt, F10), hidden again by a mouse
    // press, as native windows show theirs.
    bool AreKeyboardCuesShown() const { return input_.AreKeyboardCuesShown(); }
    void ShowKeyboardCues(bool shown);
    // The rectangle the cue of a control covers, at the window's scale: the
    // cue's width and its gap to the control are 96-DPI pixels.
    static constexpr int kFocusCueGap = 1;
    static constexpr int kFocusCueWidth = 2;
    RECT FocusCueRect(const CControlUI* control) const;

    // Timers.
    bool SetTimer(CControlUI* control, UINT id, UINT elapse);
    bool KillTimer(CControlUI* control, UINT id);
    void KillTimer(CControlUI* control);
    const std::vector<TTimerInfo>& GetTimers() const { return timers_.All(); }

    // Listeners and filters; adding an element already present is refused.
    bool AddNotifier(INotifyUI* notifier);
    bool RemoveNotifier(INotifyUI* notifier);
    bool AddPreMessageFilter(IMessageFilterUI* filter);
    bool RemovePreMessageFilter(IMessageFilterUI* filter);
    bool AddMessageFilter(IMessageFilterUI* filter);
    bool RemoveMessageFilter(IMessageFilterUI* filter);
    bool AddTranslateAccelerator(ITranslateAccelerator* translator);
    bool RemoveTranslateAccelerator(ITranslateAccelerator* translator);
    bool AddPostPaint(CControlUI* control);
    bool RemovePostPaint(CControlUI* control);
    int GetPostPaintCount() const { return static_cast<int>(postPaint_.size()); }

    // Delivers a notification at once: the sender's listeners, then every
    // registered listener in registration order.
    void SendNotify(CControlUI* control, const std::string& type, WPARAM wParam = 0, LPARAM lParam = 0);

    // True when the message was handled; result is valid then.
    bool MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool PreMessageHandler(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);

private:
    friend class InputRouter;

    struct ProcessState {
        HINSTANCE instance = nullptr;
        HINSTANCE resourceInstance = nullptr;
        std::vector<CUIManager*> managers;
        UniquePen redPen;  // frames the painted area with "showdirty"
        bool started = false;
    };
    static ProcessState& Process();

    UIEvent MakeEvent(int kind, CControlUI* sender, WPARAM wParam = 0, LPARAM lParam = 0) const;
    static WORD LiveKeyState();
    void ReleaseOffscreen();

    // MessageHandler, split by subject.
    bool HandleWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    bool HandleReflectedMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    void OnTimer(WPARAM wParam);
    void OnClose();
    void OnPrintClient(HDC dc, LPARAM flags);
    void RunDelayedCleanup();

    // Painting.
    void OnPaint();
    void LayOutIfNeeded();
    bool IsWholeClientInvalid() const;
    void PaintOffscreen(HDC paintDC, const RECT& update);
    void ShowToolTip(CControlUI* control);

    // Fonts.
    TFontInfo* FindFontInfo(HFONT font);
    static UniqueFont CreateFontFrom(const std::string& face, int size, bool bold, bool underline, bool italic);
    const TEXTMETRICW& MetricsOf(TFontInfo& info);
    // Makes the default font and the font list again at the current scale.
    void RemakeFonts();
    CUIManager* TopOfChain();
    const CUIManager* TopOfChain() const;

    // Handlers that call into a control watch this: a notification may
    // destroy the window and this manager with it, after which nothing of
    // the manager may be read or written.
    std::weak_ptr<int> LifeToken() const { return life_; }
    std::shared_ptr<int> life_ = std::make_shared<int>(0);

    HWND wnd_ = nullptr;
    int opacity_ = 255;
    std::optional<WindowDC> paintDC_;
    UniqueBitmap offscreenBitmap_;
    UniqueMemDC offscreenDC_;
    UniqueBitmap backgroundBitmap_;
    UniqueMemDC backgroundDC_;
    HGDIOBJ backgroundOld_ = nullptr;
    CToolTip toolTip_;

    CControlUI* root_ = nullptr;
    InputRouter input_{*this};

    SIZE initSize_{0, 0};
    SIZE minInfo_{0, 0};
    SIZE maxInfo_{0, 0};
    RECT sizeBox_{0, 0, 0, 0};
    RECT caption_{0, 0, 0, 0};
    SIZE roundCorner_{0, 0};

    bool showDirty_ = false;
    bool firstLayout_ = true;
    bool layoutNeeded_ = false;
    // While a paint lays out a window that is invalid as a whole, placing
    // controls invalidates nothing more: each invalidation is a round trip
    // to the window system, and the paint covers the whole window anyway.
    bool wholeClientInvalid_ = false;
    bool offscreenPaint_ = true;
    bool bkTransparent_ = false;
    bool usedVirtualWnd_ = false;

    CTimers timers_;
    std::vector<INotifyUI*> notifiers_;
    std::vector<IMessageFilterUI*> preFilters_;
    std::vector<IMessageFilterUI*> filters_;
    std::vector<CControlUI*> postPaint_;
    std::vector<CControlUI*> delayedCleanup_;
    std::vector<ITranslateAccelerator*> translators_;

    std::map<std::string, CControlUI*> names_;
    std::map<std::string, std::vector<CControlUI*>> optionGroups_;
    std::map<std::string, TImagePtr> images_;
    // The images at scale_ (an empty record: none could be made).
    std::map<std::string, TImagePtr> scaledImages_;
    std::map<std::string, std::string> defaultAttributes_;

    DWORD disabledColor_ = 0xFFA7A6AA;
    DWORD fontColor_ = 0xFF000000;
    DWORD linkColor_ = 0xFF0000FF;
    DWORD linkHoverColor_ = 0xFFD3215F;
    DWORD selectedBkColor_ = 0xFFBAE4FF;

    DpiScale scale_;
    TFontInfo defaultFont_;
    // The default font is still the system's GUI font, made from its own
    // LOGFONT (its height sign included) rather than by face and size.
    bool defaultIsSystem_ = true;
    std::vector<std::unique_ptr<TFontInfo>> fonts_;
    CUIManager* resourceParent_ = nullptr;
};

}  // namespace Loom
