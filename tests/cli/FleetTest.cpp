// Several radios from one command: the file name of each radio, two ports
// that reach one radio, the summary and exit code, the JSON results, and the
// profile with the --set values in it.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "cli/Fleet.h"
#include "cli/ProfileSettings.h"

namespace {

TEST(RadioFileName, SerialAndPortReplaced_AnUnusableSerialGivesThePort) {
    bool missing = true;
    EXPECT_EQ(RadioFileName("fleet\\{serial}-{port}.cfg", 3, "VM2300017", missing), "fleet\\VM2300017-COM3.cfg");
    EXPECT_FALSE(missing);
    // Separators, wildcards and bytes outside ASCII never reach the name.
    EXPECT_EQ(RadioFileName("{serial}.cfg", 3, "A/B\\C:*\xE4\xB8\xAD", missing), "A_B_C_____.cfg");
    EXPECT_FALSE(missing);
    for (const std::string serial : {"", "???", "..", " "}) {
        EXPECT_EQ(RadioFileName("{serial}.cfg", 12, serial, missing), "COM12.cfg") << serial;
        EXPECT_TRUE(missing) << serial;
    }
    EXPECT_EQ(RadioFileName("{port}.cfg", 12, "", missing), "COM12.cfg");
    EXPECT_FALSE(missing);  // no {serial} asked for
}

// A name whose part before the first dot is a device (CON, NUL, COM1, ...)
// is the device itself, whatever its folder, extension and case.
TEST(RadioFileName, NeverTheNameOfADevice) {
    bool missing = false;
    for (const std::string serial : {"NUL", "con", "Aux.1", "LPT1", "com9"}) {
        EXPECT_EQ(RadioFileName("in\\{serial}.cfg", 12, serial, missing), "in\\COM12.cfg") << serial;
        EXPECT_TRUE(missing) << serial;
    }
    EXPECT_EQ(RadioFileName("in\\{serial}.cfg", 3, "", missing), "in\\port-COM3.cfg");
    EXPECT_EQ(RadioFileName("{port}.{serial}.cfg", 9, "VM1", missing), "port-COM9.VM1.cfg");
    EXPECT_EQ(RadioFileName("{serial}-x.cfg", 3, "NUL", missing), "NUL-x.cfg");  // not a device
    EXPECT_FALSE(missing);
}

TEST(RadioClaims, TwoPortsOneRadio_TheSecondIsRefused) {
    RadioClaims claims;
    int other = 0;
    EXPECT_TRUE(claims.Claim("VM1", 3, other));
    EXPECT_TRUE(claims.Claim("VM1", 3, other));  // the same port again
    EXPECT_TRUE(claims.Claim("", 4, other));     // no serial number: nothing to compare
    EXPECT_TRUE(claims.Claim("", 5, other));
    EXPECT_FALSE(claims.Claim("VM1", 6, other));
    EXPECT_EQ(other, 3);
    // Two radios, one file on a file system that ignores case.
    EXPECT_TRUE(claims.ClaimFile("in\\VM_01.cfg", 3, other));
    EXPECT_TRUE(claims.ClaimFile("in\\VM_01.cfg", 3, other));
    EXPECT_FALSE(claims.ClaimFile("IN\\vm_01.CFG", 7, other));
    EXPECT_EQ(other, 3);
    // From many threads at once exactly one port wins a serial number.
    RadioClaims raced;
    std::vector<int> won(8, 0);
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i)
        threads.emplace_back([&, i] {
            int o = 0;
            won[i] = raced.Claim("VM9", i + 1, o) ? 1 : 0;
        });
    for (std::thread& t : threads) t.join();
    int winners = 0;
    for (int w : won) winners += w;
    EXPECT_EQ(winners, 1);
}

PortResult Result(int port, ExitCode code, const std::string& reason = "") {
    PortResult r;
    r.port = port;
    r.code = code;
    r.reason = reason;
    return r;
}

TEST(FleetReport, ExitCodeIsTheHighest_SummaryNamesEachFailure) {
    EXPECT_EQ(FleetExitCode({Result(3, ExitCode::Success), Result(4, ExitCode::Success)}), ExitCode::Success);
    const std::vector<PortResult> results = {Result(3, ExitCode::Success),
                                             Result(4, ExitCode::VerifyMismatch, "COM4 does not hold it"),
                                             Result(5, ExitCode::NoAnswer, "no answer"), Result(6, ExitCode::Refused)};
    EXPECT_EQ(FleetExitCode(results), ExitCode::VerifyMismatch);
    EXPECT_EQ(FleetSummary(results),
              "summary: 4 ports, 1 done, 3 failed\n"
              "  COM4: exit code 7, COM4 does not hold it\n"
              "  COM5: exit code 3, no answer\n"
              "  COM6: exit code 4, refused\n");
}

TEST(FleetReport, Json_EveryFieldAndBadUtf8Replaced) {
    PortResult r = Result(3, ExitCode::VerifyMismatch, "the radio on COM3 does not hold what was written");
    r.rate = 38400;
    r.action = CliAction::Write;
    r.durationMs = 1043;
    r.radioRead = true;
    r.serialNumber =
        "VM\xFF\xFE"
        "1";  // not UTF-8
    r.hardwareVersion = "H2.1";
    r.firmwareVersion = "V3.12 \"beta\"";
    r.differences = {{"destination", "200", "255"}};
    const std::string text = ResultJson(r);
    EXPECT_EQ(text.find('\n'), std::string::npos);
    const nlohmann::json j = nlohmann::json::parse(text);  // throws on anything but valid JSON
    EXPECT_EQ(j["port"], "COM3");
    EXPECT_EQ(j["rate"], 38400);
    EXPECT_EQ(j["action"], "write");
    EXPECT_EQ(j["outcome"], "verify-mismatch");
    EXPECT_EQ(j["exitCode"], 7);
    EXPECT_EQ(j["durationMs"], 1043);
    EXPECT_EQ(j["serialNumber"],
              "VM\xEF\xBF\xBD\xEF\xBF\xBD"
              "1");
    EXPECT_EQ(j["firmwareVersion"], "V3.12 \"beta\"");
    EXPECT_EQ(j["differences"], nlohmann::json::parse(R"([{"field":"destination","written":"200","read":"255"}])"));
    // A radio never read has no facts, not empty ones.
    const nlohmann::json unread = nlohmann::json::parse(ResultJson(Result(4, ExitCode::NoAnswer, "no answer")));
    EXPECT_TRUE(unread["serialNumber"].is_null());
    EXPECT_EQ(unread["error"], "no answer");
}

// Every cause keeps the exit code of its kind of failure, and the JSON says
// the cause's word with the command and the reply it names.
TEST(FleetReport, EachCauseHasItsExitCodeAndWord) {
    const struct {
        OutcomeKind kind;
        ExitCode code;
    } cases[] = {
        {OutcomeKind::Success, ExitCode::Success},
        {OutcomeKind::PortAbsent, ExitCode::PortNotOpened},
        {OutcomeKind::PortInUse, ExitCode::PortNotOpened},
        {OutcomeKind::PortRefused, ExitCode::PortNotOpened},
        {OutcomeKind::NoAnswer, ExitCode::NoAnswer},
        {OutcomeKind::PortLost, ExitCode::NoAnswer},
        {OutcomeKind::UnexpectedAnswer, ExitCode::Refused},
        {OutcomeKind::ValueRefused, ExitCode::Refused},
        {OutcomeKind::CheckFailed, ExitCode::FileError},
        {OutcomeKind::FileError, ExitCode::FileError},
        {OutcomeKind::VerifyMismatch, ExitCode::VerifyMismatch},
        {OutcomeKind::Cancelled, ExitCode::Cancelled},
    };
    for (const auto& c : cases) EXPECT_EQ(ExitCodeOf(c.kind), c.code) << CauseWord(c.kind);
    PortResult r = Result(3, ExitCode::Refused, "the radio refused cfg_bw 25.0");
    r.cause = CauseWord(OutcomeKind::ValueRefused);
    r.command = "cfg_bw 25.0";
    r.reply = "ERROR: bad value";
    const nlohmann::json j = nlohmann::json::parse(ResultJson(r));
    EXPECT_EQ(j["cause"], "value-refused");
    EXPECT_EQ(j["command"], "cfg_bw 25.0");
    EXPECT_EQ(j["reply"], "ERROR: bad value");
    EXPECT_TRUE(nlohmann::json::parse(ResultJson(Result(4, ExitCode::Success)))["reply"].is_null());
}

TEST(ProfileSettings, ValuesReplaceTheirLines_MissingKeysGoInTheProfilesOrder) {
    const std::string profile = "Channel1,430.00000\r\r\nProtocolType,2\r\r\nLinkBaudRate,1\r\r\nSRC,1\r\r\n";
    EXPECT_EQ(ApplySettings(profile, {{"SRC", "12"}, {"Channel1", "431.00000"}}),
              "Channel1,431.00000\r\r\nProtocolType,2\r\r\nLinkBaudRate,1\r\r\nSRC,12\r\r\n");
    // RXChannel1 holds "Channel1" too: only its own line changes.
    EXPECT_EQ(ApplySettings("RXChannel1,440.00000\nChannel1,430.00000\n", {{"Channel1", "431.00000"}}),
              "RXChannel1,440.00000\nChannel1,431.00000\r\r\n");
    // A protocol the profile lacks goes before its link rate, which it would
    // otherwise undo; DST after SRC; a last line without a line end keeps its value.
    EXPECT_EQ(ApplySettings(profile, {{"workMode", "1"}, {"DST", "200"}, {"CurrentChannel", "3"}}),
              "Channel1,430.00000\r\r\nProtocolType,2\r\r\nCurrentChannel,3\r\r\nLinkBaudRate,1\r\r\n"
              "workMode,1\r\r\nSRC,1\r\r\nDST,200\r\r\n");
    EXPECT_EQ(ApplySettings("SRC,1", {{"DST", "7"}}), "SRC,1\r\nDST,7\r\r\n");
}

}  // namespace
