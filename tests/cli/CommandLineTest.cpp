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

TEST(CommandLine, SeveralPorts_EachOnceNoneEmptyAtMost32) {
    const CliOptions o = Parsed({"--port", "COM3,com4,7", "--find"});
    EXPECT_EQ(o.ports, (std::vector<int>{3, 4, 7}));
    EXPECT_EQ(o.port, 3);
    EXPECT_NE(Refused({"--port", "COM3,,COM4", "--find"}).find("empty item"), std::string::npos);
    EXPECT_NE(Refused({"--port", "COM3,", "--find"}).find("empty item"), std::string::npos);
    EXPECT_NE(Refused({"--port", "COM3,3", "--find"}).find("COM3 twice"), std::string::npos);
    std::string thirtyThree;
    for (int n = 1; n <= 33; ++n) thirtyThree += (n > 1 ? "," : "") + std::to_string(n);
    EXPECT_NE(Refused({"--port", thirtyThree, "--find"}).find("at most 32"), std::string::npos);
    EXPECT_EQ(Parsed({"--port", thirtyThree.substr(0, thirtyThree.rfind(',')), "--find"}).ports.size(), 32u);
    EXPECT_NE(Refused({"--port", "COM3,COM4", "--firmware", "x.dwn", "--yes"}).find("one port"), std::string::npos);
}

TEST(CommandLine, ReadFromSeveralPorts_NeedsANamePerRadio) {
    EXPECT_NE(Refused({"--port", "COM3,COM4", "--read", "fleet.cfg"}).find("{serial}"), std::string::npos);
    EXPECT_EQ(Parsed({"--port", "COM3,COM4", "--read", "fleet\\{serial}.cfg"}).path, "fleet\\{serial}.cfg");
    EXPECT_EQ(Parsed({"--port", "COM3,COM4", "--read", "{port}.cfg"}).ports.size(), 2u);
    EXPECT_EQ(Parsed({"--port", "COM3", "--read", "fleet.cfg"}).path, "fleet.cfg");
}

TEST(CommandLine, ReadIntoADeviceName_Refused) {
    // The last is COM with a superscript one, a device as COM1 is.
    for (const std::string path :
         {"NUL.cfg", "con", "x\\Com3 .cfg", "AUX\\{serial}.cfg", "lpt1.{port}.cfg", "COM\xC2\xB9.cfg"})
        EXPECT_NE(Refused({"--port", "3", "--read", path}).find("device"), std::string::npos) << path;
    EXPECT_EQ(Parsed({"--port", "3", "--read", "COM10\\NULL.{port}.cfg"}).action, CliAction::Read);
}

// Without options the console twin starts the window program beside it,
// and from nowhere else when its own folder is not known.
TEST(CommandLine, WindowProgramBesideTheConsoleTwin) {
    EXPECT_EQ(WindowProgramBeside("C:\\Tools\\VelmoraConfig.com"), "C:\\Tools\\VelmoraConfig.exe");
    EXPECT_EQ(WindowProgramBeside("C:\\VelmoraConfig.com"), "C:\\VelmoraConfig.exe");
    for (const std::string unknown : {"", "VelmoraConfig.com", "\\VelmoraConfig.com"})
        EXPECT_EQ(WindowProgramBeside(unknown), "") << unknown;
}

TEST(CommandLine, SetValues_CheckedAsTheWindowChecksItsFields) {
    const CliOptions o =
        Parsed({"--port", "3", "--write", "a.cfg", "--set", "src=12", "--set", "Channel3=430.1", "--set", "DST=255"});
    ASSERT_EQ(o.sets.size(), 3u);
    EXPECT_EQ(o.sets[0].key, "SRC");  // the profile's own spelling
    EXPECT_EQ(o.sets[1].value, "430.10000");
    EXPECT_EQ(Parsed({"--port", "3", "--write", "a", "--set", "LinkBaudRate=-1"}).sets[0].value, "-1");
    auto refusedSet = [](const std::string& set) { return Refused({"--port", "3", "--write", "a", "--set", set}); };
    EXPECT_NE(refusedSet("Colour=3").find("no key 'Colour'"), std::string::npos);
    EXPECT_NE(refusedSet("SRC").find("KEY=VALUE"), std::string::npos);
    EXPECT_NE(refusedSet("SRC=").find("needs a value"), std::string::npos);
    EXPECT_NE(refusedSet("SRC=255").find("0 to 254"), std::string::npos);
    EXPECT_NE(refusedSet("DST=2a").find("0 to 255"), std::string::npos);
    EXPECT_NE(refusedSet("Channel1=400").find("410 to 470"), std::string::npos);
    EXPECT_NE(refusedSet("Channel1=430,5").find("without commas"), std::string::npos);
    EXPECT_NE(refusedSet("DST=1\r\ncfg_srcx 9").find("one short line"), std::string::npos);
    EXPECT_NE(refusedSet("HighPower=-1").find("position"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--write", "a", "--set", "SRC=1", "--set", "Src=2"}).find("SRC is given twice"),
              std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--read", "a", "--set", "SRC=1"}).find("--write only"), std::string::npos);
    EXPECT_NE(Refused({"--port", "3", "--firmware", "x", "--json"}).find("--json"), std::string::npos);
}

}  // namespace
