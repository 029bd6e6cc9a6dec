#pragma once
#include <windows.h>

#include <string>

#include "Loom/Control/LabelUI.h"

// The status strip beside the buttons: an outcome on green or red, the
// radio search on yellow, a download's progress as a blue bar.
constexpr DWORD kStatusSuccess = 0xFF99FF99, kStatusFailure = 0xFFFF9999, kStatusSearch = 0xFFFFFF99;

void ShowStatus(Loom::CLabelUI* strip, const std::string& text, DWORD colour);
// Progress from 0 to 10000: the bar grows from the left.
void ShowStatusProgress(Loom::CLabelUI* strip, int value);
