#pragma once

#include <cstdint>

// Times of bytes on a serial line of a given rate (10 bits a byte), in
// nanoseconds of one monotonic clock. Every time is computed from absolute
// times, so waking up late never shifts the bytes that follow.
// A rate of 0 means unpaced: bytes count at once.
class LinePacer {
public:
    explicit LinePacer(long baud = 0) : baud_(baud) {}

    bool paced() const { return baud_ > 0; }
    // The time the n-th byte of a burst ends, measured from the burst's start.
    int64_t bytesTime(int64_t n) const;

    // A byte that arrived at `arrival` counts as received one byte-time after
    // the previous one was received, or after it arrived, whichever is later.
    int64_t received(int64_t arrival);
    // The next reply byte, which may not start before `earliest`, is written
    // when its own byte-time has passed after the previous reply byte.
    int64_t sent(int64_t earliest);

private:
    long baud_;
    int64_t rxEnd_ = INT64_MIN;
    int64_t txStart_ = INT64_MIN;  // start of the current burst of reply bytes
    int64_t txCount_ = 0;          // bytes of that burst so far
};
