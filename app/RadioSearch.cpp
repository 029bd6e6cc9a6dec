#include "app/RadioSearch.h"

#include <utility>

#include "app/UiEvents.h"

bool RadioSearch::Start(std::vector<int> ports, std::vector<int> rates) {
    if (running_ || thread_.joinable()) return false;
    running_ = true;
    cancel_ = false;
    ended_ = false;
    thread_ = std::thread([this, ports = std::move(ports), rates = std::move(rates)] {
        outcome_ = FindRadio(*this, ports, rates, cancel_);
        ended_ = true;
        ::PostMessageW(window_, kWmAppUiEvent, 0, kUiSearchDone);
    });
    return true;
}

void RadioSearch::Trying(int port, int rate) {
    tryingPort_ = port;
    tryingRate_ = rate;
    ::PostMessageW(window_, kWmAppUiEvent, 0, kUiSearchStep);
}

FindOutcome RadioSearch::Finish() {
    Stop();
    running_ = false;
    endedAt_ = ::GetTickCount();
    return outcome_;
}

void RadioSearch::Stop() {
    cancel_ = true;
    if (thread_.joinable()) thread_.join();
}
