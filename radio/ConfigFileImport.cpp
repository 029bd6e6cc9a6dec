#include "radio/ConfigFileImport.h"

#include <algorithm>
#include <cstring>

#include "radio/ConfigFileKeys.h"
#include "radio/RadioConfig.h"
#include "platform/DecimalText.h"

namespace {

// The first two fields of a line; false when fewer than two remain once an
// empty last field is dropped ("Channel0," at the end of a file).
bool SplitKeyAndValue(const std::string& line, std::string& key, std::string& value) {
    const size_t comma = line.find(',');
    if (comma == std::string::npos) return false;
    size_t end = line.find(',', comma + 1);
    if (end == std::string::npos) {
        end = line.size();
        if (end == comma + 1) return false;
    }
    key.assign(line, 0, comma);
    value.assign(line, comma + 1, end - comma - 1);
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) value.pop_back();
    return true;
}

void ApplyValue(RadioSettings& settings, const ConfigKey& key, const std::string& value) {
    switch (key.kind) {
    case ConfigKey::Kind::Frequency:
        settings.SetFrequency(key.group, key.row, value);
        break;
    case ConfigKey::Kind::Text:
        settings.Text(key.field) = value;
        break;
    case ConfigKey::Kind::Position:
        RadioConfig::Select(settings, key.list, ReadLeadingInt(value));
        break;
    }
}

}  // namespace

ConfigFileImport::ConfigFileImport(RadioSettings& settings) : settings(settings) { pending.reserve(kMaxLineLength); }

void ConfigFileImport::Feed(const char* data, size_t size) {
    while (size > 0) {
        const size_t room = kMaxLineLength - pending.size();
        const size_t span = std::min(size, room);
        const void* lf = std::memchr(data, '\n', span);
        const size_t take = lf ? static_cast<const char*>(lf) - data + 1 : span;
        pending.append(data, take);
        data += take;
        size -= take;
        if (lf || pending.size() == kMaxLineLength) TakeLine();
    }
}

void ConfigFileImport::Finish() {
    if (!pending.empty()) TakeLine();
}

void ConfigFileImport::TakeLine() {
    ++report.lines;
    if (ApplyLine(pending))
        ++report.applied;
    else if (report.firstSkipped == 0)
        report.firstSkipped = report.lines;
    pending.clear();
}

bool ConfigFileImport::ApplyLine(const std::string& line) {
    std::string keyField, value;
    if (!SplitKeyAndValue(line, keyField, value)) return false;
    const ConfigKey* key = FindConfigKey(keyField);
    if (!key) return false;
    ApplyValue(settings, *key, value);
    return true;
}
