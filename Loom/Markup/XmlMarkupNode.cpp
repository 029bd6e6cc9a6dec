#include "Loom/Markup/XmlMarkupNode.h"

#include <cstring>

#include "Loom/Markup/XmlMarkup.h"
#include "platform/Utf8.h"

namespace Loom {

namespace {

inline bool IsWhite(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 32;
}

}  // namespace

CXmlMarkupNode::CXmlMarkupNode(const CXmlMarkup* owner, uint32_t index) {
    // A handle outside the table (or on the reserved record) stays invalid.
    if (owner != nullptr && index != 0 && index < owner->GetElementCount()) {
        owner_ = owner;
        index_ = index;
    }
}

CXmlMarkupNode CXmlMarkupNode::GetSibling() const {
    if (!IsValid()) return CXmlMarkupNode();
    return CXmlMarkupNode(owner_, owner_->GetElement(index_).sibling);
}

CXmlMarkupNode CXmlMarkupNode::GetChild() const {
    if (!IsValid()) return CXmlMarkupNode();
    return CXmlMarkupNode(owner_, owner_->GetElement(index_).child);
}

CXmlMarkupNode CXmlMarkupNode::GetParent() const {
    if (!IsValid()) return CXmlMarkupNode();
    return CXmlMarkupNode(owner_, owner_->GetElement(index_).parent);
}

bool CXmlMarkupNode::HasChildren() const { return IsValid() && owner_->GetElement(index_).child != 0; }

const char* CXmlMarkupNode::GetName() const {
    if (!IsValid()) return "";
    return owner_->TextAt(owner_->GetElement(index_).name);
}

const char* CXmlMarkupNode::GetValue() const {
    if (!IsValid()) return "";
    return owner_->TextAt(owner_->GetElement(index_).text);
}

bool CXmlMarkupNode::HasAttributes() const { return GetAttributeCount() > 0; }

int CXmlMarkupNode::GetAttributeCount() const {
    if (!IsValid()) return 0;
    IndexAttributes();
    return attributeCount_;
}

const char* CXmlMarkupNode::GetAttributeName(int i) const {
    if (i < 0 || i >= GetAttributeCount()) return "";
    return owner_->TextAt(attributes_[i][0]);
}

const char* CXmlMarkupNode::GetAttributeValue(int i) const {
    if (i < 0 || i >= GetAttributeCount()) return "";
    return owner_->TextAt(attributes_[i][1]);
}

bool CXmlMarkupNode::GetAttributeValue(const char* name, char* buffer, size_t size) const {
    if (name == nullptr) return false;
    const int count = GetAttributeCount();
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(owner_->TextAt(attributes_[i][0]), name) != 0) continue;
        if (buffer == nullptr || size == 0) return true;
        const char* value = owner_->TextAt(attributes_[i][1]);
        const size_t limit = size - 1 < kMaxCopiedValue ? size - 1 : kMaxCopiedValue;
        size_t n = 0;
        // Whole characters only: a cut never leaves part of a UTF-8 sequence.
        while (value[n] != '\0') {
            const size_t step = static_cast<unsigned char>(value[n]) < 0x80
                                    ? 1
                                    : static_cast<size_t>(Text::Utf8Next(value + n) - (value + n));
            if (n + step > limit) break;
            n += step;
        }
        std::memcpy(buffer, value, n);
        buffer[n] = '\0';
        return true;
    }
    return false;
}

// The parser left the start tag as: name NUL, then per attribute its name
// NUL-terminated, blanks (the "=" among them), a double quote and the value
// NUL-terminated, followed by blanks. The tag ends where the element's text
// begins (or at a ">").
void CXmlMarkupNode::IndexAttributes() const {
    if (indexed_) return;
    indexed_ = true;
    attributeCount_ = 0;
    const CXmlMarkup::TElement& element = owner_->GetElement(index_);
    const char* p = owner_->TextAt(element.name);
    p += std::strlen(p) + 1;
    const char* end = owner_->TextAt(element.text);
    while (p < end && attributeCount_ < kMaxAttributes) {
        while (p < end && IsWhite(*p)) ++p;
        if (p >= end || *p == '>' || *p == '/') break;
        const char* name = p;
        p += std::strlen(p) + 1;
        while (p < end && IsWhite(*p)) ++p;
        if (p >= end || *p != '"') break;
        const char* value = p + 1;
        p = value + std::strlen(value) + 1;
        attributes_[attributeCount_][0] = static_cast<uint32_t>(name - owner_->TextAt(0));
        attributes_[attributeCount_][1] = static_cast<uint32_t>(value - owner_->TextAt(0));
        ++attributeCount_;
    }
}

}  // namespace Loom
