#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace Loom {

enum class HtmlTokenKind {
    Text,      // a run of characters drawn as they are
    Blank,     // one ' ', drawn on its own
    LineFeed,  // a '\n' in the text
    Tag,       // an opening tag: letter and argument
    CloseTag,  // a closing tag: letter
};

// One piece of tag-annotated text. For Text and Blank, [start, start+length)
// is the text to draw; for Tag, it is the argument (leading blanks skipped,
// empty when there is none).
struct THtmlToken {
    HtmlTokenKind kind = HtmlTokenKind::Text;
    char tag = 0;
    size_t start = 0;
    size_t length = 0;
};

// Splits tag-annotated text into runs, blanks, line feeds and tags. Tags are
// written <x arg> or {x arg} (opener and closer need not match), closing
// tags </x> or {/x}; <{> and <}> give a brace, {<} and {>} an angle
// bracket; a '<' or '{' that starts none of these is text. Everything
// between <r> and the next </r> (either bracket style) is text. A tag
// without a closer runs to the end of the text. The text is UTF-8, stepped
// over by whole characters (a byte that starts none is one by itself).
class CHtmlTokenizer {
public:
    static std::vector<THtmlToken> Tokenize(const char* text);

    // The length of the UTF-8 character at text[pos] (1 to 4; 0 at the end).
    static size_t CharLength(const char* text, size_t pos, size_t end);
    // True for lower-case ASCII letters, the tag names.
    static bool IsTagLetter(char c) { return c >= 'a' && c <= 'z'; }
};

}  // namespace Loom
