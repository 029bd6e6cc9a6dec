#include "Loom/Render/ImageStringParser.h"

#include <algorithm>
#include <climits>

#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Sums in 64 bits and clamps, so huge offsets cannot overflow.
int ClampedSum(int a, int b) {
    long long s = static_cast<long long>(a) + b;
    return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, s)));
}

TRect ReadRect(const std::string& value) {
    int v[4] = {0, 0, 0, 0};
    ValueReaders::ReadNumberList(value.c_str(), v, 4);
    return TRect{v[0], v[1], v[2], v[3]};
}

}  // namespace

CImageStringParser::CImageStringParser(const char* image, const TRect& item, DpiScale scale)
    : item_(item), scale_(scale) {
    current_.name = image ? image : "";
    current_.dest = item;
}

TImageStringStatus CImageStringParser::Parse(const char* text) {
    named_ = false;  // pending images are counted per string
    TImageStringStatus status;
    if (text == nullptr) return status;
    size_t p = 0;
    for (;;) {
        while (IsBlank(text[p])) ++p;
        if (text[p] == '\0') break;
        size_t keyStart = p;
        while (text[p] != '\0' && text[p] != '=' && !IsBlank(text[p])) ++p;
        std::string key(text + keyStart, p - keyStart);
        while (IsBlank(text[p])) ++p;
        if (text[p] != '=') return {ImageStringStop::NoEquals, p};
        ++p;
        while (IsBlank(text[p])) ++p;
        if (text[p] != '\'') return {ImageStringStop::NoOpeningQuote, p};
        size_t valueStart = ++p;
        while (text[p] != '\0' && text[p] != '\'') ++p;
        if (text[p] != '\'') return {ImageStringStop::NoClosingQuote, p};
        std::string value(text + valueStart, p - valueStart);
        ++p;
        if (!value.empty()) Apply(key, value);
        if (text[p] == '\0') break;
        if (!IsBlank(text[p])) return {ImageStringStop::NoSeparator, p};
        ++p;
    }
    status.pos = p;
    return status;
}

void CImageStringParser::DrawPending() {
    if (named_ && !current_.name.empty()) steps_.push_back(current_);
    named_ = false;
}

void CImageStringParser::Apply(const std::string& key, const std::string& value) {
    if (key == "file" || key == "res") {
        DrawPending();
        current_.name = value;
        if (key == "file") {
            // A file is never a resource, whatever type an earlier image had.
            current_.type.clear();
            named_ = true;
        }
    } else if (key == "restype") {
        DrawPending();
        current_.type = value;
        named_ = true;
    } else if (key == "dest") {
        const TRect r = scale_.ScaleEdges(ReadRect(value));
        current_.dest.left = ClampedSum(item_.left, r.left);
        current_.dest.top = ClampedSum(item_.top, r.top);
        current_.dest.right = std::min(item_.right, ClampedSum(item_.left, r.right));
        current_.dest.bottom = std::min(item_.bottom, ClampedSum(item_.top, r.bottom));
    } else if (key == "source") {
        current_.source = ReadRect(value);
    } else if (key == "corner") {
        current_.corner = ReadRect(value);
    } else if (key == "mask") {
        current_.mask = ValueReaders::ReadColor(value.c_str());
    } else if (key == "fade") {
        current_.fade = static_cast<uint8_t>(std::max(0, std::min(255, ValueReaders::ReadInt(value.c_str()))));
    } else if (key == "hole") {
        current_.hole = ValueReaders::ReadBool(value.c_str());
    } else if (key == "xtiled") {
        current_.xtiled = ValueReaders::ReadBool(value.c_str());
    } else if (key == "ytiled") {
        current_.ytiled = ValueReaders::ReadBool(value.c_str());
    }
}

std::vector<TImageDrawStep> CImageStringParser::Finish() {
    if (!current_.name.empty()) steps_.push_back(current_);
    return std::move(steps_);
}

std::vector<TImageDrawStep> CImageStringParser::Steps(const char* image, const char* modify, const TRect& item,
                                                      DpiScale scale) {
    CImageStringParser parser(image, item, scale);
    parser.Parse(image);
    parser.Parse(modify);
    return parser.Finish();
}

}  // namespace Loom
