#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Loom/Core/AttributeList.h"
#include "Loom/Core/EventSource.h"
#include "Loom/Core/TextRules.h"

using namespace Loom;

namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

Pairs Read(const char* list, TReadStatus* status = nullptr) {
    Pairs pairs;
    const TReadStatus s =
        ReadAttributeList(list, [&pairs](const std::string& n, const std::string& v) { pairs.emplace_back(n, v); });
    if (status) *status = s;
    return pairs;
}

// A listener that records its calls and answers as told.
struct Recorder {
    std::vector<std::string>* log;
    std::string name;
    bool answer = true;
    bool Call(void* param) {
        log->push_back(name + ":" + static_cast<const char*>(param));
        return answer;
    }
    bool Other(void*) {
        log->push_back(name + ":other");
        return true;
    }
};

std::vector<std::string>* g_log = nullptr;
bool FreeListener(void* param) {
    g_log->push_back(std::string("free:") + static_cast<const char*>(param));
    return true;
}

}  // namespace

TEST(AttributeList, PairsAreAppliedInOrder) {
    TReadStatus status;
    EXPECT_EQ(Read("width=\"10\" text=\"a b\" bkcolor=\"#FF00FF00\"", &status),
              (Pairs{{"width", "10"}, {"text", "a b"}, {"bkcolor", "#FF00FF00"}}));
    EXPECT_TRUE(status.ok);
}

TEST(AttributeList, TwoBlanksBetweenPairsApplyOnlyTheFirst) {
    TReadStatus status;
    EXPECT_EQ(Read("a=\"1\"  b=\"2\"", &status), (Pairs{{"a", "1"}}));
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.pos, 6u);  // the second blank
}

TEST(AttributeList, DeviationsStopSilently) {
    EXPECT_EQ(Read("a=\"1\" b"), (Pairs{{"a", "1"}}));         // no "="
    EXPECT_EQ(Read("a=\"1\" b= \"2\""), (Pairs{{"a", "1"}}));  // blank before the quote
    EXPECT_EQ(Read("a=\"1\" b=\"2"), (Pairs{{"a", "1"}}));     // no closing quote
    EXPECT_EQ(Read("a=\"1\"x b=\"2\""), (Pairs{{"a", "1"}}));  // not a blank after the value
    EXPECT_EQ(Read("a='1'"), Pairs{});                         // single quotes
}

TEST(AttributeList, EmptyValuesAndNamesAreHandedOn) {
    EXPECT_EQ(Read("a=\"\" =\"x\""), (Pairs{{"a", ""}, {"", "x"}}));
    EXPECT_EQ(Read(""), Pairs{});
    EXPECT_EQ(Read(nullptr), Pairs{});
}

TEST(AttributeList, TrailingBlankEndsWithoutAnotherPair) {
    TReadStatus status;
    EXPECT_EQ(Read("a=\"1\" ", &status), (Pairs{{"a", "1"}}));
    EXPECT_FALSE(status.ok);
}

TEST(EventSource, CallsInOrderAndStopsAtFirstFalse) {
    std::vector<std::string> log;
    Recorder a{&log, "a"}, b{&log, "b", false}, c{&log, "c"};
    CEventSource source;
    source += CDelegate::Make(&a, &Recorder::Call);
    source += CDelegate::Make(&b, &Recorder::Call);
    source += CDelegate::Make(&c, &Recorder::Call);
    char text[] = "x";
    EXPECT_FALSE(source(text));
    EXPECT_EQ(log, (std::vector<std::string>{"a:x", "b:x"}));
}

TEST(EventSource, EmptyListAnswersTrue) {
    CEventSource source;
    EXPECT_TRUE(source.IsEmpty());
    EXPECT_TRUE(source(nullptr));
}

TEST(EventSource, SameObjectAndMemberIsAddedOnce) {
    std::vector<std::string> log;
    Recorder a{&log, "a"}, b{&log, "b"};
    CEventSource source;
    source += CDelegate::Make(&a, &Recorder::Call);
    source += CDelegate::Make(&a, &Recorder::Call);
    source += CDelegate::Make(&a, &Recorder::Other);  // another member
    source += CDelegate::Make(&b, &Recorder::Call);   // another object
    EXPECT_EQ(source.GetCount(), 3u);
    char text[] = "y";
    source(text);
    EXPECT_EQ(log, (std::vector<std::string>{"a:y", "a:other", "b:y"}));
}

TEST(EventSource, FreeFunctionsAndRemoval) {
    std::vector<std::string> log;
    g_log = &log;
    Recorder a{&log, "a"};
    CEventSource source;
    source += CDelegate::Make(&FreeListener);
    source += CDelegate::Make(&FreeListener);
    source += CDelegate::Make(&a, &Recorder::Call);
    EXPECT_EQ(source.GetCount(), 2u);
    source -= CDelegate::Make(&FreeListener);
    char text[] = "z";
    source(text);
    EXPECT_EQ(log, (std::vector<std::string>{"a:z"}));
    g_log = nullptr;
}

TEST(EventSource, ListenerRemovingItselfWhileCalledIsSafe) {
    struct SelfRemover {
        CEventSource* source;
        int calls = 0;
        bool Call(void*) {
            ++calls;
            *source -= CDelegate::Make(this, &SelfRemover::Call);
            return true;
        }
    };
    CEventSource source;
    SelfRemover r{&source};
    source += CDelegate::Make(&r, &SelfRemover::Call);
    source(nullptr);
    source(nullptr);
    EXPECT_EQ(r.calls, 1);
    EXPECT_TRUE(source.IsEmpty());
}

// A listener that removes the next one, or adds one, while the list is
// walked: the removed one is not called, the added one waits for the next
// walk, and nobody is called twice.
TEST(EventSource, ListChangedDuringTheWalkSkipsRemovedAndRepeatsNone) {
    std::vector<std::string> log;
    Recorder b{&log, "b"}, c{&log, "c"}, d{&log, "d"};
    struct Changer {
        CEventSource* source;
        Recorder* removed;
        Recorder* added;
        std::vector<std::string>* log;
        bool Call(void*) {
            log->push_back("a");
            *source -= CDelegate::Make(removed, &Recorder::Call);
            *source += CDelegate::Make(added, &Recorder::Call);
            return true;
        }
    };
    CEventSource source;
    Changer a{&source, &b, &d, &log};
    source += CDelegate::Make(&a, &Changer::Call);
    source += CDelegate::Make(&b, &Recorder::Call);
    source += CDelegate::Make(&c, &Recorder::Call);
    char text[] = "x";
    EXPECT_TRUE(source(text));
    EXPECT_EQ(log, (std::vector<std::string>{"a", "c:x"}));
}

// A listener that destroys the list's owner ends the walk: the listeners
// after it and the owner are not touched any more.
TEST(EventSource, ListenerDestroyingTheOwnerEndsTheWalk) {
    struct Owner {
        CEventSource events;
    };
    std::vector<std::string> log;
    Recorder late{&log, "late"};
    struct Killer {
        Owner** owner;
        bool Call(void*) {
            delete *owner;
            *owner = nullptr;
            return true;
        }
    };
    auto* owner = new Owner;
    Killer killer{&owner};
    owner->events += CDelegate::Make(&killer, &Killer::Call);
    owner->events += CDelegate::Make(&late, &Recorder::Call);
    EXPECT_FALSE(owner->events(nullptr));
    EXPECT_EQ(owner, nullptr);
    EXPECT_TRUE(log.empty());
}

TEST(TextRules, ToolTipLineBreakTags) {
    EXPECT_EQ(ExpandLineBreakTags("a<n>b<n><n>"), "a\r\nb\r\n\r\n");
    EXPECT_EQ(ExpandLineBreakTags("<n"), "<n");
    EXPECT_EQ(ExpandLineBreakTags("<N>"), "<N>");
}

TEST(TextRules, ResourcePathGetsOneSeparator) {
    EXPECT_EQ(WithTrailingSeparator("C:\\skin"), "C:\\skin\\");
    EXPECT_EQ(WithTrailingSeparator("C:\\skin\\"), "C:\\skin\\");
    EXPECT_EQ(WithTrailingSeparator("skin/"), "skin/");
    EXPECT_EQ(WithTrailingSeparator(""), "");
}

TEST(TextRules, DirectoryOfProgramFile) {
    EXPECT_EQ(DirectoryOf("C:\\apps\\tool.exe"), "C:\\apps\\");
    EXPECT_EQ(DirectoryOf("tool.exe"), "");
}
