#pragma once
#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "radio/RadioExchange.h"
#include "serial/SerialPort.h"

// Milliseconds since an arbitrary start, from the performance counter.
double NowMs();

// Median and percentiles of a sample (sorted copy).
double Percentile(std::vector<double> values, double fraction);

// The exchange behind a real port, counting the bytes of each reply up to the
// one that completed it, so the wire time of an exchange can be computed.
class CountingRadio : public IPortOwner, public IPortWriter {
public:
    CountingRadio() : exchange(*this), port(this) {}
    void Write(const unsigned char* data, uint32_t length) override;
    void OnPortByte(unsigned char byte) override;
    // Sends a command and waits; `replyBytes` receives the bytes on the line
    // up to the completing one.
    bool Query(const char* command, int& replyBytes);
    // All bytes through the port since the last reset, both directions.
    void ResetCounts();
    long long BytesSent() const { return sent_.load(); }
    long long BytesReceived() const { return received_.load(); }

    // The exchange first, so that the port and its thread go first.
    RadioExchange exchange;
    CSerialPort port;

private:
    std::atomic<int> counted_{0};
    std::atomic<int> atCompletion_{-1};
    std::atomic<long long> sent_{0};
    std::atomic<long long> received_{0};
};
