#include "bench/BenchSupport.h"

#include <windows.h>

#include <cstring>

double NowMs() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Percentile(std::vector<double> values, double fraction) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(fraction * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

void CountingRadio::ResetCounts() {
    sent_.store(0);
    received_.store(0);
}

void CountingRadio::Write(const unsigned char* data, uint32_t length) {
    sent_ += length;
    port.Write(data, length);
}

void CountingRadio::OnPortByte(unsigned char byte) {
    ++received_;
    int n = ++counted_;
    exchange.OnPortByte(byte);
    if (atCompletion_.load() < 0 && exchange.IsReplyComplete()) atCompletion_.store(n);
}

bool CountingRadio::Query(const char* command, int& replyBytes) {
    counted_.store(0);
    atCompletion_.store(-1);
    bool ok = exchange.SendCommand(command);
    replyBytes = atCompletion_.load();
    return ok;
}
