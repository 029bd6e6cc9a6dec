#include "Loom/Core/AttributeList.h"

#include <cstring>

namespace Loom {

TReadStatus ReadAttributeList(const char* list,
                              const std::function<void(const std::string&, const std::string&)>& apply) {
    TReadStatus status;
    if (list == nullptr || *list == '\0') return status;
    const char* p = list;
    for (;;) {
        const char* eq = std::strchr(p, '=');
        if (eq == nullptr || eq[1] != '"') {
            status.ok = false;
            status.pos = static_cast<size_t>((eq ? eq + 1 : p + std::strlen(p)) - list);
            return status;
        }
        const char* value = eq + 2;
        const char* close = std::strchr(value, '"');
        if (close == nullptr) {
            status.ok = false;
            status.pos = static_cast<size_t>(value + std::strlen(value) - list);
            return status;
        }
        apply(std::string(p, eq), std::string(value, close));
        p = close + 1;
        if (*p == '\0') break;
        // Exactly one blank separates two pairs.
        if (*p != ' ' || p[1] == ' ') {
            status.ok = false;
            status.pos = static_cast<size_t>(p - list) + (*p == ' ' ? 1 : 0);
            return status;
        }
        ++p;
    }
    status.pos = static_cast<size_t>(p - list);
    return status;
}

}  // namespace Loom
