#include "radio/RadioFinder.h"

#include <algorithm>

#include "radio/CommandSet.h"

namespace {

void AddOnce(std::vector<int>& order, int value, const std::vector<int>& listed) {
    if (std::find(listed.begin(), listed.end(), value) == listed.end()) return;
    if (std::find(order.begin(), order.end(), value) == order.end()) order.push_back(value);
}

}  // namespace

std::vector<int> SearchPortOrder(int remembered, const std::vector<int>& listed) {
    std::vector<int> order;
    AddOnce(order, remembered, listed);
    for (int port : listed) AddOnce(order, port, listed);
    return order;
}

std::vector<int> SearchRateOrder(int remembered, const std::vector<int>& listed) {
    std::vector<int> order;
    for (int rate : {remembered, 38400, 9600, 115200}) AddOnce(order, rate, listed);
    for (int rate : listed) AddOnce(order, rate, listed);
    return order;
}

FindOutcome FindRadio(IRadioProbe& probe, const std::vector<int>& ports, const std::vector<int>& rates,
                      const std::atomic<bool>& cancel) {
    FindOutcome outcome;
    for (int port : ports) {
        for (int rate : rates) {
            if (cancel.load()) {
                outcome.kind = FindOutcome::Kind::Cancelled;
                return outcome;
            }
            probe.Trying(port, rate);
            if (!probe.OpenPort(port, rate)) break;  // no such port: the next one
            const bool answered = probe.Connect();
            probe.ClosePort();
            if (answered) return {FindOutcome::Kind::Found, port, rate};
        }
    }
    return outcome;
}

bool ConnectAnswered(RadioExchange& exchange) {
    return exchange.SendCommand(CommandSet::kEnterConfig) && exchange.ReplyContains(CommandSet::kEnterConfigReply);
}
