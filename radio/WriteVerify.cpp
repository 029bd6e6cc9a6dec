#include "radio/WriteVerify.h"

#include <algorithm>

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The canonical form of a plain decimal number: no leading zeros before the
// point, no trailing zeros after it, no point without a fraction ("0430.10"
// -> "430.1", "0.0" -> "0"). False for anything else.
bool CanonicalDecimal(const std::string& text, std::string& canonical) {
    const std::string number = Trimmed(text);
    const size_t point = number.find('.');
    std::string whole = number.substr(0, point);
    std::string fraction = point == std::string::npos ? std::string() : number.substr(point + 1);
    if (whole.empty() && fraction.empty()) return false;
    if ((whole + fraction).find_first_not_of("0123456789") != std::string::npos) return false;
    whole.erase(0, std::min(whole.find_first_not_of('0'), whole.size()));
    fraction.erase(fraction.find_last_not_of('0') + 1);
    canonical = (whole.empty() ? "0" : whole) + (fraction.empty() ? "" : "." + fraction);
    return true;
}

}  // namespace

bool SameValue(VerifyKind kind, const std::string& written, const std::string& read) {
    std::string a, b;
    if (kind == VerifyKind::Decimal && CanonicalDecimal(written, a) && CanonicalDecimal(read, b)) return a == b;
    return Trimmed(written) == Trimmed(read);
}

std::string FormatMismatches(const std::vector<VerifyMismatch>& mismatches, Language language) {
    const bool chinese = language == Language::Chinese;
    std::string text = chinese ? "电台没有保存以下设置:" : "The radio does not hold these settings:";
    for (const VerifyMismatch& m : mismatches) {
        text += "\n" + m.field + (chinese ? ": 写入 " : ": written ") + Trimmed(m.written);
        text += (chinese ? ", 读回 " : ", read ") + Trimmed(m.read);
    }
    return text;
}
