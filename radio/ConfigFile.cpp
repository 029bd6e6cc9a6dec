#include "radio/ConfigFile.h"

#include "radio/ConfigFileKeys.h"
#include "platform/Utf8.h"

namespace {

constexpr char kLineEnd[] = "\r\r\n";
constexpr char kSuffix[] = ".cfg";
constexpr size_t kSuffixLength = sizeof kSuffix - 1;
// Longer paths (in characters, whatever their bytes in UTF-8) are kept as
// chosen, so that the suffix never pushes a path past 259 characters.
constexpr size_t kLongestPathForSuffix = 249;

std::string ValueOf(const RadioSettings& settings, const ConfigKey& key) {
    switch (key.kind) {
    case ConfigKey::Kind::Frequency:
        return settings.Frequency(key.group, key.row);
    case ConfigKey::Kind::Text:
        return settings.Text(key.field);
    case ConfigKey::Kind::Position:
        return std::to_string(settings.Selection(key.list));
    }
    return {};
}

}  // namespace

std::vector<std::string> ExportConfigLines(const RadioSettings& settings) {
    std::vector<std::string> lines;
    for (const ConfigKey& key : ConfigKeysInFileOrder())
        lines.push_back(key.text + "," + ValueOf(settings, key) + kLineEnd);
    return lines;
}

std::string ExportConfigText(const RadioSettings& settings) {
    std::string text;
    for (const std::string& line : ExportConfigLines(settings)) text += line;
    return text;
}

ConfigImportReport ImportConfigText(RadioSettings& settings, const std::string& bytes) {
    ConfigFileImport import(settings);
    import.Feed(bytes.data(), bytes.size());
    import.Finish();
    return import.Report();
}

std::string WithConfigSuffix(const std::string& path) {
    const bool endsInSuffix =
        path.size() > kSuffixLength && path.compare(path.size() - kSuffixLength, kSuffixLength, kSuffix) == 0;
    if (endsInSuffix || Text::Utf8CharCount(path) > kLongestPathForSuffix) return path;
    return path + kSuffix;
}
