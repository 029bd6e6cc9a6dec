// Where UTF-8 meets the wide functions: fixed buffers and long paths.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "platform/Wide.h"

namespace {

TEST(Wide, CopyWide_CutsBeforeASurrogatePairThatDoesNotFit) {
    wchar_t buffer[4];
    Text::CopyWide("ab\xF0\x9F\x93\xA1", buffer, 4);
    EXPECT_STREQ(buffer, L"ab");
    Text::CopyWide("abc\xF0\x9F\x93\xA1", buffer, 4);
    EXPECT_STREQ(buffer, L"abc");
    Text::CopyWide("\xFFz", buffer, 4);
    EXPECT_STREQ(buffer, L"\xFFFDz");
}

TEST(Wide, WidePath_MarksOnlyAbsolutePathsOfMaxPathUnitsOrMore) {
    const std::string shortPath = "C:\\Users\\Łukasz\\a.cfg";
    EXPECT_EQ(Text::WidePath(shortPath), Text::Widen(shortPath));
    const std::string level(150, 'x');
    const std::string longPath = "C:/" + level + "/" + level + "/a.cfg";
    EXPECT_EQ(Text::WidePath(longPath), L"\\\\?\\C:\\" + Text::Widen(level) + L"\\" + Text::Widen(level) + L"\\a.cfg");
    EXPECT_EQ(Text::WidePath("\\\\server\\" + level + "\\" + level + "\\a"),
              L"\\\\?\\UNC\\server\\" + Text::Widen(level) + L"\\" + Text::Widen(level) + L"\\a");
    const std::string relative = level + "\\" + level + "\\a.cfg";
    EXPECT_EQ(Text::WidePath(relative), Text::Widen(relative));
}

}  // namespace
