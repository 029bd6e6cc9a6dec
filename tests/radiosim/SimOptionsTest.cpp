#include <gtest/gtest.h>

#include <vector>

#include "SimOptions.h"

namespace {

bool parse(std::vector<const char*> args, SimOptions& o, std::string& error) {
    args.insert(args.begin(), "radiosim");
    return o.parse(int(args.size()), args.data(), error);
}

}  // namespace

TEST(SimOptions, Defaults_LinkInTmpUnpacedNoFaults) {
    SimOptions o;
    std::string error;
    ASSERT_TRUE(parse({}, o, error));
    EXPECT_EQ(o.link, "/tmp/velmora-radio");
    EXPECT_EQ(o.lineRate, 0);
    EXPECT_EQ(o.idleExitSeconds, 0);
    EXPECT_FALSE(o.echo);
    EXPECT_FALSE(o.faults.silent);
    EXPECT_NE(SimOptions::usage().find("/tmp/velmora-radio"), std::string::npos);
}

TEST(SimOptions, EveryOption_SeparateAndInlineValues) {
    SimOptions o;
    std::string error;
    ASSERT_TRUE(parse({"--link",
                       "/t/l",
                       "--stop-file=/t/s",
                       "--idle-exit",
                       "2.5",
                       "--state",
                       "/t/st",
                       "--transcript=/t/tr",
                       "--firmware-out",
                       "/t/fw",
                       "--line-rate=9600",
                       "--port-rate",
                       "19200",
                       "--echo",
                       "--raw-echo",
                       "--fault",
                       "drop=3",
                       "--fault=noise",
                       "--fault",
                       "no-link-baud=unknow"},
                      o, error))
        << error;
    EXPECT_EQ(o.link, "/t/l");
    EXPECT_EQ(o.stopFile, "/t/s");
    EXPECT_DOUBLE_EQ(o.idleExitSeconds, 2.5);
    EXPECT_EQ(o.statePath, "/t/st");
    EXPECT_EQ(o.transcriptPath, "/t/tr");
    EXPECT_EQ(o.firmwareOut, "/t/fw");
    EXPECT_EQ(o.lineRate, 9600);
    EXPECT_EQ(o.portRate, 19200);
    EXPECT_TRUE(o.echo);
    EXPECT_TRUE(o.rawEcho);
    EXPECT_TRUE(o.faults.drops(3));
    EXPECT_TRUE(o.faults.noise);
    EXPECT_EQ(o.faults.linkBaud, SimFaults::LinkBaud::Unknow);
}

TEST(SimOptions, Mistakes_RefusedWithMessage) {
    std::vector<std::vector<const char*>> cases = {
        {"--bogus"},
        {"--link"},
        {"--link="},
        {"--line-rate", "0"},
        {"--line-rate", "96k"},
        {"--port-rate", "0"},
        {"--idle-exit", "-1"},
        {"--idle-exit", "soon"},
        {"--fault", "fire"},
        {"--echo=1"},
        {"stray"},
    };
    for (const auto& args : cases) {
        SimOptions o;
        std::string error;
        EXPECT_FALSE(parse(args, o, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}
