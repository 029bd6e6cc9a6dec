#pragma once
#include <atomic>
#include <mutex>

#include "radio/RadioExchange.h"
#include "radio/RadioLine.h"
#include "serial/SerialPort.h"

// The exchange behind a real port, counting the bytes of each reply from the
// one that opens it (its first carriage return) to the one that completes it,
// so the wire time of an exchange can be computed. The bench's radio sends no
// echo and no noise, so nothing of a reply comes before its opening byte; a
// late line feed of the previous reply is not counted.
//
// The count is kept under a lock that the port thread holds from before it
// hands a byte to the exchange until the count of that byte is stored, and
// Query reads it under the same lock after the exchange has seen completion:
// the waiter cannot read the count before the completing byte is in it.
class CountingRadio : public IPortOwner, public IPortWriter, public IRadioLine {
public:
    CountingRadio() : exchange(*this), port(this) {}
    // IRadioLine, for the jobs and the download: the port at the rate.
    Outcome Open(int portNumber, int rate) override;
    RadioExchange& Exchange() override { return exchange; }
    bool Lost() const override { return port.LineFailed(); }
    void Write(const unsigned char* data, uint32_t length) override;
    void OnPortByte(unsigned char byte) override;
    // Sends a command and waits; `replyBytes` receives the bytes of the reply
    // up to the completing one (-1 when it did not complete).
    bool Query(const char* command, int& replyBytes);
    // All bytes through the port since the last reset, both directions.
    void ResetCounts();
    long long BytesSent() const { return sent_.load(); }
    long long BytesReceived() const { return received_.load(); }

private:
    std::atomic<long long> sent_{0};
    std::atomic<long long> received_{0};
    std::mutex countLock_;
    bool replyOpen_ = false;  // the reply's opening carriage return has come
    int counted_ = 0;         // bytes of the reply so far
    int atCompletion_ = -1;   // counted_ when the exchange completed

public:
    // The exchange first and the port last, so that the port and its thread
    // go first and never feed a counter or exchange that is gone.
    RadioExchange exchange;
    CSerialPort port;
};
