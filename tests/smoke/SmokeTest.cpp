#include <gtest/gtest.h>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
TEST(Platform, AnsiCodePageIsChinese) { EXPECT_EQ(GetACP(), 936u); }
#endif
TEST(Platform, ChineseLiteralsAreUtf8) { EXPECT_STREQ("关于...", "\xE5\x85\xB3\xE4\xBA\x8E..."); }
