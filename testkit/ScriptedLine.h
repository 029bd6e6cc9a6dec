#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "radio/RadioExchange.h"
#include "radio/RadioLine.h"
#include "testkit/ScriptedLink.h"

// A radio line for the jobs' tests: the real exchange over a scripted serial
// line. Opening succeeds unless the test sets the outcome it gives instead;
// the port can be made to count as lost.
class ScriptedLine : public IRadioLine, private IPortWriter {
public:
    ScriptedLine() : exchange_(*this), link_(exchange_) {}

    Outcome Open(int port, int rate) override {
        ++opens;
        lastPort = port;
        lastRate = rate;
        return openOutcome;
    }
    RadioExchange& Exchange() override { return exchange_; }
    bool Lost() const override { return lost.load(); }

    ScriptedLink& Link() { return link_; }
    std::vector<std::string> Written() const { return link_.Written(); }

    Outcome openOutcome;  // what Open gives: success by default
    std::atomic<bool> lost{false};
    int opens = 0;
    int lastPort = 0, lastRate = 0;

private:
    void Write(const unsigned char* data, uint32_t length) override { link_.Write(data, length); }

    RadioExchange exchange_;
    ScriptedLink link_;  // after the exchange it feeds, so that it goes first
};
