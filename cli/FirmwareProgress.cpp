#include "cli/FirmwareProgress.h"

#include <algorithm>
#include <cstdio>

#include "radio/Firmware.h"

FirmwareProgress::FirmwareProgress(uint64_t pages, uint64_t imageLength, bool inPlace)
    : pages_(pages), imageLength_(imageLength), inPlace_(inPlace) {}

std::string FirmwareProgress::Update(int value, uint64_t elapsedMs) {
    value = std::max(0, std::min(value, 10000));
    char text[96];
    if (!inPlace_) {
        if (value / 1000 == shownTenth_) return std::string();
        shownTenth_ = value / 1000;
        std::snprintf(text, sizeof text, "firmware: %d%%\n", value / 100);
        return text;
    }
    // The download reports the share of the bytes it sends (all but the
    // skipped ones) that went out in whole pages: the pages sent are the
    // most whose share is still within `value`.
    uint64_t pagesSent = 0;
    if (imageLength_ > Firmware::kSkipped) {
        const uint64_t scale = 10000 * uint64_t{Firmware::kPageSize};
        const uint64_t reach = static_cast<uint64_t>(value + 1) * (imageLength_ - Firmware::kSkipped);
        pagesSent = std::min(pages_, (reach + scale - 1) / scale - 1);
    }
    std::snprintf(text, sizeof text, "firmware: page %llu of %llu, %d%%", static_cast<unsigned long long>(pagesSent),
                  static_cast<unsigned long long>(pages_), value / 100);
    std::string line = text;
    if (value > 0 && value < 10000) {
        // The rest at the pace so far, rounded up to a whole second.
        const uint64_t leftSeconds = Firmware::SecondsLeft(value, elapsedMs);
        std::snprintf(text, sizeof text, ", %llu:%02llu left", static_cast<unsigned long long>(leftSeconds / 60),
                      static_cast<unsigned long long>(leftSeconds % 60));
        line += text;
    }
    // Blanks over what a longer line before showed.
    const size_t width = line.size();
    if (width < lineWidth_) line.append(lineWidth_ - width, ' ');
    lineWidth_ = std::max(lineWidth_, width);
    return "\r" + line;
}

std::string FirmwareProgress::Finish() {
    if (lineWidth_ == 0) return std::string();
    lineWidth_ = 0;
    return "\n";
}
