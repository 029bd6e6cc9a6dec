// Image strings and the value readers on arbitrary bytes: the image string
// and the modify string are the input split at its first NUL byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "Loom/Render/ImageStringParser.h"
#include "Loom/Render/ValueReaders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string input(reinterpret_cast<const char*>(data), size);
    size_t split = input.find('\0');
    std::string image = input.substr(0, split);
    std::string modify = split == std::string::npos ? std::string() : input.substr(split + 1);
    modify = modify.substr(0, modify.find('\0'));

    const Loom::TRect item{-5, 3, 120, 40};
    auto steps = Loom::CImageStringParser::Steps(image.c_str(), modify.c_str(), item);
    for (const Loom::TImageDrawStep& s : steps) {
        // Every image has a name, and a dest never reaches past the control.
        if (s.name.empty() || s.dest.right > item.right || s.dest.bottom > item.bottom) std::abort();
    }
    if (steps.size() > image.size() + modify.size() + 1) std::abort();

    int v[4];
    Loom::TReadStatus st = Loom::ValueReaders::ReadNumberList(image.c_str(), v, 4);
    if (st.pos > image.size()) std::abort();
    Loom::ValueReaders::ReadColor(image.c_str());
    Loom::ValueReaders::ReadBool(image.c_str());
    return 0;
}
