#include <gtest/gtest.h>

#include "LinePacer.h"

namespace {
constexpr int64_t kMs = 1000000;
}

TEST(LinePacer, Unpaced_BytesCountAtOnce) {
    LinePacer p;
    EXPECT_EQ(p.received(5 * kMs), 5 * kMs);
    EXPECT_EQ(p.received(5 * kMs), 5 * kMs);
    EXPECT_EQ(p.sent(7 * kMs), 7 * kMs);
    EXPECT_EQ(p.sent(7 * kMs), 7 * kMs);
}

TEST(LinePacer, BurstArrivingAtOnce_ReceivedOneByteTimeApart) {
    LinePacer p(1000);  // 10 ms a byte
    EXPECT_EQ(p.received(0), 10 * kMs);
    EXPECT_EQ(p.received(0), 20 * kMs);
    EXPECT_EQ(p.received(1 * kMs), 30 * kMs);
    // The line was idle: counting starts again from the arrival.
    EXPECT_EQ(p.received(100 * kMs), 110 * kMs);
}

TEST(LinePacer, ReplyBytes_EachAfterItsOwnByteTime) {
    LinePacer p(1000);
    EXPECT_EQ(p.sent(50 * kMs), 60 * kMs);
    EXPECT_EQ(p.sent(50 * kMs), 70 * kMs);
    // A second reply due while the first is still going waits for it.
    EXPECT_EQ(p.sent(65 * kMs), 80 * kMs);
    // After a pause a new burst starts at its own earliest time.
    EXPECT_EQ(p.sent(200 * kMs), 210 * kMs);
}

TEST(LinePacer, LongBurst_NoAccumulatedRounding) {
    LinePacer p(115200);  // 86805.5... ns a byte
    int64_t last = 0;
    for (int i = 0; i < 1000000; ++i) last = p.sent(0);
    // 10^6 bytes * 10 bits / 115200 baud = 86.80555... s
    EXPECT_EQ(last, 86805555556);
    EXPECT_EQ(p.bytesTime(3), 260417);
}
