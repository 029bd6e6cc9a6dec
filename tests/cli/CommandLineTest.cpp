// The command line's options: what a workshop script may write, and the
// slips that must end in a usage error before any radio is touched.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CommandLine.h"

namespace {

using Args = std::vector<std::string>;

CliOptions Parsed(const Args& args) {
    CliOptions options;
    std::string error;
    EXPECT_TRUE(ParseCommandLine(args, options, error)) << error;
    return options;
}

std::string Refused(const Args& args) {
    CliOptions options;
    std::string error;
    EXPECT_FALSE(ParseCommandLine(args, options, error));
    return error;
}

TEST(CommandLine, ReadWithPortAndRate) {
    const CliOptions o = Parsed({"--port", "COM3", "--rate", "9600", "--read", "out.cfg"});
    EXPECT_EQ(o.action, CliAction::Read);
    EXPECT_EQ(o.port, 3);
    EXPECT_EQ(o.rate, 9600);
    EXPECT_EQ(o.path, "out.cfg");
}

TEST(CommandLine, PortForms_AndTheDefaultRate) {
    EXPECT_EQ(Parsed({"--write", "in.cfg", "--port", "com12"}).port, 12);
    EXPECT_EQ(Parsed({"--write", "in.cfg", "--port", "7"}).rate, 38400);
    EXPECT_NE(Refused({"--write", "in.cfg", "--port", "COM0"}).find("--port"), std::string::npos);
    EXPECT_NE(Refused({"--write", "in.cfg", "--port", "COM256"}).find("--port"), std::string::npos);
    EXPECT_NE(Refused({"--write", "in.cfg", "--port", "COMx"}).find("--port"), std::string::npos);
}

TEST(CommandLine, RateOutsideTheList_Refused) {
    EXPECT_NE(Refused({"--port", "3", "--rate", "4800", "--read", "a"}).find("--rate"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--rate", "-9600", "--read", "a"}).find("--rate"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--read", "a", "--rate"}).find("--rate needs a value"), std::string::npos);
}

TEST(CommandLine, MisspelledOption_NamedWithASuggestion) {
    const std::string error = Refused({"--port", "3", "--raed", "a.cfg"});
    EXPECT_NE(error.find("'--raed'"), std::string::npos) << error;
    EXPECT_NE(error.find("did you mean --read?"), std::string::npos) << error;
    EXPECT_EQ(Refused({"--xyzzy"}).find("did you mean"), std::string::npos);
}

TEST(CommandLine, MissingValues_Refused) {
    EXPECT_NE(Refused({"--port", "3", "--read"}).find("--read needs a value"), std::string::npos);
    EXPECT_NE(Refused({"--port", "--read", "a"}).find("--port needs a value"), std::string::npos);
    EXPECT_NE(Refused({"--read", "a"}).find("--port is needed"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3"}).find("nothing to do"), std::string::npos);
}

TEST(CommandLine, ConflictsAndRepeats_Refused) {
    EXPECT_NE(Refused({"--port", "3", "--read", "a", "--write", "b"}).find("one action"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--port", "4", "--read", "a"}).find("twice"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--read", "a", "--verify"}).find("--verify"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--read", "a", "--yes"}).find("--yes"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--rate", "9600", "--firmware", "x.dwn"}).find("115200"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "stray", "--read", "a"}).find("'stray'"), std::string::npos);
}

TEST(CommandLine, HelpWinsAndFindNeedsNoPort) {
    EXPECT_EQ(Parsed({"--port", "3", "--help"}).action, CliAction::Help);
    EXPECT_EQ(Parsed({"/?"}).action, CliAction::Help);
    EXPECT_EQ(Parsed({"--find"}).action, CliAction::Find);
    const CliOptions o = Parsed({"--port", "3", "--firmware", "x.dwn", "--yes"});
    EXPECT_TRUE(o.yes);
    EXPECT_EQ(o.action, CliAction::Firmware);
}

}  // namespace
