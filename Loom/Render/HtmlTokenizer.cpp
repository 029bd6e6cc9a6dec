#include "Loom/Render/HtmlTokenizer.h"

#include <cstring>

#include "platform/Utf8.h"

namespace Loom {

namespace {

bool IsOpener(char c) { return c == '<' || c == '{'; }
bool IsCloser(char c) { return c == '>' || c == '}'; }
bool IsSpace(char c) { return c == ' ' || c == '\t'; }

// Walks one text; each Scan* consumes what starts at pos_.
class Scanner {
public:
    explicit Scanner(const char* text) : text_(text), end_(std::strlen(text)) {}

    std::vector<THtmlToken> Run() {
        while (pos_ < end_) {
            if (IsOpener(text_[pos_]) && ScanMarkup()) continue;
            ScanText(end_);
        }
        return std::move(tokens_);
    }

private:
    void Emit(HtmlTokenKind kind, size_t start, size_t length, char tag = 0) {
        tokens_.push_back(THtmlToken{kind, tag, start, length});
    }

    // Offset of the next '>' or '}' at or after pos, or end_.
    size_t FindCloser(size_t pos) const {
        while (pos < end_ && !IsCloser(text_[pos])) pos += CHtmlTokenizer::CharLength(text_, pos, end_);
        return pos < end_ ? pos : end_;
    }

    // A tag, closing tag or escape at pos_; false if the opener is plain text.
    bool ScanMarkup() {
        const char open = text_[pos_];
        const char c1 = pos_ + 1 < end_ ? text_[pos_ + 1] : '\0';
        const char c2 = pos_ + 2 < end_ ? text_[pos_ + 2] : '\0';
        bool braceEscape = open == '<' && (c1 == '{' || c1 == '}') && c2 == '>';
        bool angleEscape = open == '{' && (c1 == '<' || c1 == '>') && c2 == '}';
        if (braceEscape || angleEscape) {
            Emit(HtmlTokenKind::Text, pos_ + 1, 1);
            pos_ += 3;
            return true;
        }
        if (c1 == '/' && CHtmlTokenizer::IsTagLetter(c2)) {
            Emit(HtmlTokenKind::CloseTag, pos_ + 2, 0, c2);
            size_t close = FindCloser(pos_ + 3);
            pos_ = close < end_ ? close + 1 : end_;
            return true;
        }
        if (!CHtmlTokenizer::IsTagLetter(c1) || !(IsSpace(c2) || IsCloser(c2))) return false;
        size_t arg = pos_ + 2;
        while (arg < end_ && IsSpace(text_[arg])) ++arg;
        size_t close = FindCloser(arg);
        pos_ = close < end_ ? close + 1 : end_;
        if (c1 == 'r') {
            ScanRaw();
            return true;
        }
        Emit(HtmlTokenKind::Tag, arg, close - arg, c1);
        return true;
    }

    // Raw text after an r tag, up to the closing r tag in either style.
    void ScanRaw() {
        size_t stop = pos_;
        while (stop < end_ &&
               !(IsOpener(text_[stop]) && stop + 2 < end_ && text_[stop + 1] == '/' && text_[stop + 2] == 'r'))
            stop += CHtmlTokenizer::CharLength(text_, stop, end_);
        while (pos_ < stop) ScanText(stop, /*raw=*/true);
        if (stop < end_) {
            size_t close = FindCloser(stop + 3);
            pos_ = close < end_ ? close + 1 : end_;
        }
    }

    // A run of text, a blank or a line feed, ending before limit.
    void ScanText(size_t limit, bool raw = false) {
        char c = text_[pos_];
        if (c == ' ' || c == '\n') {
            Emit(c == ' ' ? HtmlTokenKind::Blank : HtmlTokenKind::LineFeed, pos_, 1);
            ++pos_;
            return;
        }
        size_t start = pos_;
        do {
            pos_ += CHtmlTokenizer::CharLength(text_, pos_, limit);
        } while (pos_ < limit && text_[pos_] != ' ' && text_[pos_] != '\n' && (raw || !IsOpener(text_[pos_])));
        Emit(HtmlTokenKind::Text, start, pos_ - start);
    }

    const char* text_;
    size_t end_;
    size_t pos_ = 0;
    std::vector<THtmlToken> tokens_;
};

}  // namespace

size_t CHtmlTokenizer::CharLength(const char* text, size_t pos, size_t end) {
    if (pos >= end) return 0;
    return Text::Utf8CharLength(text + pos, end - pos);
}

std::vector<THtmlToken> CHtmlTokenizer::Tokenize(const char* text) {
    if (text == nullptr) return {};
    return Scanner(text).Run();
}

}  // namespace Loom
