// The markup parser on arbitrary bytes (cut at the first NUL, as Load sees
// them): every node is walked and everything it hands out is read, every
// attribute by index and by name into a 500-byte buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "Loom/Markup/XmlMarkup.h"

namespace {

void Walk(const Loom::CXmlMarkupNode& first, int depth) {
    char buffer[500];
    for (Loom::CXmlMarkupNode node = first; node.IsValid(); node = node.GetSibling()) {
        // The parser refuses deeper documents.
        if (depth > Loom::CXmlMarkup::kMaxDepth) std::abort();
        volatile size_t sum = std::strlen(node.GetName()) + std::strlen(node.GetValue());
        const int count = node.GetAttributeCount();
        if (count < 0 || count > Loom::CXmlMarkupNode::kMaxAttributes) std::abort();
        for (int i = 0; i < count; ++i) {
            const char* name = node.GetAttributeName(i);
            sum = sum + std::strlen(name) + std::strlen(node.GetAttributeValue(i));
            if (!node.GetAttributeValue(name, buffer, sizeof buffer)) std::abort();
            if (std::strlen(buffer) > Loom::CXmlMarkupNode::kMaxCopiedValue) std::abort();
        }
        if (node.GetChild().IsValid() && std::strcmp(node.GetChild().GetParent().GetName(), node.GetName()) != 0)
            std::abort();
        Walk(node.GetChild(), depth + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    Loom::CXmlMarkup doc;
    if (doc.Load(text.c_str())) {
        Walk(doc.GetRoot(), 1);
    } else {
        if (doc.GetRoot().IsValid() || doc.GetLastErrorMessage()[0] == '\0') std::abort();
        if (std::strlen(doc.GetLastErrorLocation()) >= Loom::CXmlMarkup::kErrorLocationSize) std::abort();
    }
    return 0;
}
