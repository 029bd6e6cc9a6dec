#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "serial/PortOwner.h"

// A scripted fake of the serial line for the protocol logic: it records every
// block written and answers each with the next scripted reply, delivered byte
// by byte to the owner on a thread of its own, as the port thread would.
class ScriptedLink : public IPortWriter {
public:
    explicit ScriptedLink(IPortOwner& owner);
    ~ScriptedLink();
    ScriptedLink(const ScriptedLink&) = delete;
    ScriptedLink& operator=(const ScriptedLink&) = delete;

    // The reply to the next Write that has none yet; delivered `delay` after it.
    void Reply(std::string bytes, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // The next Write gets no reply at all.
    void NoReply();
    // Bytes that arrive now, answering nothing.
    void Deliver(std::string bytes, std::chrono::milliseconds delay = std::chrono::milliseconds(0));
    // Waits until everything scheduled has been delivered.
    void Drain();

    void Write(const unsigned char* data, uint32_t length) override;
    std::vector<std::string> Written() const;
    // Called with each block written, after it is recorded, on the writer's
    // thread (a test cancels a job at its Nth command). Set it before use.
    std::function<void(const std::string& block)> onWrite;

private:
    struct Pending {
        std::chrono::steady_clock::time_point due;
        std::string bytes;
    };
    void Run();

    IPortOwner& owner_;
    mutable std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::pair<bool, Pending>> script_;  // (has reply, reply) per future write
    std::deque<Pending> queue_;
    std::vector<std::string> written_;
    bool delivering_ = false;
    bool stop_ = false;
    std::thread thread_;
};
