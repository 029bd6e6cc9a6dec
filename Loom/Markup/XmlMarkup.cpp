#include "Loom/Markup/XmlMarkup.h"

#include <cstring>
#include <utility>

#include "platform/Utf8.h"

namespace Loom {

namespace {

// Character classes of one byte. Whitespace is every code from 1 to 32; a
// name character is an ASCII letter, a digit, "_" or ":". The data classes
// mark where the in-place copy of character data must stop and look:
// the end, "&", either terminator and any byte of a UTF-8 sequence; the
// collapsing variant stops at whitespace too.
enum : unsigned char { kWhite = 1, kName = 2, kDataStop = 4, kCollapseStop = 8 };

struct CharClasses {
    unsigned char of[256] = {};
    CharClasses() {
        for (int c = 1; c <= 32; ++c) of[c] |= kWhite | kCollapseStop;
        for (int c = 'a'; c <= 'z'; ++c) of[c] |= kName;
        for (int c = 'A'; c <= 'Z'; ++c) of[c] |= kName;
        for (int c = '0'; c <= '9'; ++c) of[c] |= kName;
        of[static_cast<unsigned char>('_')] |= kName;
        of[static_cast<unsigned char>(':')] |= kName;
        for (int c = 0x80; c <= 0xFF; ++c) of[c] |= kDataStop | kCollapseStop;
        for (unsigned char c : {'\0', '&', '<', '"'}) of[c] |= kDataStop | kCollapseStop;
    }
};
const CharClasses kClasses;

inline unsigned char ClassOf(const char* p) { return kClasses.of[static_cast<unsigned char>(*p)]; }

// Copies at most size - 1 bytes of whole characters of text into buffer.
void CopyWhole(char* buffer, size_t size, const char* text) {
    size_t n = 0;
    if (text != nullptr) {
        while (text[n] != '\0') {
            const unsigned char c = static_cast<unsigned char>(text[n]);
            const size_t step = c < 0x80 ? 1 : static_cast<size_t>(Text::Utf8Next(text + n) - (text + n));
            if (n + step > size - 1) break;
            n += step;
        }
        std::memcpy(buffer, text, n);
    }
    buffer[n] = '\0';
}

}  // namespace

// The in-place parser of one load. Every step below keeps the cursor on a
// character boundary: ASCII bytes are stepped over directly, anything else
// by whole UTF-8 characters.
class CXmlMarkup::Parser {
public:
    Parser(CXmlMarkup& doc) : doc_(doc), base_(doc.text_.get()) {}

    bool Run() {
        char* p = base_;
        return ParseLevel(p, 0, 0);
    }

private:
    static void SkipWhite(char*& p) {
        while (ClassOf(p) & kWhite) ++p;
    }
    static void SkipName(char*& p) {
        while (ClassOf(p) & kName) ++p;
    }
    char* Next(char* p) const {
        return static_cast<unsigned char>(*p) < 0x80 ? p + 1 : const_cast<char*>(Text::Utf8Next(p));
    }
    uint32_t Offset(const char* p) const { return static_cast<uint32_t>(p - base_); }
    bool Fail(const char* message, const char* where) { return doc_.Fail(message, where); }

    bool ParseLevel(char*& p, uint32_t parent, int depth);
    bool ParseElement(char*& p, uint32_t parent, uint32_t& previous, int depth);
    bool ParseContent(char*& p, uint32_t index, uint32_t parent, const char* name, size_t nameLength, int depth);
    bool ParseAttributes(char*& p);
    char* ParseData(char*& p, char terminator);
    void SkipDeclaration(char*& p);
    uint32_t NewElement(uint32_t parent, uint32_t previous, const char* name);

    CXmlMarkup& doc_;
    char* base_;
};

// The elements of one level, each after optional whitespace, up to "</" (the
// parent's end tag) or the end of the text. A document may end without its
// end tags only while the open elements are within the top two levels.
bool CXmlMarkup::Parser::ParseLevel(char*& p, uint32_t parent, int depth) {
    uint32_t previous = 0;
    for (;;) {
        SkipWhite(p);
        if (*p == '\0') return parent <= 1 || Fail("Expected start tag", p);
        if (*p != '<') return Fail("Expected start tag", p);
        if (p[1] == '/') return true;
        *p++ = '\0';
        SkipWhite(p);
        if (*p == '!' || *p == '?') {
            SkipDeclaration(p);
            continue;
        }
        // Deeper documents would exhaust the stack of this parser and of
        // the builder that walks the tree; they are refused.
        if (depth >= kMaxDepth) return Fail("Nesting too deep", p);
        if (!ParseElement(p, parent, previous, depth + 1)) return false;
    }
}

// "<!" runs to the next "->", "<?" to the next "?>"; without one, to the end.
void CXmlMarkup::Parser::SkipDeclaration(char*& p) {
    const char first = *p == '!' ? '-' : '?';
    ++p;
    while (*p != '\0') {
        if (p[0] == first && p[1] == '>') {
            p += 2;
            return;
        }
        p = Next(p);
    }
}

uint32_t CXmlMarkup::Parser::NewElement(uint32_t parent, uint32_t previous, const char* name) {
    std::vector<TElement>& elements = doc_.elements_;
    if (elements.size() == elements.capacity()) {
        const size_t capacity = elements.capacity();
        elements.reserve(capacity / 2 + capacity + 500);
    }
    const uint32_t index = static_cast<uint32_t>(elements.size());
    elements.push_back(TElement{Offset(name), 0, 0, parent, 0});
    if (previous == 0)
        elements[parent].child = index;
    else
        elements[previous].sibling = index;
    return index;
}

// One element, the cursor just after its "<" (and any whitespace).
bool CXmlMarkup::Parser::ParseElement(char*& p, uint32_t parent, uint32_t& previous, int depth) {
    const uint32_t index = NewElement(parent, previous, p);
    previous = index;
    char* name = p;
    SkipName(p);
    char* nameEnd = p;
    if (*p == '\0') return Fail("Error parsing element name", p);
    if (!ParseAttributes(p)) return false;
    SkipWhite(p);
    if (p[0] == '/' && p[1] == '>') {
        doc_.elements_[index].text = Offset(p);
        *p = '\0';
        p += 2;
    } else if (*p == '>') {
        ++p;
        doc_.elements_[index].text = Offset(p);
        if (!ParseContent(p, index, parent, name, static_cast<size_t>(nameEnd - name), depth)) return false;
    } else {
        return Fail("Expected start-tag closing", p);
    }
    *nameEnd = '\0';
    return true;
}

// After the ">" of a start tag: the text, the children and the end tag.
bool CXmlMarkup::Parser::ParseContent(char*& p, uint32_t index, uint32_t parent, const char* name, size_t nameLength,
                                      int depth) {
    char* textEnd = ParseData(p, '<');
    if (*p == '\0' && parent <= 1) {
        *textEnd = '\0';
        return true;
    }
    if (*p != '<') return Fail("Expected end-tag start", p);
    if (p[1] != '/') {
        // The "<" itself is overwritten by the child's level; a text whose
        // entities shrank it ends earlier and is closed here.
        if (textEnd != p) *textEnd = '\0';
        if (!ParseLevel(p, index, depth)) return false;
        if (*p == '\0') return true;  // a root left open at the end of the text
    }
    *textEnd = '\0';
    p += 2;
    SkipWhite(p);
    if (std::strncmp(p, name, nameLength) != 0) return Fail("Unmatched closing tag", p);
    p += nameLength;
    SkipWhite(p);
    if (*p != '>') return Fail("Unmatched closing tag", p);
    ++p;
    return true;
}

// The attributes after an element name: name="value" pairs, each name
// NUL-terminated, its "=" made a blank, its value decoded in place and
// NUL-terminated, its closing quote made a blank. This leaves the start tag
// in the shape the node handles index later.
bool CXmlMarkup::Parser::ParseAttributes(char*& p) {
    if (*p == '>' || (p[0] == '/' && p[1] == '>')) return true;
    // The character after the name becomes its end, all of it: every byte
    // of a UTF-8 character is blanked, so that neither this scan nor the
    // node's later one reads part of it as an attribute name.
    char* after = Next(p);
    *p++ = '\0';
    while (p < after) *p++ = ' ';
    for (;;) {
        SkipWhite(p);
        if (*p == '\0' || *p == '>' || *p == '/') return true;
        char* nameEnd = p;
        SkipName(nameEnd);
        p = nameEnd;
        SkipWhite(p);
        if (*p != '=') return Fail("Error while parsing attributes", p);
        *p++ = ' ';
        *nameEnd = '\0';
        SkipWhite(p);
        // Only double quotes open a value, so single quotes are plain text in it.
        if (*p != '"') return Fail("Expected attribute value", p);
        ++p;
        char* valueEnd = ParseData(p, '"');
        if (*p == '\0') return Fail("Error while parsing attribute string", p);
        *valueEnd = '\0';
        if (valueEnd != p) *p = ' ';
        ++p;
    }
}

// Character data up to the terminator (or the end of the text), decoded onto
// itself. Returns the end of the decoded text; the bytes from there up to the
// cursor are blanks.
char* CXmlMarkup::Parser::ParseData(char*& p, char terminator) {
    const unsigned char stop = doc_.preserveWhitespace_ ? kDataStop : kCollapseStop;
    char* d = p;
    for (;;) {
        if (d == p) {
            // Nothing decoded yet: only scan. Four bytes a round; a byte is
            // read only after the one before it proved not to be the end.
            for (;;) {
                if (ClassOf(p) & stop) break;
                if (ClassOf(p + 1) & stop) {
                    p += 1;
                    break;
                }
                if (ClassOf(p + 2) & stop) {
                    p += 2;
                    break;
                }
                if (ClassOf(p + 3) & stop) {
                    p += 3;
                    break;
                }
                p += 4;
            }
            d = p;
        } else {
            while (!(ClassOf(p) & stop)) *d++ = *p++;
        }
        const char c = *p;
        if (c == terminator || c == '\0') break;
        if (c == '&') {
            char decoded = '&';
            size_t length = 1;
            if (p[1] == 'a' && p[2] == 'm' && p[3] == 'p' && p[4] == ';') {
                length = 5;
            } else if (p[1] == 'l' && p[2] == 't' && p[3] == ';') {
                decoded = '<', length = 4;
            } else if (p[1] == 'g' && p[2] == 't' && p[3] == ';') {
                decoded = '>', length = 4;
            } else if (p[1] == 'q' && p[2] == 'u' && p[3] == 'o' && p[4] == 't' && p[5] == ';') {
                decoded = '"', length = 6;
            } else if (p[1] == 'a' && p[2] == 'p' && p[3] == 'o' && p[4] == 's' && p[5] == ';') {
                decoded = '\'', length = 6;
            }
            *d++ = decoded;
            p += length;
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            const char* n = Text::Utf8Next(p);
            while (p < n) *d++ = *p++;
        } else if (ClassOf(p) & kWhite) {
            // Only when whitespace is collapsed: the blank stays, the rest goes.
            *d++ = *p++;
            SkipWhite(p);
        } else {
            *d++ = *p++;  // the other terminator
        }
    }
    if (d != p) std::memset(d, ' ', static_cast<size_t>(p - d));
    return d;
}

CXmlMarkup::CXmlMarkup(const TMarkupPlatform& platform) : platform_(&platform) {}

bool CXmlMarkup::Load(const char* text) {
    if (text == nullptr) text = "";
    const size_t size = std::strlen(text);
    std::unique_ptr<char[]> copy(new char[size + 1]);
    std::memcpy(copy.get(), text, size + 1);
    return Parse(std::move(copy), size);
}

bool CXmlMarkup::LoadFromMem(const unsigned char* bytes, size_t size) {
    if (bytes == nullptr) size = 0;
    if (size > 2 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
        bytes += 3;
        size -= 3;
    }
    // The text is kept as UTF-8; bytes that are no UTF-8 are drawn as the
    // replacement character when they reach the screen.
    std::unique_ptr<char[]> copy(new char[size + 1]);
    if (size > 0) std::memcpy(copy.get(), bytes, size);
    copy[size] = '\0';
    return Parse(std::move(copy), size);
}

bool CXmlMarkup::LoadFromFile(const char* name) {
    Clear();
    ClearErrors();
    std::string bytes;
    switch (platform_->readFile(name == nullptr ? "" : name, bytes)) {
    case MarkupFileError::None:
        break;
    case MarkupFileError::Open:
        return Fail("Error opening file", nullptr);
    case MarkupFileError::Empty:
        return Fail("File is empty", nullptr);
    case MarkupFileError::TooLarge:
        return Fail("File too large", nullptr);
    case MarkupFileError::Read:
        return Fail("Could not read file", nullptr);
    }
    return LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

CXmlMarkupNode CXmlMarkup::GetRoot() const {
    if (elements_.size() < 2) return CXmlMarkupNode();
    return CXmlMarkupNode(this, 1);
}

bool CXmlMarkup::Parse(std::unique_ptr<char[]> text, size_t size) {
    Clear();
    ClearErrors();
    // Every offset must fit the 32-bit fields of an element record.
    if (size >= UINT32_MAX) return Fail("File too large", nullptr);
    text_ = std::move(text);
    // The first growth of an empty table: 0 / 2 + 0 + 500 records.
    elements_.reserve(500);
    elements_.push_back(TElement{0, 0, 0, 0, 0});
    if (Parser(*this).Run()) return true;
    Clear();
    return false;
}

// Records the message and the text where it happened, both cut to their
// buffers; always false. The caller empties the document.
bool CXmlMarkup::Fail(const char* message, const char* where) {
    CopyWhole(errorMessage_, sizeof errorMessage_, message);
    CopyWhole(errorLocation_, sizeof errorLocation_, where);
    return false;
}

void CXmlMarkup::Clear() {
    text_.reset();
    std::vector<TElement>().swap(elements_);
}

void CXmlMarkup::ClearErrors() {
    errorMessage_[0] = '\0';
    errorLocation_[0] = '\0';
}

}  // namespace Loom
