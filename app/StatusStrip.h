#pragma once
#include <windows.h>

#include <string>

#include "Loom/Control/TextUI.h"
#include "app/StatusStripUI.h"

// The status strip beside the buttons: an outcome on green or red, a running
// action or the radio search on yellow, a download's progress as a blue bar
// with its percentage and time left. The cause line under the body says why
// the last action failed and what to try.
constexpr DWORD kStatusSuccess = 0xFF99FF99, kStatusFailure = 0xFFFF9999, kStatusSearch = 0xFFFFFF99;

// A text on a colour; any bar is gone.
void ShowStatus(CStatusStripUI* strip, const std::string& text, DWORD colour);
// Progress from 0 to 10000: the bar grows from the left, the text over it.
void ShowStatusProgress(CStatusStripUI* strip, int value, const std::string& text = std::string());
// The cause and the next step on the failure's colour, one a line; both
// empty: the line shows nothing.
void ShowCause(Loom::CTextUI* line, const std::string& cause, const std::string& next);
