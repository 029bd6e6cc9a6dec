#include "Loom/Core/TextRules.h"

namespace Loom {

std::string ExpandLineBreakTags(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 3, "<n>") == 0) {
            out += "\r\n";
            i += 3;
        } else {
            out += text[i++];
        }
    }
    return out;
}

std::string WithTrailingSeparator(const std::string& path) {
    if (path.empty()) return path;
    const char last = path.back();
    if (last == '\\' || last == '/') return path;
    return path + '\\';
}

std::string DirectoryOf(const std::string& file) {
    const std::size_t cut = file.find_last_of("\\/");
    if (cut == std::string::npos) return std::string();
    return file.substr(0, cut + 1);
}

char UpperAscii(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    return c;
}

}  // namespace Loom
