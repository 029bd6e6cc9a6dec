#pragma once
#include <windows.h>

#include <string>

#include "Loom/Builder/DialogBuilder.h"
#include "Loom/Core/NotifyPump.h"
#include "Loom/Core/UIManager.h"
#include "Loom/Core/WindowWnd.h"

namespace Loom {

// The base of the application's top-level windows: a frameless window whose
// skin, a markup text built in memory, becomes its control tree when the
// window is created. The window is dragged by the non-button part of its
// caption band, has rounded corners, maximises to the work area of its
// monitor, closes on Escape and ends the message loop on SC_CLOSE (Alt+F4).
//
// Message handlers (OnXxx) get handled == false and set it to true when the
// result they return is the answer; a message no handler answers goes to
// HandleCustomMessage, then to the paint manager, then to the default
// procedure. Window thread only.
class WindowImplBase : public CWindowWnd,
                       public CNotifyPump,
                       public INotifyUI,
                       public IMessageFilterUI,
                       public IDialogBuilderCallback {
public:
    // What creation does when the skin cannot be built: show the message,
    // then end the process. Tests replace them; the defaults are a message
    // box (Text::MessageBoxUtf8) and ExitProcess. When the exit returns, creation fails (Create answers
    // nullptr).
    struct FailureActions {
        int(WINAPI* showMessage)(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
        void(WINAPI* exitProcess)(UINT code);
    };
    // Returns the actions in force before.
    static FailureActions SetFailureActions(const FailureActions& actions);

    // The design size is written into the skin; the skin's size is the
    // window's size when it has been created.
    WindowImplBase(int designWidth, int designHeight);
    // Destroys the window if it still exists, so that no message reaches a
    // window object that is gone (SC_CLOSE ends the message loop without
    // closing the window).
    ~WindowImplBase() override;

    CUIManager& GetPaintManager() { return paintManager_; }
    int GetDesignWidth() const { return designWidth_; }
    int GetDesignHeight() const { return designHeight_; }

    // Every notification ends in the type-keyed table of CNotifyPump; the
    // windows handle their own before they call this.
    void Notify(NotifyMsg& msg) override;
    // The window's message filter: Return and Escape go to
    // ResponseDefaultKeyEvent.
    LRESULT MessageHandler(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) override;
    // The skin names only elements the toolkit knows: no control.
    CControlUI* CreateControl(const char* className) override;

protected:
    // "^_^", double clicks on.
    const char* GetWindowClassName() const override;
    UINT GetClassStyle() const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Leaves the paint manager's filters and listeners and makes the manager
    // forget the control tree (focus, hover, capture, timers); the controls
    // themselves live on with the window object, which may still read them.
    void OnFinalMessage(HWND wnd) override;

    // The skin markup for the design size (the application's windows all
    // use the same one).
    virtual std::string GetSkin(int designWidth, int designHeight) const = 0;
    // Runs once the control tree is attached; the windows build their
    // controls here.
    virtual void InitWindow();
    // Appended to the program's folder as the resource path when none is
    // set; empty.
    virtual std::string GetSkinFolder() const;
    // Escape closes the window (WM_CLOSE with wParam 1) and counts as
    // handled; every other key does nothing. True when handled.
    virtual bool ResponseDefaultKeyEvent(WPARAM key);

    virtual LRESULT OnClose(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnDestroy(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcActivate(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcCalcSize(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcPaint(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnNcHitTest(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnGetMinMaxInfo(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseWheel(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseHover(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSize(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnChar(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSysCommand(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnCreate(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKeyDown(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKeyUp(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnKillFocus(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnSetFocus(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnLButtonDown(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnLButtonUp(WPARAM wParam, LPARAM lParam, bool& handled);
    virtual LRESULT OnMouseMove(WPARAM wParam, LPARAM lParam, bool& handled);
    // Asked for every message the handlers above left unanswered.
    virtual LRESULT HandleCustomMessage(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);

    CUIManager paintManager_;

private:
    // The handler of the same name as the message, if there is one.
    LRESULT Route(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    // Creation steps.
    void DropCaption();
    bool BuildSkin();
    void ApplyRoundRegion();
    void OnDpiChanged(WPARAM wParam, LPARAM lParam);

    int designWidth_;
    int designHeight_;
};

}  // namespace Loom
