#include "serial/PortDevices.h"

#include "platform/Utf8.h"

std::string DeviceNameForEntry(const std::string& friendlyName, int port) {
    std::string name = friendlyName;
    const std::string own = " (COM" + std::to_string(port) + ")";
    if (name.size() >= own.size() && name.compare(name.size() - own.size(), own.size(), own) == 0)
        name.resize(name.size() - own.size());

    // Blanks for what cannot be shown, then one blank between words.
    std::string shown;
    for (size_t i = 0; i < name.size();) {
        const size_t length = Text::Utf8CharLength(name.data() + i, name.size() - i);
        const unsigned char first = static_cast<unsigned char>(name[i]);
        const bool malformed = length == 1 && first >= 0x80;
        const bool blank = first < 0x20 || first == 0x7F || first == ' ' || malformed;
        if (blank) {
            if (!shown.empty() && shown.back() != ' ') shown += ' ';
        } else {
            shown.append(name, i, length);
        }
        i += length;
    }
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();

    if (shown.size() <= kDeviceNameLength) return shown;
    constexpr size_t kMark = 3;  // "..."
    shown.resize(Text::Utf8CutLength(shown, kDeviceNameLength - kMark));
    while (!shown.empty() && shown.back() == ' ') shown.pop_back();
    return shown + "...";
}
