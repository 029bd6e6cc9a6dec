#include "testkit/CountingRadio.h"

void CountingRadio::ResetCounts() {
    sent_.store(0);
    received_.store(0);
}

void CountingRadio::Write(const unsigned char* data, uint32_t length) {
    {
        // A new command: its reply is yet to open. The exchange has cleared
        // its reply before it writes.
        std::lock_guard<std::mutex> guard(countLock_);
        replyOpen_ = false;
        counted_ = 0;
        atCompletion_ = -1;
    }
    sent_ += length;
    port.Write(data, length);
}

void CountingRadio::OnPortByte(unsigned char byte) {
    ++received_;
    std::lock_guard<std::mutex> guard(countLock_);
    if (!replyOpen_ && byte == '\r') replyOpen_ = true;
    const bool counting = replyOpen_ && atCompletion_ < 0;
    if (counting) ++counted_;
    exchange.OnPortByte(byte);
    if (counting && exchange.IsReplyComplete()) atCompletion_ = counted_;
}

bool CountingRadio::Query(const char* command, int& replyBytes) {
    bool ok = exchange.SendCommand(command);
    std::lock_guard<std::mutex> guard(countLock_);
    replyBytes = atCompletion_;
    return ok;
}

Outcome CountingRadio::Open(int portNumber, int rate) {
    if (port.Open(portNumber, rate) && port.StartThread()) return Outcome();
    port.Close();
    return PortOutcome(OutcomeKind::PortRefused, portNumber, rate, port.LastOpenError());
}
