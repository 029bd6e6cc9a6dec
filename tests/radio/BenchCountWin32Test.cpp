// The byte count of the exchange benchmark: the wire time it prints rests on
// it, so every reply of the same length must count the same.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "testkit/CountingRadio.h"

namespace {

// Plays the port thread for a radio that is never opened: after each command
// it delivers the reply, preceded (from the second command on) by the late
// line feed that ends the previous reply, as a paced line delivers it.
TEST(BenchReplyCount, EveryReplyCountsFromItsOpeningToItsCompletingByte) {
    CountingRadio radio;
    const int kQueries = 60;
    std::atomic<bool> stop{false};
    std::thread line([&] {
        const std::string reply = "\r\ncurrent channel 1\r";
        for (int i = 0; i < kQueries && !stop; ++i) {
            while (radio.BytesSent() < static_cast<long long>(9 * (i + 1)) && !stop) ::Sleep(1);
            if (i > 0) radio.OnPortByte('\n');
            for (char c : reply) radio.OnPortByte(static_cast<unsigned char>(c));
        }
    });
    int answered = 0, wrong = 0, last = 0;
    for (int i = 0; i < kQueries; ++i) {
        int replyBytes = 0;
        if (!radio.Query("cfg_ch_n\r", replyBytes)) break;
        ++answered;
        if (replyBytes != 20) ++wrong, last = replyBytes;
    }
    stop = true;
    line.join();
    EXPECT_EQ(answered, kQueries);
    EXPECT_EQ(wrong, 0) << "one of them counted " << last;
}

}  // namespace
