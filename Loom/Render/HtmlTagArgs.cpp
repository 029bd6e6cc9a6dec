#include "Loom/Render/HtmlTagArgs.h"

#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t'; }

size_t SkipSpaces(const std::string& s, size_t p) {
    while (p < s.size() && IsSpace(s[p])) ++p;
    return p;
}

// The word at p (up to a blank); p moves past it.
std::string Word(const std::string& s, size_t& p) {
    p = SkipSpaces(s, p);
    size_t start = p;
    while (p < s.size() && !IsSpace(s[p])) ++p;
    return s.substr(start, p - start);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Reads key='value' pairs at p for the image name and type; stops before
// the first word that is no such pair.
void ReadImagePairs(const std::string& s, size_t& p, THtmlImageArg& image) {
    for (;;) {
        size_t q = SkipSpaces(s, p);
        size_t eq = s.find("='", q);
        if (eq == std::string::npos || eq == q || s.find(' ', q) < eq) return;
        size_t close = s.find('\'', eq + 2);
        if (close == std::string::npos) return;
        std::string key = s.substr(q, eq - q);
        std::string value = s.substr(eq + 2, close - eq - 2);
        if (key == "file" || key == "res")
            image.name = value;
        else if (key == "restype")
            image.type = value;
        p = close + 1;
    }
}

}  // namespace

THtmlFontArg CHtmlTagArgs::ParseFont(const std::string& arg) {
    THtmlFontArg font;
    size_t p = SkipSpaces(arg, 0);
    if (p < arg.size() && IsDigit(arg[p])) {
        font.byIndex = true;
        font.index = ValueReaders::ReadInt(arg.c_str() + p);
        return font;
    }
    font.face = Word(arg, p);
    std::string rest = arg.substr(p);
    std::string size = Word(arg, p);
    if (!size.empty() && IsDigit(size[0])) font.size = ValueReaders::ReadInt(size.c_str());
    // A font is a few pixels to a few hundred; anything else is a typing error.
    if (font.size < 1) font.size = 1;
    if (font.size > 500) font.size = 500;
    font.bold = rest.find("bold") != std::string::npos;
    font.underline = rest.find("underline") != std::string::npos;
    font.italic = rest.find("italic") != std::string::npos;
    return font;
}

THtmlImageArg CHtmlTagArgs::ParseImage(const std::string& arg) {
    THtmlImageArg image;
    size_t p = SkipSpaces(arg, 0);
    if (arg.compare(p, 5, "file=") == 0 || arg.compare(p, 4, "res=") == 0) {
        ReadImagePairs(arg, p, image);
    } else {
        image.name = Word(arg, p);
    }
    std::string count = Word(arg, p);
    std::string index = Word(arg, p);
    if (!count.empty()) image.count = ValueReaders::ReadInt(count.c_str());
    if (image.count < 1) image.count = 1;
    if (!index.empty()) image.index = ValueReaders::ReadInt(index.c_str());
    if (image.index < 0 || image.index >= image.count) image.index = 0;
    return image;
}

}  // namespace Loom
