#include "radio/WriteVerify.h"

#include <gtest/gtest.h>

namespace {

TEST(SameValue, Decimal_SameNumberInAnotherForm_Holds) {
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, "430.125", "430.12500"));
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, " 430.125 ", "430.125"));
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, "007", "7"));
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, "0", "000"));
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, "430.", "430.00000"));
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, ".5", "0.50"));
}

TEST(SameValue, Decimal_OtherNumberOrNoNumber_DoesNotHold) {
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "430.125", "430.12501"));
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "430.125", "43.0125"));
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "10", "1"));
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "100", "1"));  // trailing zeros of a whole number count
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "255", "ERROR: bad value"));
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "255", ""));
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "1.2.3", "1.2"));
    EXPECT_FALSE(SameValue(VerifyKind::Decimal, "-1", "1"));
    // Two equal texts that are no numbers still hold each other.
    EXPECT_TRUE(SameValue(VerifyKind::Decimal, ".", "."));
}

TEST(SameValue, Text_OuterBlanksIgnored_CaseAndInnerBlanksCount) {
    EXPECT_TRUE(SameValue(VerifyKind::Text, " 9600", "9600"));
    EXPECT_FALSE(SameValue(VerifyKind::Text, "H2.1", "h2.1"));
    EXPECT_FALSE(SameValue(VerifyKind::Text, "SN 1", "SN1"));
    EXPECT_FALSE(SameValue(VerifyKind::Text, "007", "7"));
}

TEST(FormatMismatches, OneLinePerFieldInTheLanguage) {
    const std::vector<VerifyMismatch> m = {{"destinetion", "17", "255"}, {"Link BaudRate", " 19200", " 9600"}};
    EXPECT_EQ(
        "The radio does not hold these settings:\ndestinetion: written 17, read 255\n"
        "Link BaudRate: written 19200, read 9600",
        FormatMismatches(m, Language::English));
    EXPECT_EQ("电台没有保存以下设置:\n目标地址: 写入 17, 读回 255",
              FormatMismatches({{"目标地址", "17", "255"}}, Language::Chinese));
}

}  // namespace
