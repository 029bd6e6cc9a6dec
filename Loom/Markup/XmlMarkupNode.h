#pragma once
#include <cstddef>
#include <cstdint>

namespace Loom {

class CXmlMarkup;

// A handle on one element of a CXmlMarkup, copied by value. A default handle
// (and any handle that leads nowhere) is invalid: every operation on it
// answers an invalid node, false, 0 or an empty text. The texts it hands out
// live as long as the document's current load.
class CXmlMarkupNode {
public:
    // Only the first attributes of an element are visible.
    static constexpr int kMaxAttributes = 64;
    // GetAttributeValue(name, ...) copies at most this many bytes.
    static constexpr size_t kMaxCopiedValue = 499;

    CXmlMarkupNode() = default;
    CXmlMarkupNode(const CXmlMarkup* owner, uint32_t index);

    bool IsValid() const { return owner_ != nullptr && index_ != 0; }
    CXmlMarkupNode GetSibling() const;
    CXmlMarkupNode GetChild() const;
    CXmlMarkupNode GetParent() const;
    bool HasChildren() const;

    const char* GetName() const;
    // The element's text: the character data before its first child.
    const char* GetValue() const;

    bool HasAttributes() const;
    int GetAttributeCount() const;
    // The i-th attribute in document order; empty outside 0..count-1.
    const char* GetAttributeName(int i) const;
    const char* GetAttributeValue(int i) const;
    // Looks the attribute up by exact name and copies its value into buffer:
    // at most kMaxCopiedValue bytes and never more than size - 1, cut only
    // between whole characters. False if the element has no such attribute.
    bool GetAttributeValue(const char* name, char* buffer, size_t size) const;

private:
    // Scans the start tag once, on the first question about attributes.
    void IndexAttributes() const;

    const CXmlMarkup* owner_ = nullptr;
    uint32_t index_ = 0;
    mutable bool indexed_ = false;
    mutable int attributeCount_ = 0;
    mutable uint32_t attributes_[kMaxAttributes][2] = {};
};

}  // namespace Loom
