#include "radio/RadioExchange.h"

#include <cstring>

void RadioExchange::OnPortByte(unsigned char byte) {
    std::lock_guard<std::mutex> guard(lock_);
    if (byte == '\r') {
        if (replyBuffer.empty()) {
            replyBuffer.push_back('\r');  // opens the reply
        } else if (replyBuffer.size() > 1 && !replyComplete) {
            replyComplete = true;
            completed_.notify_all();
        }
        return;  // a carriage return after only the opening one: an empty line
    }
    if (byte == '\n' || replyComplete || replyBuffer.empty()) return;
    if (replyBuffer.size() >= kMaxReplyLength) return;
    replyBuffer.push_back(static_cast<char>(byte));
    size_t n = replyBuffer.size();
    if (byte == 'K' && n >= 3 && replyBuffer[n - 3] == 'A' && replyBuffer[n - 2] == 'C') {
        replyComplete = true;
        completed_.notify_all();
    }
}

void RadioExchange::Send(const unsigned char* data, uint32_t length) {
    {
        std::lock_guard<std::mutex> guard(lock_);
        replyBuffer.clear();
        replyComplete = false;
    }
    port_->Write(data, length);
}

bool RadioExchange::SendAndWait(const unsigned char* data, uint32_t length) {
    Send(data, length);
    std::unique_lock<std::mutex> guard(lock_);
    auto deadline = std::chrono::steady_clock::now() + kWaitSteps * kWaitStep;
    completed_.wait_until(guard, deadline, [this] { return replyComplete; });
    return replyComplete;
}

bool RadioExchange::SendCommand(const char* text) {
    return SendAndWait(reinterpret_cast<const unsigned char*>(text), static_cast<uint32_t>(std::strlen(text)));
}

bool RadioExchange::SendCommandExpectOk(const char* text) { return SendCommand(text) && ReplyContains("OK"); }

std::string RadioExchange::ReplyLine() const {
    std::lock_guard<std::mutex> guard(lock_);
    return replyBuffer.empty() ? std::string() : replyBuffer.substr(1);
}

std::string RadioExchange::ReplyBuffer() const {
    std::lock_guard<std::mutex> guard(lock_);
    return replyBuffer;
}

bool RadioExchange::ReplyContains(const char* words) const {
    std::lock_guard<std::mutex> guard(lock_);
    return replyBuffer.find(words) != std::string::npos;
}

bool RadioExchange::IsReplyComplete() const {
    std::lock_guard<std::mutex> guard(lock_);
    return replyComplete;
}
