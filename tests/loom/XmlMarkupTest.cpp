// The markup parser and its node handles, natively under the sanitizers and
// under Wine.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "Loom/Markup/XmlMarkup.h"

using namespace Loom;

namespace {

// Walks every node of the document and reads everything a node hands out;
// under the sanitizers this catches any read outside the text.
size_t WalkAll(const CXmlMarkupNode& node, int depth = 0) {
    size_t count = 0;
    char buffer[500];
    for (CXmlMarkupNode n = node; n.IsValid(); n = n.GetSibling()) {
        ++count;
        size_t sum = std::strlen(n.GetName()) + std::strlen(n.GetValue());
        for (int i = 0; i < n.GetAttributeCount(); ++i) {
            sum += std::strlen(n.GetAttributeName(i)) + std::strlen(n.GetAttributeValue(i));
            EXPECT_TRUE(n.GetAttributeValue(n.GetAttributeName(i), buffer, sizeof buffer));
        }
        (void)sum;
        EXPECT_LE(depth, CXmlMarkup::kMaxDepth);
        count += WalkAll(n.GetChild(), depth + 1);
    }
    return count;
}

std::string Nested(int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += "<L>";
    for (int i = 0; i < depth; ++i) text += "</L>";
    return text;
}

// A path for a scratch file: the temporary folder of Windows, /tmp natively.
std::string ScratchPath(const char* name) {
    const char* temp = std::getenv("TEMP");
    return temp != nullptr ? std::string(temp) + "\\" + name : std::string("/tmp/") + name;
}

std::string WriteFile(const char* name, const std::string& bytes) {
    const std::string path = ScratchPath(name);
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

struct Loaded {
    bool ok;
    std::string message;
    std::string location;
};

Loaded LoadText(CXmlMarkup& doc, const std::string& text) {
    const bool ok = doc.Load(text.c_str());
    return Loaded{ok, doc.GetLastErrorMessage(), doc.GetLastErrorLocation()};
}

}  // namespace

// --- The tree ----------------------------------------------------------------

TEST(XmlMarkup, ElementsTextsAndLinksFollowTheDocument) {
    CXmlMarkup doc;
    ASSERT_TRUE(
        doc.Load("<?xml version=\"1.0\"?>\n<Window size=\"400,300\">head<A>one<B/></A>\n"
                 "  <!-- a comment -->\n  <C x=\"1\" /></Window>"));
    CXmlMarkupNode root = doc.GetRoot();
    EXPECT_STREQ(root.GetName(), "Window");
    EXPECT_STREQ(root.GetValue(), "head");
    EXPECT_FALSE(root.GetParent().IsValid());
    CXmlMarkupNode a = root.GetChild();
    EXPECT_STREQ(a.GetName(), "A");
    EXPECT_STREQ(a.GetValue(), "one");
    EXPECT_STREQ(a.GetChild().GetName(), "B");
    EXPECT_STREQ(a.GetChild().GetParent().GetName(), "A");
    EXPECT_FALSE(a.GetChild().HasChildren());
    CXmlMarkupNode c = a.GetSibling();
    EXPECT_STREQ(c.GetName(), "C");
    EXPECT_STREQ(c.GetAttributeValue(0), "1");
    EXPECT_FALSE(c.GetSibling().IsValid());
    EXPECT_FALSE(root.GetSibling().IsValid());
}

TEST(XmlMarkup, SelfClosingTagWithoutBlank_HasNoChildren) {
    // "<A/>" must not open A: the next element is its sibling.
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<W><A/><B/><C x=\"1\"/></W>"));
    CXmlMarkupNode a = doc.GetRoot().GetChild();
    EXPECT_STREQ(a.GetName(), "A");
    EXPECT_FALSE(a.HasChildren());
    EXPECT_EQ(a.GetAttributeCount(), 0);
    EXPECT_STREQ(a.GetSibling().GetName(), "B");
    EXPECT_STREQ(a.GetSibling().GetSibling().GetAttributeValue(0), "1");
}

TEST(XmlMarkup, CommentOrDeclarationOnly_ParsesWithNoElements) {
    CXmlMarkup doc;
    for (const char* text : {"<!-- only a comment -->", "  <?xml version=\"1.0\"?>  ", "<!-- never closed <A/>", ""}) {
        EXPECT_TRUE(doc.Load(text)) << text;
        EXPECT_FALSE(doc.GetRoot().IsValid()) << text;
    }
}

TEST(XmlMarkup, ClosingTagAtTheTopLevel_EndsTheDocument) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<A/></B> anything <C/>"));
    EXPECT_FALSE(doc.GetRoot().GetSibling().IsValid());
}

TEST(XmlMarkup, FailedLoad_EmptiesTheDocument) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<A/>"));
    EXPECT_FALSE(doc.Load("<A x='1'/>"));
    EXPECT_FALSE(doc.GetRoot().IsValid());
    EXPECT_TRUE(doc.Load("<B/>"));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "");
}

TEST(XmlMarkup, TruncatedDocument_SucceedsOnlyWithinTheTopTwoLevels) {
    CXmlMarkup doc;
    EXPECT_TRUE(doc.Load("<Window><Label>abc"));
    EXPECT_STREQ(doc.GetRoot().GetChild().GetValue(), "abc");
    EXPECT_TRUE(doc.Load("<Window><Label/>"));
    EXPECT_FALSE(doc.Load("<Window><A><B/>"));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "Expected start tag");
}

// --- Character data ---------------------------------------------------------

TEST(XmlMarkup, Entities_DecodedAndNumericReferencesKept) {
    CXmlMarkup doc;
    ASSERT_TRUE(
        doc.Load("<A v=\"a, &amp;, b, &#65;\" w=\"&lt;&gt;&quot;&apos;&amp\" x=\"&unknown; & &\">"
                 "t &lt;b&gt; &amp;amp;</A>"));
    CXmlMarkupNode a = doc.GetRoot();
    EXPECT_STREQ(a.GetAttributeValue(0), "a, &, b, &#65;");
    EXPECT_STREQ(a.GetAttributeValue(1), "<>\"'&amp");
    EXPECT_STREQ(a.GetAttributeValue(2), "&unknown; & &");
    EXPECT_STREQ(a.GetValue(), "t <b> &amp;");
}

TEST(XmlMarkup, ShrunkValues_LeaveTheFollowingAttributesReadable) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<A x=\"&quot;&quot;&quot;\" y = \"2\"z=\"\" w=\"&amp;\"/>"));
    CXmlMarkupNode a = doc.GetRoot();
    ASSERT_EQ(a.GetAttributeCount(), 4);
    EXPECT_STREQ(a.GetAttributeName(1), "y");
    EXPECT_STREQ(a.GetAttributeValue(1), "2");
    EXPECT_STREQ(a.GetAttributeName(2), "z");
    EXPECT_STREQ(a.GetAttributeValue(2), "");
    EXPECT_STREQ(a.GetAttributeValue(3), "&");
}

TEST(XmlMarkup, ManyEntities_DecodeInPlace) {
    std::string text = "<A v=\"";
    for (int i = 0; i < 100000; ++i) text += "&amp;&lt;";
    text += "\">";
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load(text.c_str()));
    const char* v = doc.GetRoot().GetAttributeValue(0);
    ASSERT_EQ(std::strlen(v), 200000u);
    EXPECT_EQ(std::string(v, 4), "&<&<");
}

TEST(XmlMarkup, Whitespace_KeptUnlessCollapsed) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<A v=\"a \t b\"> x  \n y </A>"));
    EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), "a \t b");
    EXPECT_STREQ(doc.GetRoot().GetValue(), " x  \n y ");
    doc.SetPreserveWhitespace(false);
    ASSERT_TRUE(doc.Load("<A v=\"a \t b\"> x  \n y </A>"));
    EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), "a b");
    EXPECT_STREQ(doc.GetRoot().GetValue(), " x y ");
}

TEST(XmlMarkup, Utf8Text_StepsWholeCharactersAndKeepsStrayBytes) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<A v=\"&amp;中文\xF0\x9F\x98\x80&lt;\">关&amp;</A>"));
    EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), "&中文\xF0\x9F\x98\x80<");
    EXPECT_STREQ(doc.GetRoot().GetValue(), "关&");
    // Bytes that are no UTF-8 are kept as they are (drawn as the
    // replacement character), also a sequence cut off by the quote.
    ASSERT_TRUE(doc.Load("<A v=\"x\xE4\xB8\">\xFF\x80</A>"));
    EXPECT_STREQ(doc.GetRoot().GetAttributeValue(0), "x\xE4\xB8");
    EXPECT_STREQ(doc.GetRoot().GetValue(), "\xFF\x80");
}

// --- Errors -----------------------------------------------------------------

TEST(XmlMarkup, ParseErrors_NameTheirCause) {
    struct Case {
        const char* text;
        const char* message;
        const char* location;
    };
    const Case cases[] = {
        {"text", "Expected start tag", "text"},
        {"<A v='x'/>", "Expected attribute value", "'x'/>"},
        {"<A></AB>", "Unmatched closing tag", "B>"},
        {"<AB></A>", "Unmatched closing tag", "A>"},
        {"<A>one<B/>two</A>", "Expected start tag", "two</A>"},
        {"<Window", "Error parsing element name", ""},
        {"<A x=\"1\"/ >", "Expected start-tag closing", "/ >"},
        {"<A x>", "Error while parsing attributes", ">"},
        {"<A x=\"abc", "Error while parsing attribute string", ""},
        {"<W><A><B>x", "Expected end-tag start", ""},
    };
    CXmlMarkup doc;
    for (const Case& c : cases) {
        const Loaded r = LoadText(doc, c.text);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.message, c.message) << c.text;
        EXPECT_EQ(r.location, c.location) << c.text;
    }
}

TEST(XmlMarkup, ClosingTag_AcceptsBlanksBeforeEitherBracket) {
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load("<A >x</ A \t>"));
    EXPECT_STREQ(doc.GetRoot().GetName(), "A");
    EXPECT_STREQ(doc.GetRoot().GetValue(), "x");
}

TEST(XmlMarkup, ErrorLocation_KeepsAtMost49Characters) {
    CXmlMarkup doc;
    const std::string tail(200, 'z');
    EXPECT_FALSE(doc.Load(("<A>x<B/>" + tail + "</A>").c_str()));
    EXPECT_EQ(std::string(doc.GetLastErrorLocation()), tail.substr(0, 49));
    // A character that would straddle the limit is left out whole.
    EXPECT_FALSE(doc.Load(("<A>x<B/>" + std::string(47, 'z') + "中</A>").c_str()));
    EXPECT_EQ(std::string(doc.GetLastErrorLocation()), std::string(47, 'z'));
}

TEST(XmlMarkup, Nesting_RefusedBeyondTheLimit) {
    CXmlMarkup doc;
    EXPECT_TRUE(doc.Load(Nested(CXmlMarkup::kMaxDepth).c_str()));
    EXPECT_FALSE(doc.Load(Nested(CXmlMarkup::kMaxDepth + 1).c_str()));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "Nesting too deep");
    EXPECT_FALSE(doc.Load(Nested(10000).c_str()));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "Nesting too deep");
}

TEST(XmlMarkup, TruncatedAndBinaryInput_NeverReadsOutside) {
    const std::string skin =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?><Window size=\"400,300\" caption=\"0,0,0,30\">"
        "<Font name=\"\xCE\xA2\xC8\xED\" size=\"12\" default=\"true\" /><Image name=\"1\" restype=\"PNG\" />"
        "<Default name=\"Button\" value=\"textcolor=&quot;#FF0000FF&quot; height=&quot;20&quot;\" />"
        "<VerticalLayout><!-- rows --><HorizontalLayout height=\"24\"><Label text=\"a &amp; b\"/>"
        "<Edit name=\"e\" text=\"&lt;x&gt;\"></Edit></HorizontalLayout></VerticalLayout></Window>";
    CXmlMarkup doc;
    for (size_t n = 0; n <= skin.size(); ++n) {
        if (doc.Load(skin.substr(0, n).c_str())) WalkAll(doc.GetRoot());
    }
    ASSERT_TRUE(doc.Load(skin.c_str()));
    EXPECT_EQ(WalkAll(doc.GetRoot()), 8u);

    std::mt19937 random(1234);
    for (int round = 0; round < 300; ++round) {
        std::string bytes(1 + random() % 400, ' ');
        for (char& b : bytes) b = static_cast<char>(1 + random() % 255);
        // Half the rounds keep to markup characters, to reach deeper.
        if (round % 2) {
            static const char alphabet[] = "<>/=\"&;! ?-ab\x81\xD6";
            for (char& b : bytes) b = alphabet[random() % (sizeof alphabet - 1)];
        }
        if (doc.Load(bytes.c_str())) WalkAll(doc.GetRoot());
    }
}

// --- Node handles ------------------------------------------------------------

TEST(XmlMarkupNode, InvalidNode_AnswersNothing) {
    CXmlMarkupNode node;
    char buffer[8] = "keep";
    EXPECT_FALSE(node.GetSibling().IsValid());
    EXPECT_FALSE(node.GetChild().IsValid());
    EXPECT_FALSE(node.GetParent().IsValid());
    EXPECT_FALSE(node.HasChildren());
    EXPECT_FALSE(node.HasAttributes());
    EXPECT_EQ(node.GetAttributeCount(), 0);
    EXPECT_STREQ(node.GetName(), "");
    EXPECT_STREQ(node.GetValue(), "");
    EXPECT_STREQ(node.GetAttributeName(0), "");
    EXPECT_FALSE(node.GetAttributeValue("x", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "keep");
    CXmlMarkup empty;
    EXPECT_FALSE(CXmlMarkupNode(&empty, 1).IsValid());
}

TEST(XmlMarkupNode, SeventyAttributes_OnlyTheFirst64Visible) {
    std::string text = "<A";
    for (int i = 0; i < 70; ++i) text += " a" + std::to_string(i) + "=\"" + std::to_string(i) + "\"";
    text += " />";
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load(text.c_str()));
    CXmlMarkupNode a = doc.GetRoot();
    char buffer[500];
    ASSERT_EQ(a.GetAttributeCount(), 64);
    EXPECT_STREQ(a.GetAttributeName(63), "a63");
    EXPECT_STREQ(a.GetAttributeValue(63), "63");
    EXPECT_STREQ(a.GetAttributeName(64), "");
    EXPECT_STREQ(a.GetAttributeValue(-1), "");
    EXPECT_TRUE(a.GetAttributeValue("a63", buffer, sizeof buffer));
    EXPECT_FALSE(a.GetAttributeValue("a64", buffer, sizeof buffer));
}

TEST(XmlMarkupNode, HugeAttributeCount_StaysAt64) {
    std::string text = "<A";
    for (int i = 0; i < 50000; ++i) text += " b=\"1\"";
    text += "><B/></A>";
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load(text.c_str()));
    EXPECT_EQ(doc.GetRoot().GetAttributeCount(), 64);
    EXPECT_STREQ(doc.GetRoot().GetChild().GetName(), "B");
}

TEST(XmlMarkupNode, AttributeByName_CopiesAtMost499AndFitsTheBuffer) {
    const std::string longValue(600, 'v');
    CXmlMarkup doc;
    ASSERT_TRUE(doc.Load(("<A Name=\"x\" long=\"" + longValue + "\" cjk=\"ab中\" />").c_str()));
    CXmlMarkupNode a = doc.GetRoot();
    char buffer[600];
    EXPECT_FALSE(a.GetAttributeValue("name", buffer, sizeof buffer));  // names are case-sensitive
    ASSERT_TRUE(a.GetAttributeValue("long", buffer, sizeof buffer));
    EXPECT_EQ(std::strlen(buffer), 499u);
    char small[5];
    ASSERT_TRUE(a.GetAttributeValue("long", small, sizeof small));
    EXPECT_STREQ(small, "vvvv");
    char four[5];
    ASSERT_TRUE(a.GetAttributeValue("cjk", four, sizeof four));
    EXPECT_STREQ(four, "ab");  // never part of a UTF-8 character
}

// --- Loading from memory and files --------------------------------------------

TEST(XmlMarkupLoad, Utf8WithAndWithoutMark_GiveTheSameText) {
    const std::string body = u8"<Window><Label text=\"中文\">关于</Label></Window>";
    const std::string marked = "\xEF\xBB\xBF" + body;
    for (const std::string& bytes : {body, marked}) {
        CXmlMarkup doc;
        ASSERT_TRUE(doc.LoadFromMem(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()));
        CXmlMarkupNode label = doc.GetRoot().GetChild();
        EXPECT_STREQ(label.GetAttributeValue(0), "中文");
        EXPECT_STREQ(label.GetValue(), "关于");
    }
    // Two bytes are too few for a mark: they are text.
    CXmlMarkup doc;
    EXPECT_FALSE(doc.LoadFromMem(reinterpret_cast<const unsigned char*>("\xEF\xBB"), 2));
    EXPECT_TRUE(doc.LoadFromMem(reinterpret_cast<const unsigned char*>("\xEF\xBB\xBF"), 3));
}

TEST(XmlMarkupLoad, FileSize_LimitIsInclusive) {
    std::string bytes = "<A>" + std::string(kMaxMarkupFileSize - 7, 'x') + "</A>";
    ASSERT_EQ(bytes.size(), kMaxMarkupFileSize);
    const std::string path = WriteFile("markup_limit.xml", bytes);
    CXmlMarkup doc;
    EXPECT_TRUE(doc.LoadFromFile(path.c_str())) << doc.GetLastErrorMessage();
    EXPECT_EQ(std::strlen(doc.GetRoot().GetValue()), kMaxMarkupFileSize - 7);
    bytes.insert(3, "x");
    WriteFile("markup_limit.xml", bytes);
    EXPECT_FALSE(doc.LoadFromFile(path.c_str()));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "File too large");
    EXPECT_FALSE(doc.GetRoot().IsValid());
    std::remove(path.c_str());
}

TEST(XmlMarkupLoad, EmptyOrMissingFile_Fails) {
    const std::string path = WriteFile("markup_empty.xml", "");
    CXmlMarkup doc;
    EXPECT_FALSE(doc.LoadFromFile(path.c_str()));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "File is empty");
    std::remove(path.c_str());
    EXPECT_FALSE(doc.LoadFromFile(path.c_str()));
    EXPECT_STREQ(doc.GetLastErrorMessage(), "Error opening file");
    EXPECT_STREQ(doc.GetLastErrorLocation(), "");
}
