// The attribute-list reader on arbitrary bytes (cut at the first NUL): it
// must stop inside the text and hand over only pairs it found there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Loom/Core/AttributeList.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::string list = input.substr(0, input.find('\0'));
    size_t taken = 0;
    const Loom::TReadStatus status =
        Loom::ReadAttributeList(list.c_str(), [&](const std::string& name, const std::string& value) {
            // name, '=', two quotes and the value, plus one blank between pairs.
            taken += name.size() + value.size() + 3;
            if (value.find('"') != std::string::npos || name.find('=') != std::string::npos) std::abort();
        });
    if (status.pos > list.size() || taken > list.size()) std::abort();
    return 0;
}
