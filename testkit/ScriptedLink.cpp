#include "testkit/ScriptedLink.h"

ScriptedLink::ScriptedLink(IPortOwner& owner) : owner_(owner), thread_([this] { Run(); }) {}

ScriptedLink::~ScriptedLink() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void ScriptedLink::Reply(std::string bytes, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> guard(lock_);
    script_.push_back({true, Pending{std::chrono::steady_clock::time_point() + delay, std::move(bytes)}});
}

void ScriptedLink::NoReply() {
    std::lock_guard<std::mutex> guard(lock_);
    script_.push_back({false, Pending{}});
}

void ScriptedLink::Deliver(std::string bytes, std::chrono::milliseconds delay) {
    std::lock_guard<std::mutex> guard(lock_);
    queue_.push_back(Pending{std::chrono::steady_clock::now() + delay, std::move(bytes)});
    changed_.notify_all();
}

void ScriptedLink::Drain() {
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [this] { return queue_.empty() && !delivering_; });
}

void ScriptedLink::Write(const unsigned char* data, uint32_t length) {
    const std::string block(reinterpret_cast<const char*>(data), length);
    {
        std::lock_guard<std::mutex> guard(lock_);
        written_.push_back(block);
        if (!script_.empty()) {
            auto [hasReply, reply] = std::move(script_.front());
            script_.pop_front();
            if (hasReply) {
                // The scripted delay was stored as an offset from the clock's epoch.
                auto delay = reply.due - std::chrono::steady_clock::time_point();
                queue_.push_back(Pending{std::chrono::steady_clock::now() + delay, std::move(reply.bytes)});
                changed_.notify_all();
            }
        }
    }
    if (onWrite) onWrite(block);
}

std::vector<std::string> ScriptedLink::Written() const {
    std::lock_guard<std::mutex> guard(lock_);
    return written_;
}

void ScriptedLink::Run() {
    std::unique_lock<std::mutex> guard(lock_);
    for (;;) {
        changed_.wait(guard, [this] { return stop_ || !queue_.empty(); });
        if (stop_) return;
        auto due = queue_.front().due;
        if (changed_.wait_until(guard, due, [this] { return stop_; })) return;
        Pending next = std::move(queue_.front());
        queue_.pop_front();
        delivering_ = true;
        guard.unlock();
        for (unsigned char b : next.bytes) owner_.OnPortByte(b);
        guard.lock();
        delivering_ = false;
        changed_.notify_all();
    }
}
