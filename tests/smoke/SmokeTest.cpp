#include <gtest/gtest.h>
#include <cstring>
#ifdef _WIN32
#include <windows.h>
TEST(Platform, AnsiCodePageIsChinese) { EXPECT_EQ(GetACP(), 936u); }
#endif
TEST(Platform, ChineseLiteralsAreGbk) { EXPECT_STREQ("关于...", "\xB9\xD8\xD3\xDA..."); }
