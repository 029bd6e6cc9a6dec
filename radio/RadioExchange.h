#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>

#include "serial/PortOwner.h"

// One command, one reply: assembles the radio's reply line from the bytes the
// port thread delivers (OnPortByte) and lets the action's thread send a
// command and wait, bounded, for its reply.
//
// A reply is a carriage return, then at least one character of text, then a
// carriage return or the letters "ACK". Line feeds are never kept; anything
// before the opening carriage return (an echo of the command) is dropped; an
// empty line neither opens nor completes a reply.
//
// Threads: OnPortByte runs on the port thread; the Send* calls on the action's
// thread. The buffer and the flag are guarded by one mutex, and the waiting
// thread is woken the moment the reply completes.
class RadioExchange : public IPortOwner {
public:
    // The bound of one exchange: 31 waits of 15 ms.
    static constexpr int kWaitSteps = 31;
    static constexpr std::chrono::milliseconds kWaitStep{15};
    // Bytes kept of one reply; the rest of an endless or binary stream is
    // dropped rather than grown without limit.
    static constexpr size_t kMaxReplyLength = 4096;

    explicit RadioExchange(IPortWriter& port) : port_(&port) {}

    void OnPortByte(unsigned char byte) override;

    // Clears the reply, sends the bytes and waits for a complete reply; true
    // when one arrived within the bound. A late reply is never taken for the
    // next command's: the next send clears it first.
    bool SendAndWait(const unsigned char* data, uint32_t length);
    // Clears the reply and sends the bytes, waiting for nothing (a command
    // the radio does not answer).
    void Send(const unsigned char* data, uint32_t length);
    // SendAndWait over a zero-terminated text, without its terminator.
    bool SendCommand(const char* text);
    // SendCommand, and the reply must contain "OK".
    bool SendCommandExpectOk(const char* text);

    // The reply line: the buffer without its opening carriage return.
    std::string ReplyLine() const;
    // The whole buffer, opening carriage return included.
    std::string ReplyBuffer() const;
    bool ReplyContains(const char* words) const;
    bool IsReplyComplete() const;

private:
    IPortWriter* port_;
    mutable std::mutex lock_;
    std::condition_variable completed_;
    std::string replyBuffer;
    bool replyComplete = false;
};
