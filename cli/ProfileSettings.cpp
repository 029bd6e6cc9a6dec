#include "cli/ProfileSettings.h"

#include <algorithm>

#include "radio/ConfigFileKeys.h"

namespace {

// The place of a key in the profile's own order.
size_t OrderOf(const ConfigKey* key) {
    const std::vector<ConfigKey>& keys = ConfigKeysInFileOrder();
    return static_cast<size_t>(key - keys.data());
}

const ConfigKey* KeyOfLine(const std::string& line) {
    const size_t comma = line.find(',');
    return comma == std::string::npos ? nullptr : FindConfigKey(line.substr(0, comma));
}

}  // namespace

std::string ApplySettings(const std::string& profile, const std::vector<ProfileSetting>& sets) {
    std::vector<std::string> lines;
    for (size_t at = 0; at < profile.size();) {
        const size_t lf = profile.find('\n', at);
        const size_t end = lf == std::string::npos ? profile.size() : lf + 1;
        lines.push_back(profile.substr(at, end - at));
        at = end;
    }
    if (!lines.empty() && lines.back().back() != '\n') lines.back() += "\r\n";
    const std::string lineEnd = "\r\r\n";
    for (const ProfileSetting& set : sets) {
        const ConfigKey* key = FindConfigKey(set.key);
        if (key == nullptr || key->text != set.key) continue;  // the parser took only the profile's keys
        const std::string line = set.key + "," + set.value + lineEnd;
        bool replaced = false;
        for (std::string& l : lines)
            if (KeyOfLine(l) == key) l = line, replaced = true;
        if (replaced) continue;
        const auto later = std::find_if(lines.begin(), lines.end(), [&](const std::string& l) {
            const ConfigKey* k = KeyOfLine(l);
            return k != nullptr && OrderOf(k) > OrderOf(key);
        });
        lines.insert(later, line);
    }
    std::string merged;
    for (const std::string& l : lines) merged += l;
    return merged;
}
