#include <gtest/gtest.h>

#include <string>

#include "Loom/Render/HtmlTagArgs.h"
#include "Loom/Render/HtmlTokenizer.h"

using Loom::CHtmlTagArgs;
using Loom::CHtmlTokenizer;
using Loom::HtmlTokenKind;
using Loom::THtmlToken;

namespace {

// The tokens as text: runs in quotes, tags as {x:arg}, closing tags as {/x},
// blanks as _ and line feeds as |.
std::string Dump(const char* text) {
    std::string out;
    for (const THtmlToken& t : CHtmlTokenizer::Tokenize(text)) {
        std::string span(text + t.start, t.length);
        switch (t.kind) {
        case HtmlTokenKind::Text:
            out += "'" + span + "'";
            break;
        case HtmlTokenKind::Blank:
            out += "_";
            break;
        case HtmlTokenKind::LineFeed:
            out += "|";
            break;
        case HtmlTokenKind::Tag:
            out += std::string("{") + t.tag + ":" + span + "}";
            break;
        case HtmlTokenKind::CloseTag:
            out += std::string("{/") + t.tag + "}";
            break;
        }
    }
    return out;
}

}  // namespace

TEST(HtmlTokenizer, WordsBlanksAndLineFeeds) {
    EXPECT_EQ(Dump("ab cd\nef"), "'ab'_'cd'|'ef'");
    EXPECT_EQ(Dump(""), "");
    EXPECT_EQ(Dump(nullptr), "");
}

TEST(HtmlTokenizer, TagsInBothBracketStyles) {
    EXPECT_EQ(Dump("{b}x{/b}y"), "{b:}'x'{/b}'y'");
    EXPECT_EQ(Dump("<b>x</b>y"), "{b:}'x'{/b}'y'");
    EXPECT_EQ(Dump("<b}x{/b>"), "{b:}'x'{/b}");
    EXPECT_EQ(Dump("{c   #FF0000}red{/c}"), "{c:#FF0000}'red'{/c}");
    EXPECT_EQ(Dump("{a http://example.org/x}link{/a}"), "{a:http://example.org/x}'link'{/a}");
}

TEST(HtmlTokenizer, BracketEscapesDrawTheOtherBracket) {
    EXPECT_EQ(Dump("a<{>b"), "'a''{''b'");
    EXPECT_EQ(Dump("<}>"), "'}'");
    EXPECT_EQ(Dump("{<}x{>}"), "'<''x''>'");
}

TEST(HtmlTokenizer, OpenersThatStartNoTagAreText) {
    EXPECT_EQ(Dump("a{1}"), "'a''{1}'");
    EXPECT_EQ(Dump("{B}"), "'{B}'");
    EXPECT_EQ(Dump("<br/>"), "'<br/>'");
    EXPECT_EQ(Dump("x<"), "'x''<'");
    EXPECT_EQ(Dump("{/1}"), "'{/1}'");
    EXPECT_EQ(Dump("{b"), "'{b'");
}

TEST(HtmlTokenizer, UnterminatedTagsRunToTheEnd) {
    EXPECT_EQ(Dump("{c #ff0000"), "{c:#ff0000}");
    EXPECT_EQ(Dump("x{/b"), "'x'{/b}");
    EXPECT_EQ(Dump("{b "), "{b:}");
}

TEST(HtmlTokenizer, RawTextUpToTheClosingRawTag) {
    EXPECT_EQ(Dump("{r}{b}x y{/r}z"), "'{b}x'_'y''z'");
    EXPECT_EQ(Dump("<r>{b}</r}z"), "'{b}''z'");
    EXPECT_EQ(Dump("{r}<b>"), "'<b>'");
    EXPECT_EQ(Dump("{r}{/r}"), "");
}

TEST(HtmlTokenizer, Utf8CharactersAreWholeAndStrayBytesStandAlone) {
    EXPECT_EQ(Dump("中{b}文"), "'中'{b:}'文'");
    EXPECT_EQ(Dump("{c #f\xF0\x9F\x98\x80}x"), "{c:#f\xF0\x9F\x98\x80}'x'");
    // A sequence cut off by a bracket or the end: each byte on its own, the
    // bracket still a bracket.
    EXPECT_EQ(Dump("\xE4\xB8{b}"), "'\xE4\xB8'{b:}");
    EXPECT_EQ(Dump("a\xE4"), "'a\xE4'");
}

TEST(HtmlTagArgs, FontByIndexOrByFace) {
    auto f = CHtmlTagArgs::ParseFont("2");
    EXPECT_TRUE(f.byIndex);
    EXPECT_EQ(f.index, 2);
    f = CHtmlTagArgs::ParseFont("Arial 14 bold italic");
    EXPECT_FALSE(f.byIndex);
    EXPECT_EQ(f.face, "Arial");
    EXPECT_EQ(f.size, 14);
    EXPECT_TRUE(f.bold);
    EXPECT_TRUE(f.italic);
    EXPECT_FALSE(f.underline);
    f = CHtmlTagArgs::ParseFont("Arial underline");
    EXPECT_EQ(f.size, 10);
    EXPECT_TRUE(f.underline);
    f = CHtmlTagArgs::ParseFont("Arial 99999999999");
    EXPECT_EQ(f.size, 500);
    f = CHtmlTagArgs::ParseFont("");
    EXPECT_EQ(f.face, "");
}

TEST(HtmlTagArgs, InlineImageNamesAndCells) {
    auto i = CHtmlTagArgs::ParseImage("icons.png 3 1");
    EXPECT_EQ(i.name, "icons.png");
    EXPECT_EQ(i.count, 3);
    EXPECT_EQ(i.index, 1);
    i = CHtmlTagArgs::ParseImage("res='12' restype='png' 2 1");
    EXPECT_EQ(i.name, "12");
    EXPECT_EQ(i.type, "png");
    EXPECT_EQ(i.count, 2);
    EXPECT_EQ(i.index, 1);
    i = CHtmlTagArgs::ParseImage("file='a b.png' 4 5");
    EXPECT_EQ(i.name, "a b.png");
    EXPECT_EQ(i.index, 0);  // out of range
    i = CHtmlTagArgs::ParseImage("a.png 0 -1");
    EXPECT_EQ(i.count, 1);
    EXPECT_EQ(i.index, 0);
    i = CHtmlTagArgs::ParseImage("file='unterminated");
    EXPECT_EQ(i.name, "");
}
