#include "app/StatusStrip.h"

#include <algorithm>

namespace {

constexpr DWORD kProgressColour = 0xFF3333FF;
constexpr int kStatusWidth = 216;

}  // namespace

void ShowStatus(Loom::CLabelUI* strip, const std::string& text, DWORD colour) {
    strip->SetPadding(RECT{0, 0, 0, 0});
    strip->SetText(text);
    strip->SetBkColor(colour);
}

void ShowStatusProgress(Loom::CLabelUI* strip, int value) {
    value = std::clamp(value, 0, 10000);
    strip->SetText("");
    strip->SetPadding(RECT{0, 0, (10000 - value) * kStatusWidth / 10000, 0});
    strip->SetBkColor(kProgressColour);
}
