#pragma once
#include <windows.h>

namespace Loom {

class CControlUI;
class CUIManager;

// Screen readers and automation tools (MSAA) see a window's controls
// through WM_GETOBJECT: the manager answers OBJID_CLIENT with an accessible
// object for its root, whose children are the visible controls below it,
// each with its name, role, state, value, location and default action.
//
// An object handed out may outlive its control (a client keeps it across
// a language switch, a list refilled, the window closed): it then answers
// CO_E_OBJNOTCONNECTED and touches nothing. Calls arrive on the window's
// thread (it is a single-threaded apartment). A default action is posted,
// not run in the call, so that a client is never held by what it starts
// (a dialog's own message loop).

// Answers WM_GETOBJECT for the manager's window; false (left to the
// system) for object ids other than OBJID_CLIENT or without a root.
bool AnswerGetObject(CUIManager& manager, WPARAM wParam, LPARAM lParam, LRESULT& result);

// Tells clients listening for the window's events (SetWinEventHook) that
// something of the control changed: EVENT_OBJECT_FOCUS, _NAMECHANGE,
// _VALUECHANGE, _STATECHANGE, ... The event names the window's client
// object and the control as its child minus GetAccessibleId() (the root as
// the object itself); nothing is sent for a control without a window.
void AnnounceAccessible(const CControlUI& control, DWORD event);
// Shown or hidden; a menu panel also opens or closes as a menu.
void AnnounceShown(const CControlUI& control, bool shown);

// The message a posted default action arrives with; the manager runs the
// action when it comes.
UINT AccessibleActionMessage();
void RunPostedAccessibleActions(HWND window);

}  // namespace Loom
