#include "app/StatusStrip.h"

void ShowStatus(CStatusStripUI* strip, const std::string& text, DWORD colour) {
    strip->SetProgress(-1);
    strip->SetPadding(RECT{0, 0, 0, 0});
    strip->SetText(text);
    strip->SetBkColor(colour);
}

void ShowStatusProgress(CStatusStripUI* strip, int value, const std::string& text) {
    strip->SetPadding(RECT{0, 0, 0, 0});
    strip->SetText(text);
    strip->SetProgress(value < 0 ? 0 : value);
}

void ShowCause(Loom::CTextUI* line, const std::string& cause, const std::string& next) {
    if (cause.empty() && next.empty()) {
        line->SetText("");
        line->SetBkColor(0);
        line->SetBorderSize(0);
        return;
    }
    // Sentences as a technician reads them: each starts with a capital.
    auto sentence = [](std::string text) {
        if (!text.empty() && text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
        return text;
    };
    line->SetText(sentence(cause) + (next.empty() ? "" : "\n" + sentence(next)));
    line->SetBkColor(kStatusFailure);
    line->SetBorderColor(0xFF888888);
    line->SetBorderSize(1);
}
