#include "LinePacer.h"

#include <algorithm>

namespace {
constexpr int64_t kNanosPerSecond = 1000000000;
constexpr int64_t kBitsPerByte = 10;  // start bit, 8 data bits, stop bit
}  // namespace

int64_t LinePacer::bytesTime(int64_t n) const {
    if (baud_ <= 0) return 0;
    // Rounded to the nearest nanosecond from the burst's start, so that a long
    // burst carries no accumulated rounding error.
    return (n * kBitsPerByte * kNanosPerSecond + baud_ / 2) / baud_;
}

int64_t LinePacer::received(int64_t arrival) {
    if (!paced()) return arrival;
    rxEnd_ = std::max(rxEnd_, arrival) + bytesTime(1);
    return rxEnd_;
}

int64_t LinePacer::sent(int64_t earliest) {
    if (!paced()) return earliest;
    int64_t burstEnd = txCount_ > 0 ? txStart_ + bytesTime(txCount_) : INT64_MIN;
    if (earliest > burstEnd) {
        txStart_ = earliest;  // the line was idle: a new burst
        txCount_ = 0;
    }
    ++txCount_;
    return txStart_ + bytesTime(txCount_);
}
