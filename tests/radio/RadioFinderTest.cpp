#include "radio/RadioFinder.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace {

const std::vector<int> kRates = {9600, 19200, 38400, 57600, 115200};

TEST(SearchOrder, Rates_RememberedThenLikelyThenRest_EachOnce) {
    EXPECT_EQ((std::vector<int>{57600, 38400, 9600, 115200, 19200}), SearchRateOrder(57600, kRates));
    EXPECT_EQ((std::vector<int>{9600, 38400, 115200, 19200, 57600}), SearchRateOrder(9600, kRates));
    // A remembered rate the list does not have is not tried.
    EXPECT_EQ((std::vector<int>{38400, 9600, 115200, 19200, 57600}), SearchRateOrder(0, kRates));
    EXPECT_EQ((std::vector<int>{19200}), SearchRateOrder(38400, {19200}));
}

TEST(SearchOrder, Ports_RememberedFirstThenListOrder_UnlistedRememberedLeftOut) {
    EXPECT_EQ((std::vector<int>{7, 5, 6, 8}), SearchPortOrder(7, {5, 6, 7, 8}));
    EXPECT_EQ((std::vector<int>{5, 6}), SearchPortOrder(9, {5, 6}));
    EXPECT_EQ((std::vector<int>{5, 6}), SearchPortOrder(5, {5, 6, 5}));
    EXPECT_TRUE(SearchPortOrder(5, {}).empty());
}

// Ports that exist, the rate a radio answers at on each (0: none), and what
// the search did.
struct FakeProbe : IRadioProbe {
    std::map<int, int> radios;
    std::vector<std::pair<int, int>> tried;
    std::atomic<bool>* cancelAfterFirst = nullptr;
    int openPort = 0, openRate = 0, opens = 0, closes = 0;

    void Trying(int port, int rate) override {
        tried.push_back({port, rate});
        if (cancelAfterFirst) *cancelAfterFirst = true;
    }
    bool OpenPort(int port, int rate) override {
        if (radios.count(port) == 0) return false;
        ++opens;
        openPort = port;
        openRate = rate;
        return true;
    }
    bool Connect() override { return radios[openPort] == openRate; }
    void ClosePort() override { ++closes; }
};

TEST(FindRadio, UnopenablePortCostsOneTry_RadioFoundAtItsRate_PortClosedAfterEveryOpen) {
    FakeProbe probe;
    probe.radios = {{6, 115200}};
    std::atomic<bool> cancel{false};
    const FindOutcome outcome = FindRadio(probe, {5, 6, 7}, {38400, 9600, 115200, 19200}, cancel);
    EXPECT_EQ(FindOutcome::Kind::Found, outcome.kind);
    EXPECT_EQ(6, outcome.port);
    EXPECT_EQ(115200, outcome.rate);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{5, 38400}, {6, 38400}, {6, 9600}, {6, 115200}}), probe.tried);
    EXPECT_EQ(probe.opens, probe.closes);
}

TEST(FindRadio, NoRadioAnywhere_NotFoundAfterEveryRateOfEveryOpenPort) {
    FakeProbe probe;
    probe.radios = {{5, 0}, {7, 0}};
    std::atomic<bool> cancel{false};
    EXPECT_EQ(FindOutcome::Kind::NotFound, FindRadio(probe, {5, 6, 7}, {9600, 19200}, cancel).kind);
    EXPECT_EQ(5u, probe.tried.size());
    EXPECT_EQ(4, probe.closes);
}

TEST(FindRadio, CancelledDuringAnAttempt_StopsBeforeTheNext) {
    FakeProbe probe;
    probe.radios = {{5, 0}, {6, 9600}};
    std::atomic<bool> cancel{false};
    probe.cancelAfterFirst = &cancel;
    EXPECT_EQ(FindOutcome::Kind::Cancelled, FindRadio(probe, {5, 6}, {9600, 19200}, cancel).kind);
    EXPECT_EQ(1u, probe.tried.size());
    EXPECT_EQ(probe.opens, probe.closes);
}

}  // namespace
