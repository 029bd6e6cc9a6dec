#include <gtest/gtest.h>

#include "RadioSim.h"
#include "RadioState.h"
#include "SimHarness.h"

TEST(RadioStateText, ChangedState_RoundTripsThroughText) {
    RadioState s = RadioState::factoryDefault();
    s.txFrequency[0] = 41000000;
    s.rxFrequency[7] = 47000000;
    s.currentChannel = 8;
    s.protocol = 9;
    s.portBaud = 5;
    s.linkBaud = 1;
    s.bandwidth = 1;
    s.workMode = 3;
    s.localAddress = 0;
    s.destinationAddress = 17;
    s.highPower = 3;
    s.lowPower = 1;
    s.serialNumber = "A B=C#1";
    s.hardware = "X";
    s.firmware = "V9.99 beta";
    s.subFirmware = "S=2";
    RadioState back = RadioState::factoryDefault();
    RadioState::LoadResult r = RadioState::fromText(s.toText(), back);
    ASSERT_TRUE(r.ok) << r.line << " " << r.message;
    EXPECT_TRUE(back == s);
    EXPECT_NE(s.toText().find("rx8=470.00000\n"), std::string::npos);
    EXPECT_NE(s.toText().find("bandwidth=12.5\n"), std::string::npos);
    EXPECT_NE(s.toText().find("work_mode=repeater\n"), std::string::npos);
}

TEST(RadioStateText, PartialFileWithCrLfAndComments_KeepsOtherValues) {
    RadioState s = RadioState::factoryDefault();
    auto r = RadioState::fromText("# saved\r\n\r\nport_baud=3\r\ntx2=433.125\r\n", s);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(s.portBaud, 3);
    EXPECT_EQ(RadioState::formatFrequency(s.txFrequency[1]), "433.12500");
    EXPECT_EQ(s.protocol, 1);
    EXPECT_EQ(s.serialNumber, "VM2300001");
}

TEST(RadioStateText, Errors_NameTheLineAndLeaveStateUnchanged) {
    struct Case {
        const char* text;
        int line;
    } cases[] = {
        {"port_baud=3\nbogus=1\n", 2},
        {"port_baud=3\n\nport_baud\n", 3},
        {"protocol=10\n", 1},
        {"tx1=480\n", 1},
        {"local_address=255\n", 1},
        {"serial_number=1234567890\n", 1},
        {"hardware=\n", 1},
        {"bandwidth=12\n", 1},
        {"tx9=420\n", 1},
    };
    for (const Case& c : cases) {
        RadioState s = RadioState::factoryDefault();
        auto r = RadioState::fromText(c.text, s);
        EXPECT_FALSE(r.ok) << c.text;
        EXPECT_EQ(r.line, c.line) << c.text;
        EXPECT_FALSE(r.message.empty());
        EXPECT_TRUE(s == RadioState::factoryDefault()) << c.text;
    }
}

TEST(Frequency, ParseEdges) {
    uint32_t u = 7;
    EXPECT_TRUE(RadioState::parseFrequency("410", u));
    EXPECT_EQ(u, 41000000u);
    EXPECT_TRUE(RadioState::parseFrequency("469.99999", u));
    EXPECT_EQ(RadioState::formatFrequency(u), "469.99999");
    EXPECT_TRUE(RadioState::parseFrequency("415.", u));
    EXPECT_EQ(u, 41500000u);
    u = 7;
    for (const char* bad : {"", ".", "409.99999", "470.00001", "4150", "415.000001", "415,5", " 415", "415 ", "1e3"})
        EXPECT_FALSE(RadioState::parseFrequency(bad, u)) << bad;
    EXPECT_EQ(u, 7u);
}

TEST(StateChange, SettingsSeenInState_QueriesAndRefusalsNot) {
    RadioSim sim(RadioState::factoryDefault(), SimFaults{}, false);
    replyTo(sim, "control\r");
    replyTo(sim, "cfg_prtl 4\r");
    EXPECT_TRUE(sim.takeStateChanged());
    EXPECT_FALSE(sim.takeStateChanged());
    replyTo(sim, "cfg_prtl 12\r");
    replyTo(sim, "cfg_prtl\r");
    EXPECT_FALSE(sim.takeStateChanged());
    RadioState reloaded = RadioState::factoryDefault();
    ASSERT_TRUE(RadioState::fromText(sim.state().toText(), reloaded).ok);
    EXPECT_EQ(reloaded.protocol, 4);
}
