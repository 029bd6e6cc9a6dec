#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "Loom/Markup/MarkupPlatform.h"
#include "Loom/Markup/XmlMarkupNode.h"

namespace Loom {

// One parsed markup document of the toolkit's XML dialect: elements with
// attributes and text, comments and declarations skipped, the five entities
// of XML decoded, nothing validated. Parsing works in place on the document's
// own copy of the text: every name, value and text handed out points into
// that copy and lives as long as the document (until the next load).
//
// Every load returns false on failure, leaves the document empty and keeps
// the reason in GetLastErrorMessage() with the text where parsing stopped in
// GetLastErrorLocation().
class CXmlMarkup {
public:
    // Element records: offsets into the text and indexes into the table;
    // index 0 is reserved, so 0 means "none".
    struct TElement {
        uint32_t name;
        uint32_t child;
        uint32_t sibling;
        uint32_t parent;
        uint32_t text;
    };

    // Documents nested deeper than this are refused, so neither the parser
    // nor a builder walking the tree can run out of stack.
    static constexpr int kMaxDepth = 256;
    static constexpr size_t kErrorMessageSize = 100;
    static constexpr size_t kErrorLocationSize = 50;

    // The platform's files; defined here so that the portable
    // library needs no platform file of its own at link time.
    CXmlMarkup() : CXmlMarkup(DefaultMarkupPlatform()) {}
    // A document that reads through the given platform (which must outlive it).
    explicit CXmlMarkup(const TMarkupPlatform& platform);
    CXmlMarkup(const CXmlMarkup&) = delete;
    CXmlMarkup& operator=(const CXmlMarkup&) = delete;

    // Parses a copy of the NUL-terminated text.
    bool Load(const char* text);
    // Parses UTF-8 bytes as they are; a leading byte-order mark is skipped.
    bool LoadFromMem(const unsigned char* bytes, size_t size);
    // Reads resource path + name whole and parses it as LoadFromMem does.
    bool LoadFromFile(const char* name);

    // With false, whitespace after a blank in text and values is dropped.
    void SetPreserveWhitespace(bool preserve) { preserveWhitespace_ = preserve; }
    bool IsPreserveWhitespace() const { return preserveWhitespace_; }

    // The first top-level element; invalid when the document has none.
    CXmlMarkupNode GetRoot() const;
    const char* GetLastErrorMessage() const { return errorMessage_; }
    const char* GetLastErrorLocation() const { return errorLocation_; }

    // The element table, for the node handles.
    size_t GetElementCount() const { return elements_.size(); }
    const TElement& GetElement(size_t index) const { return elements_[index]; }
    const char* TextAt(uint32_t offset) const { return text_.get() + offset; }
    const TMarkupPlatform& Platform() const { return *platform_; }

private:
    class Parser;

    // Takes the text (NUL-terminated, size bytes before the NUL) and parses it.
    bool Parse(std::unique_ptr<char[]> text, size_t size);
    bool Fail(const char* message, const char* where);
    void Clear();
    void ClearErrors();

    const TMarkupPlatform* platform_;
    std::unique_ptr<char[]> text_;
    std::vector<TElement> elements_;
    bool preserveWhitespace_ = true;
    char errorMessage_[kErrorMessageSize] = {};
    char errorLocation_[kErrorLocationSize] = {};
};

}  // namespace Loom
