// VelmoraConfig.exe without a window, as a workshop script runs it: options
// on the command line, output and exit code back to the script, against the
// simulated radio. Every refused request leaves the radio's transcript empty.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "platform/UniqueHandle.h"
#include "radio/Parameters.h"
#include "testkit/FirmwareImage.h"
#include "testkit/PortsClassDevice.h"
#include "testkit/SimProcess.h"
#include "testkit/Transcript.h"
#include "platform/Wide.h"

namespace {

struct Outcome {
    DWORD code = 0xFFFFFFFF;
    std::string out, err;
};

std::string Unix(const std::string& name) { return SimProcess::UnixPathFor(TestComPort(0), name); }
std::string Win(const std::string& name) { return SimProcess::WinePath(Unix(name)); }

HANDLE Inheritable(const std::string& path, bool write) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    return ::CreateFileW(Text::WidePath(path).c_str(), write ? GENERIC_WRITE : GENERIC_READ,
                         FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, write ? CREATE_ALWAYS : OPEN_EXISTING, 0, nullptr);
}

class CliProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"cli-transcript.txt", "cli-state.txt", "cli-out.cfg", "cli-image-out.bin"})
            ::DeleteFileW(Text::WidePath(Win(name)).c_str());
        appData = Unix("cli-appdata");
        ::CreateDirectoryW(Text::WidePath(SimProcess::WinePath(appData)).c_str(), nullptr);
        ::DeleteFileW(Text::WidePath(LogPath()).c_str());
    }
    void StartRadio(const std::string& extra = "") {
        sim = std::make_unique<SimProcess>(TestComPort(0), "--transcript " + Unix("cli-transcript.txt") + " --state " +
                                                               Unix("cli-state.txt") + " " + extra);
        ASSERT_TRUE(sim->Started());
    }
    std::string Transcript() const { return SimProcess::ReadFile(Unix("cli-transcript.txt")); }
    std::string LogPath() const { return SimProcess::WinePath(appData) + "\\VelmoraConfig\\Logs\\VelmoraConfig.log"; }
    std::string Port() const { return "COM" + std::to_string(TestComPort(0)); }

    struct Started {
        PROCESS_INFORMATION process{};
        HANDLE handles[3] = {};
    };
    // Starts the program with `args`; its input is `input` (none: an empty
    // file), its output goes to files named after `tag`.
    // `output`, when given, is the file its output goes to instead.
    Started Start(const std::string& args, const std::string& input, const std::string& tag,
                  const std::string& output = "") {
        Started started;
        SimProcess::WriteFile(Unix(tag + "-stdin.txt"), input);
        HANDLE* h = started.handles;
        h[0] = Inheritable(Win(tag + "-stdin.txt"), false);
        h[1] = Inheritable(output.empty() ? Win(tag + "-stdout.txt") : output, true);
        h[2] = Inheritable(Win(tag + "-stderr.txt"), true);
        ::SetEnvironmentVariableA("LOCALAPPDATA", SimProcess::WinePath(appData).c_str());
        std::wstring line = Text::Widen("\"" + SimProcess::WinePath(VELMORA_PROGRAM) + "\" " + args);
        STARTUPINFOW si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = h[0];
        si.hStdOutput = h[1];
        si.hStdError = h[2];
        ::CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &started.process);
        return started;
    }
    Outcome Wait(Started& started, const std::string& tag) {
        Outcome run;
        if (started.process.hProcess != nullptr) {
            if (::WaitForSingleObject(started.process.hProcess, 60000) != WAIT_OBJECT_0)
                ::TerminateProcess(started.process.hProcess, 99);
            ::GetExitCodeProcess(started.process.hProcess, &run.code);
            ::CloseHandle(started.process.hProcess);
            ::CloseHandle(started.process.hThread);
        }
        for (HANDLE h : started.handles) ::CloseHandle(h);
        run.out = SimProcess::ReadFile(Unix(tag + "-stdout.txt"));
        run.err = SimProcess::ReadFile(Unix(tag + "-stderr.txt"));
        return run;
    }
    Outcome Program(const std::string& args, const std::string& input = "") {
        Started started = Start(args, input, "cli");
        return Wait(started, "cli");
    }

    std::string appData;
    std::unique_ptr<SimProcess> sim;
};

std::string WithLine(std::string profile, const std::string& key, const std::string& value) {
    const size_t at = profile.find(key + ",");
    if (at == std::string::npos) return profile;
    const size_t end = profile.find('\r', at);
    return profile.replace(at, end - at, key + "," + value);
}

TEST_F(CliProgramTest, ReadThenWriteAnotherRadioProfile_TheRadioHoldsItAndTheLogShowsTheSession) {
    StartRadio();
    // A name of Chinese, Polish and Russian characters, whatever the code page.
    const std::string chinese = Win("cli-配置運Łж.cfg");
    ::DeleteFileW(Text::WidePath(chinese).c_str());
    Outcome read = Program("--port " + Port() + " --rate 9600 --read \"" + chinese + "\"");
    ASSERT_EQ(read.code, 0u) << read.err << Transcript();
    std::string profile;
    {
        HANDLE h = ::CreateFileW(Text::WidePath(chinese).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        char buffer[4096];
        DWORD got = 0;
        ::ReadFile(h, buffer, sizeof buffer, &got, nullptr);
        ::CloseHandle(h);
        profile.assign(buffer, got);
    }
    EXPECT_NE(profile.find("Channel8,450.50000"), std::string::npos) << profile;
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-in.cfg"), WithLine(profile, "Channel8", "439.125")));
    Outcome write = Program("--port " + Port() + " --rate 9600 --write " + Win("cli-in.cfg"));
    EXPECT_EQ(write.code, 0u) << write.err;
    EXPECT_NE(write.out.find("the radio took"), std::string::npos) << write.out;
    sim->Stop();
    EXPECT_NE(SimProcess::ReadFile(Unix("cli-state.txt")).find("tx8=439.12500"), std::string::npos);
    // The session in the traffic log: commands, replies, port and rate.
    const std::string log = SimProcess::ReadFile(appData + "/VelmoraConfig/Logs/VelmoraConfig.log");
    EXPECT_NE(log.find(Port() + " 9600 > control\\r\n"), std::string::npos) << log;
    // The reply is complete at its carriage return and the port closes at
    // once: its line feed, a byte later on the line, may be gone with it.
    EXPECT_NE(log.find(Port() + " 9600 < \\r\\ninto config mode\\r"), std::string::npos) << log;
    EXPECT_NE(log.find(Port() + " 9600 > cfg_ch_8 439.125\\r\n"), std::string::npos) << log;
    ::DeleteFileW(Text::WidePath(chinese).c_str());
}

// The profile --read writes is taken whole by another radio through --write,
// for every protocol at both bandwidths; and from radios that do not answer
// the link rate query, whose profile then holds no link rate where the user
// chooses it (HUACE, SOUTH and TRANSEOT at 25.0 kHz).
TEST_F(CliProgramTest, ReadThenWriteTheSameProfile_EveryProtocolAndBandwidth) {
    struct Radio {
        int protocol;
        const char* bandwidth;
        const char* fault;
    };
    std::vector<Radio> radios;
    for (int protocol = 1; protocol <= 9; ++protocol)
        for (const char* bandwidth : {"12.5", "25.0"}) radios.push_back({protocol, bandwidth, ""});
    for (int freeChoice : {3, 5, 8}) radios.push_back({freeChoice, "25.0", "--fault no-link-baud=silent"});
    for (const Radio& radio : radios) {
        SCOPED_TRACE("protocol " + std::to_string(radio.protocol) + " at " + radio.bandwidth + " " + radio.fault);
        sim.reset();
        ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-state.txt"), "protocol=" + std::to_string(radio.protocol) +
                                                                     "\nbandwidth=" + radio.bandwidth + "\n"));
        StartRadio(radio.fault);
        const Outcome read = Program("--port " + Port() + " --read " + Win("cli-out.cfg"));
        ASSERT_EQ(read.code, 0u) << read.err;
        const std::string profile = SimProcess::ReadFile(Unix("cli-out.cfg"));
        EXPECT_EQ(profile.find("LinkBaudRate,-1\r") != std::string::npos, *radio.fault != '\0') << profile;
        // Another radio (another protocol, other channels, addresses and
        // powers) takes the profile: read back, it gives the same profile.
        sim.reset();
        ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-state.txt"),
                                          "protocol=" + std::to_string(radio.protocol % 9 + 1) +
                                              "\nbandwidth=" + radio.bandwidth +
                                              "\ntx1=433.12500\nrx8=466.00000\ncurrent_channel=5\nlocal_address=7\n"
                                              "destination_address=9\nhigh_power=2\nlow_power=1\n"));
        StartRadio(radio.fault);
        const Outcome write = Program("--port " + Port() + " --write " + Win("cli-out.cfg"));
        EXPECT_EQ(write.code, 0u) << write.err << profile;
        const Outcome again = Program("--port " + Port() + " --read " + Win("cli-back.cfg"));
        ASSERT_EQ(again.code, 0u) << again.err;
        EXPECT_EQ(SimProcess::ReadFile(Unix("cli-back.cfg")), profile);
    }
}

// A whole profile as export writes it; transmit channel 8 as given.
std::string Profile(const std::string& tx8) {
    std::string text;
    for (int c = 0; c < 10; ++c) {
        const std::string mhz = c == 0 || c == 9 ? "" : std::to_string(410 + 5 * c) + ".50000";
        text += "Channel" + std::to_string(c) + "," + (c == 8 ? tx8 : mhz) + "\r\r\n";
    }
    for (int c = 0; c < 10; ++c)
        text +=
            "RXChannel" + std::to_string(c) + "," + (c == 0 || c == 9 ? "" : std::to_string(411 + 5 * c)) + "\r\r\n";
    for (const char* line : {"ProtocolType,0", "CurrentChannel,0", "PortBaudRate,0", "LinkBaudRate,1", "workMode,1",
                             "SRC,1", "DST,255", "HighPower,0", "LowPower,2"})
        text += std::string(line) + "\r\r\n";
    return text;
}

TEST_F(CliProgramTest, FindAtTheRadiosRate_ThenWriteAndVerifyNamesTheDroppedSetting) {
    StartRadio("--port-rate 19200 --fault ignore=cfg_dstx");
    const PortsClassDevice adapter(TestComPort(0), L"Velmora Test Adapter (" + Text::Widen(Port()) + L")");
    ASSERT_TRUE(adapter.Made());
    const Outcome find = Program("--port " + Port() + " --find");
    EXPECT_EQ(find.code, 0u) << find.err;
    EXPECT_NE(find.out.find("found: " + Port() + ", 19200 (Velmora Test Adapter)"), std::string::npos) << find.out;
    // The found radio is left out of configuration mode.
    EXPECT_NE(Transcript().rfind("exitcnt"), std::string::npos) << Transcript();
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-in.cfg"), WithLine(Profile("439.125"), "DST", "17")));
    const Outcome verify = Program("--port " + Port() + " --rate 19200 --write " + Win("cli-in.cfg") + " --verify");
    EXPECT_EQ(verify.code, 7u) << verify.err;
    EXPECT_NE(verify.err.find("destinetion: written 17, read 255"), std::string::npos) << verify.err;
    EXPECT_EQ(verify.err.find("answered"), std::string::npos) << "no refusal: every setting was answered";
    // Only the dropped setting is named.
    EXPECT_EQ(verify.err.find("written "), verify.err.rfind("written ")) << verify.err;
}

TEST_F(CliProgramTest, SettingTheRadioRefuses_RefusedExitCodeWithItsAnswer) {
    StartRadio();
    // Within the band, so the profile passes its checks; the radio takes at
    // most five decimals.
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-in.cfg"), Profile("439.1234567")));
    const Outcome run = Program("--port " + Port() + " --write " + Win("cli-in.cfg"));
    EXPECT_EQ(run.code, 4u) << run.err;
    EXPECT_NE(run.err.find("ERROR: bad value"), std::string::npos) << run.err;
}

TEST_F(CliProgramTest, BadRequests_ClearMessageExitCodeAndNothingSent) {
    StartRadio();
    ::CreateDirectoryW(Text::WidePath(Win("cli-folder.cfg")).c_str(), nullptr);
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-readonly.cfg"), "x"));
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-in.cfg"), Profile("439.125")));
    ::SetFileAttributesW(Text::WidePath(Win("cli-readonly.cfg")).c_str(), FILE_ATTRIBUTE_READONLY);
    const struct {
        std::string args;
        DWORD code;
        const char* says;
    } cases[] = {
        {"--port " + Port() + " --raed x.cfg", 1, "did you mean --read?"},
        {"--port " + Port() + " --read", 1, "--read needs a value"},
        {"--read x.cfg", 1, "--port is needed"},
        {"--port " + Port() + " --write " + Win("cli-missing.cfg"), 5, "does not exist"},
        {"--port " + Port() + " --write " + Win("cli-folder.cfg"), 5, "is a folder"},
        // Named in the error as UTF-8, as a file or pipe takes it.
        {"--port " + Port() + " --write " + Win("cli-缺少Łж.cfg"), 5, "cli-缺少Łж.cfg does not exist"},
        {"--port " + Port() + " --read " + Win("cli-folder.cfg"), 5, "cannot be written"},
        {"--port " + Port() + " --read " + Win("cli-readonly.cfg"), 5, "cannot be written"},
        {"--port " + Port() + " --firmware " + Win("cli-folder.cfg"), 5, "cannot be read"},
        {"--port " + Port() + " --write " + Win("cli-missing.cfg") + " --verify", 5, "does not exist"},
        {"--port COM99 --find", 2, "COM99 is not there"},
        // A list position its list does not have, found before any port opens.
        {"--port " + Port() + " --write " + Win("cli-in.cfg") + " --set ProtocolType=99", 1, "its list has 9 entries"},
    };
    for (const auto& c : cases) {
        const Outcome run = Program(c.args);
        EXPECT_EQ(run.code, c.code) << c.args << "\n" << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.args << "\n" << run.err;
    }
    ::RemoveDirectoryW(Text::WidePath(Win("cli-folder.cfg")).c_str());
    ::SetFileAttributesW(Text::WidePath(Win("cli-readonly.cfg")).c_str(), FILE_ATTRIBUTE_NORMAL);
    ::DeleteFileW(Text::WidePath(Win("cli-readonly.cfg")).c_str());
    EXPECT_EQ(Transcript(), "");
}

TEST_F(CliProgramTest, TwoProgramsOnOnePort_TheSecondGetsThePortExitCode) {
    // The first program's read takes about 10 s (30 queries, each answered
    // 300 ms late, within the 465 ms a reply may take): time enough for a
    // second Wine program to start beside it on a busy machine.
    StartRadio("--fault delay=300");
    Started first = Start("--port " + Port() + " --read " + Win("cli-out.cfg"), "", "cli-first");
    // Once the radio has heard the first program, that program holds the port.
    for (const DWORD start = ::GetTickCount(); Transcript().empty() && ::GetTickCount() - start < 30000;) ::Sleep(20);
    EXPECT_NE(Transcript(), "");
    const PortsClassDevice adapter(TestComPort(0), L"Velmora Test Adapter");
    const Outcome second = Program("--port " + Port() + " --read " + Win("cli-out2.cfg"));
    // Still reading when the second one had ended: it held the port throughout.
    EXPECT_EQ(::WaitForSingleObject(first.process.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the first program ended before the second: the test proves nothing";
    const Outcome firstRun = Wait(first, "cli-first");
    EXPECT_EQ(second.code, 2u) << second.err;
    EXPECT_NE(second.err.find("another program is using " + Port() + " (Velmora Test Adapter)"), std::string::npos)
        << second.err;
    EXPECT_EQ(firstRun.code, 0u) << firstRun.err;
}

TEST_F(CliProgramTest, RadioUnpluggedAfterConnect_NoAnswerExitCodeAndNoProfile) {
    StartRadio("--fault hangup=1");
    const Outcome run = Program("--port " + Port() + " --read " + Win("cli-out.cfg"));
    EXPECT_EQ(run.code, 3u) << run.err;
    EXPECT_NE(run.err.find("read: no answer from the radio on " + Port() + " at 38400 baud"), std::string::npos)
        << run.err;
    EXPECT_EQ(::GetFileAttributesW(Text::WidePath(Win("cli-out.cfg")).c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(CliProgramTest, DisconnectUnansweredAfterARead_TheProfileIsKeptAndTheFailureReported) {
    StartRadio("--fault hangup=31");  // Connect and the read's 30 queries are answered, then nothing
    const Outcome run = Program("--port " + Port() + " --read " + Win("cli-out.cfg"));
    EXPECT_EQ(run.code, 3u) << run.err;
    EXPECT_NE(run.err.find("disconnect"), std::string::npos) << run.err;
    EXPECT_NE(SimProcess::ReadFile(Unix("cli-out.cfg")).find("Channel8,450.50000"), std::string::npos);
}

TEST_F(CliProgramTest, LogFolderThatCannotBeMade_WarnsAndTheReadStillRuns) {
    StartRadio();
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-appdata-file"), "x"));
    appData = Unix("cli-appdata-file");  // a file: no folder can be made under it
    const Outcome run = Program("--port " + Port() + " --read " + Win("cli-out.cfg"));
    EXPECT_EQ(run.code, 0u) << run.err;
    EXPECT_NE(run.err.find("log folder cannot be created"), std::string::npos) << run.err;
}

TEST_F(CliProgramTest, Firmware_InvalidRefusedUnansweredCancelledAnsweredDownloaded) {
    StartRadio("--firmware-out " + Unix("cli-image-out.bin"));
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-short.dwn"), std::string(4096, 'x')));
    Outcome run = Program("--port " + Port() + " --firmware " + Win("cli-short.dwn") + " --yes");
    EXPECT_EQ(run.code, 6u) << run.err;
    EXPECT_NE(run.err.find("only 4096 bytes"), std::string::npos) << run.err;
    const std::string image = MakeImage(ImageLength(3));
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-image.dwn"), image));
    // Nobody answers the question: refused, nothing sent.
    run = Program("--port " + Port() + " --firmware " + Win("cli-image.dwn"));
    EXPECT_EQ(run.code, 8u) << run.err;
    EXPECT_NE(run.out.find("4864 bytes, 4 pages"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("--yes"), std::string::npos) << run.err;
    run = Program("--port " + Port() + " --firmware " + Win("cli-image.dwn"), "n\r\n");
    EXPECT_EQ(run.code, 8u) << run.err;
    EXPECT_EQ(Transcript(), "");
    run = Program("--port " + Port() + " --firmware " + Win("cli-image.dwn"), "y\r\n");
    EXPECT_EQ(run.code, 0u) << run.err << Transcript();
    sim->Stop();
    EXPECT_EQ(SimProcess::ReadFile(Unix("cli-image-out.bin")), image.substr(0, 256) + image.substr(4096));
    const std::string log = SimProcess::ReadFile(appData + "/VelmoraConfig/Logs/VelmoraConfig.log");
    EXPECT_NE(log.find(Port() + " 115200 > page 4 (258 bytes, checksum 0x"), std::string::npos) << log;
    EXPECT_NE(log.find(") < write OK"), std::string::npos) << log;
}

// Four radios at once from one command: one answers nothing, one drops the
// destination address, one reports no serial number a file name can hold.
class CliFleetTest : public CliProgramTest {
protected:
    static std::string UnixOf(int i, const std::string& name) { return SimProcess::UnixPathFor(TestComPort(i), name); }
    static std::string PortOf(int i) { return "COM" + std::to_string(TestComPort(i)); }
    void StartFleet() {
        const char* serials[] = {"VM2300101", "VM2300102", "VM2300103", "???"};
        const char* faults[] = {"", "--fault silent", "--fault ignore=cfg_dstx", ""};
        for (int i = 0; i < 4; ++i) {
            ::DeleteFileW(Text::WidePath(SimProcess::WinePath(UnixOf(i, "fleet-state.txt"))).c_str());
            ASSERT_TRUE(
                SimProcess::WriteFile(UnixOf(i, "fleet-state.txt"), std::string("serial_number=") + serials[i]));
            radios.push_back(std::make_unique<SimProcess>(TestComPort(i),
                                                          "--state " + UnixOf(i, "fleet-state.txt") + " " + faults[i]));
            ASSERT_TRUE(radios.back()->Started()) << i;
        }
    }
    std::string AllPorts() const { return PortOf(0) + "," + PortOf(1) + "," + PortOf(2) + "," + PortOf(3); }
    std::string StateOf(int i) {
        radios[i]->Stop();
        return SimProcess::ReadFile(UnixOf(i, "fleet-state.txt"));
    }
    std::vector<std::unique_ptr<SimProcess>> radios;
};

TEST_F(CliFleetTest, ReadNamedPerRadio_ThenWriteAllFromOneProfileWithJsonResults) {
    StartFleet();
    const std::string folder = Win("fleet");
    ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
    for (const char* name : {"VM2300101.cfg", "VM2300103.cfg"})
        ::DeleteFileW(Text::WidePath(folder + "\\" + name).c_str());
    ::DeleteFileW(Text::WidePath(folder + "\\" + PortOf(3) + ".cfg").c_str());

    const Outcome read = Program("--port " + AllPorts() + " --read \"" + folder + "\\{serial}.cfg\"");
    EXPECT_EQ(read.code, 3u) << read.out << read.err;
    EXPECT_NE(read.out.find(PortOf(0) + ": read: the profile is in " + folder + "\\VM2300101.cfg"), std::string::npos)
        << read.out;
    EXPECT_NE(read.out.find(PortOf(3) + ": read: the radio reports no serial number a file name can hold"),
              std::string::npos)
        << read.out;
    EXPECT_NE(read.err.find(PortOf(1) + ": error: connect: no answer from the radio on " + PortOf(1)),
              std::string::npos)
        << read.err;
    EXPECT_NE(read.out.find("summary: 4 ports, 3 done, 1 failed\n  " + PortOf(1) + ": exit code 3"), std::string::npos)
        << read.out;
    const std::string profile = SimProcess::ReadWindowsFile(folder + "\\VM2300101.cfg");
    ASSERT_NE(profile.find("DST,255"), std::string::npos) << profile;
    EXPECT_NE(SimProcess::ReadWindowsFile(folder + "\\" + PortOf(3) + ".cfg").find("DST,255"), std::string::npos);

    Started started = Start("--port " + AllPorts() + " --write \"" + folder +
                                "\\VM2300101.cfg\" --verify --set DST=200 " + "--set SRC=12 --json",
                            "", "fleet");
    const Outcome write = Wait(started, "fleet");
    EXPECT_EQ(write.code, 7u) << write.err;
    // The output holds the objects and nothing else, one a line.
    std::map<std::string, nlohmann::json> byPort;
    std::istringstream lines(write.out);
    for (std::string line; std::getline(lines, line);) {
        const nlohmann::json object = nlohmann::json::parse(line, nullptr, false);
        ASSERT_FALSE(object.is_discarded()) << line;
        byPort[object["port"].get<std::string>()] = object;
    }
    ASSERT_EQ(byPort.size(), 4u) << write.out;
    EXPECT_EQ(byPort[PortOf(0)]["outcome"], "success");
    EXPECT_EQ(byPort[PortOf(0)]["cause"], "success");
    EXPECT_TRUE(byPort[PortOf(0)]["command"].is_null());
    EXPECT_EQ(byPort[PortOf(1)]["cause"], "no-answer");
    EXPECT_EQ(byPort[PortOf(1)]["command"], "control");
    EXPECT_EQ(byPort[PortOf(2)]["cause"], "verify-mismatch");
    EXPECT_EQ(byPort[PortOf(0)]["serialNumber"], "VM2300101");
    EXPECT_EQ(byPort[PortOf(0)]["hardwareVersion"], "H2.1");
    EXPECT_EQ(byPort[PortOf(0)]["rate"], 38400);
    EXPECT_GT(byPort[PortOf(0)]["durationMs"].get<int>(), 0);
    EXPECT_EQ(byPort[PortOf(1)]["exitCode"], 3);
    EXPECT_TRUE(byPort[PortOf(1)]["serialNumber"].is_null());
    EXPECT_EQ(byPort[PortOf(2)]["outcome"], "verify-mismatch");
    EXPECT_EQ(byPort[PortOf(2)]["differences"],
              nlohmann::json::parse(R"([{"field":"destinetion","written":"200","read":"255"}])"));
    EXPECT_EQ(byPort[PortOf(3)]["exitCode"], 0);
    EXPECT_NE(write.err.find("summary: 4 ports, 2 done, 2 failed"), std::string::npos) << write.err;
    // The values of --set reached the radios that took them.
    EXPECT_EQ(StateValue(StateOf(0), "destination_address"), "200");
    EXPECT_EQ(StateValue(StateOf(0), "local_address"), "12");
    EXPECT_EQ(StateValue(StateOf(2), "destination_address"), "255");
    EXPECT_EQ(StateValue(StateOf(3), "destination_address"), "200");
    // Each port's traffic under its own name in the one log.
    const std::string log = SimProcess::ReadFile(appData + "/VelmoraConfig/Logs/VelmoraConfig.log");
    for (int i : {0, 2, 3}) EXPECT_NE(log.find(PortOf(i) + " 38400 > cfg_dstx 200\\r"), std::string::npos) << i;
}

// Two ports whose radios report one serial number are two ports wired to
// one radio: the port that claims it second is refused and leaves the
// session to the other, sending nothing after its Read (not even the way
// out of configuration mode, which is the other port's).
TEST_F(CliFleetTest, TwoPortsReachOneRadio_TheSecondIsRefusedAndSendsNothingAfterItsRead) {
    const Parameter& last = *ReadOrder().back();
    std::string query = last.Query(last.Channels() > 1 ? last.Channels() : 0);
    query = "> " + query.substr(0, query.size() - 1) + "\\r\n";
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-in.cfg"), Profile("439.125")));
    ::DeleteFileW(Text::WidePath(Win("twin-VMTWIN01.cfg")).c_str());
    for (const std::string action : {"--read \"" + Win("twin-{serial}.cfg") + "\"", "--write " + Win("cli-in.cfg")}) {
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(SimProcess::WriteFile(UnixOf(i, "twin-transcript.txt"), ""));
            ASSERT_TRUE(SimProcess::WriteFile(UnixOf(i, "twin-state.txt"), "serial_number=VMTWIN01"));
            radios.push_back(std::make_unique<SimProcess>(
                TestComPort(i),
                "--state " + UnixOf(i, "twin-state.txt") + " --transcript " + UnixOf(i, "twin-transcript.txt")));
            ASSERT_TRUE(radios.back()->Started()) << i;
        }
        const Outcome run = Program("--port " + PortOf(0) + "," + PortOf(1) + " " + action);
        EXPECT_EQ(run.code, 4u) << action << run.out << run.err;
        EXPECT_NE(run.err.find("two ports wired to one radio?"), std::string::npos) << run.err;
        int refused = 0, left = 0;
        for (int i = 0; i < 2; ++i) {
            radios[i]->Stop();
            const std::string transcript = SimProcess::ReadFile(UnixOf(i, "twin-transcript.txt"));
            const size_t lastCommand = transcript.rfind("\n> ", transcript.size() - 2);
            if (transcript.find("> exitcnt") != std::string::npos) {
                ++left;
            } else {
                ++refused;
                ASSERT_NE(lastCommand, std::string::npos) << transcript;
                EXPECT_EQ(transcript.substr(lastCommand + 1, query.size()), query) << action << transcript;
            }
        }
        EXPECT_EQ(refused, 1) << action;
        EXPECT_EQ(left, 1) << action;
        radios.clear();
    }
}

TEST_F(CliFleetTest, PortUnpluggedMidRun_TheOthersGoOn_ThirtyAbsentPortsEachFail) {
    // The first radio answers slowly, so that it is unplugged mid-read.
    ASSERT_TRUE(SimProcess::WriteFile(UnixOf(0, "fleet-transcript.txt"), ""));
    radios.push_back(std::make_unique<SimProcess>(
        TestComPort(0), "--fault delay=100 --transcript " + UnixOf(0, "fleet-transcript.txt")));
    radios.push_back(std::make_unique<SimProcess>(TestComPort(1), ""));
    ASSERT_TRUE(radios[0]->Started() && radios[1]->Started());
    Started started =
        Start("--port " + PortOf(0) + "," + PortOf(1) + " --read " + Win("{port}-unplugged.cfg"), "", "fleet-unplug");
    for (const DWORD start = ::GetTickCount();
         SimProcess::ReadFile(UnixOf(0, "fleet-transcript.txt")).find("cfg_") == std::string::npos &&
         ::GetTickCount() - start < 30000;)
        ::Sleep(20);
    EXPECT_EQ(radios[0]->Stop(), 0);  // its terminal goes away, as an unplugged adapter's does
    const Outcome run = Wait(started, "fleet-unplug");
    EXPECT_EQ(run.code, 3u) << run.out << run.err;
    EXPECT_NE(run.out.find(PortOf(1) + ": read: the profile is in"), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("summary: 2 ports, 1 done, 1 failed\n  " + PortOf(0) + ": exit code 3"), std::string::npos)
        << run.out;
    EXPECT_EQ(SimProcess::ReadWindowsFile(Win(PortOf(0) + "-unplugged.cfg")), "");

    // Thirty ports no computer here has: thirty threads, thirty clean failures.
    std::string thirty;
    for (int n = 101; n <= 130; ++n) thirty += (n > 101 ? ",COM" : "COM") + std::to_string(n);
    const Outcome absent = Program("--port " + thirty + " --find");
    EXPECT_EQ(absent.code, 2u) << absent.err;
    EXPECT_NE(absent.out.find("summary: 30 ports, 0 done, 30 failed"), std::string::npos) << absent.out;
    EXPECT_NE(absent.err.find("COM130: error: find: COM130 is not there"), std::string::npos) << absent.err;
}

// COM1 to COM9 are devices whatever the folder and the extension: a port
// below 10 never gives its name to a profile, nor is read as one.
TEST_F(CliFleetTest, PortBelowTen_NoProfileIsTheDevice) {
    const int port = TestComPort(4);
    ASSERT_LT(port, 10);
    const std::string folder = Win("dev");
    ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
    ::DeleteFileW(Text::WidePath(folder + "\\port-" + PortOf(4) + ".cfg").c_str());
    ASSERT_TRUE(SimProcess::WriteFile(UnixOf(4, "dev-transcript.txt"), ""));
    radios.push_back(std::make_unique<SimProcess>(port, "--transcript " + UnixOf(4, "dev-transcript.txt")));
    ASSERT_TRUE(radios.back()->Started());
    const Outcome read = Program("--port " + PortOf(4) + " --read \"" + folder + "\\{port}.cfg\"");
    EXPECT_EQ(read.code, 0u) << read.err;
    EXPECT_NE(SimProcess::ReadWindowsFile(folder + "\\port-" + PortOf(4) + ".cfg").find("DST,"), std::string::npos);
    const std::string heard = SimProcess::ReadFile(UnixOf(4, "dev-transcript.txt"));
    const Outcome write = Program("--port " + PortOf(4) + " --write " + folder + "\\" + PortOf(4) + ".cfg");
    EXPECT_EQ(write.code, 5u) << write.err;
    EXPECT_NE(write.err.find("names a device"), std::string::npos) << write.err;
    EXPECT_EQ(SimProcess::ReadFile(UnixOf(4, "dev-transcript.txt")), heard);
}

// Two serial numbers that make one file name (the file system ignores case):
// the second radio's profile would replace the first's.
TEST_F(CliFleetTest, TwoRadiosOneFileName_TheSecondPortFailsBeforeWriting) {
    const std::string folder = Win("same");
    ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
    ::DeleteFileW(Text::WidePath(folder + "\\VM_01.cfg").c_str());
    const char* serials[] = {"VM 01", "vm/01"};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(SimProcess::WriteFile(UnixOf(i, "same-state.txt"), std::string("serial_number=") + serials[i]));
        radios.push_back(std::make_unique<SimProcess>(TestComPort(i), "--state " + UnixOf(i, "same-state.txt")));
        ASSERT_TRUE(radios.back()->Started());
    }
    const Outcome run = Program("--port " + PortOf(0) + "," + PortOf(1) + " --read \"" + folder + "\\{serial}.cfg\"");
    EXPECT_EQ(run.code, 5u) << run.out << run.err;
    const size_t done = run.out.find("the profile is in");
    ASSERT_NE(done, std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("the profile is in", done + 1), std::string::npos) << run.out;
    const std::string winner = run.out.substr(run.out.rfind('\n', done) + 1, PortOf(0).size());
    const std::string loser = winner == PortOf(0) ? PortOf(1) : PortOf(0);
    EXPECT_NE(run.err.find(loser + ": error: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("the file of the radio on " + winner), std::string::npos) << run.err;
}

// A serial number with a terminal's escape sequence in it, named in an error.
TEST_F(CliFleetTest, RadioTextWithControlBytes_PrintableOnTheConsole) {
    const std::string folder = Win("escape");
    ::CreateDirectoryW(Text::WidePath(folder).c_str(), nullptr);
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(
            SimProcess::WriteFile(UnixOf(i, "escape-state.txt"), i ? "serial_number=vm01" : "serial_number=VM01"));
        radios.push_back(std::make_unique<SimProcess>(
            TestComPort(i), "--fault serial-escape --state " + UnixOf(i, "escape-state.txt")));
        ASSERT_TRUE(radios.back()->Started());
    }
    const Outcome run = Program("--port " + PortOf(0) + "," + PortOf(1) + " --read \"" + folder + "\\{serial}.cfg\"");
    EXPECT_EQ(run.code, 5u) << run.err;
    EXPECT_NE(run.err.find("serial number .[2J"), std::string::npos) << run.err;
    EXPECT_EQ((run.out + run.err).find('\x1b'), std::string::npos);
}

// The line a script reads is lost: as JSON, and as text (found: ...).
TEST_F(CliFleetTest, ResultsToAFullDisk_AnErrorAndTheFileExitCode) {
    StartRadio();
    for (const std::string& args : {" --read " + Win("cli-out.cfg") + " --json", std::string(" --find")}) {
        // Linux's device that is always full, as the program's output.
        Started started = Start("--port " + Port() + args, "", "cli-full", "Z:\\dev\\full");
        const Outcome run = Wait(started, "cli-full");
        EXPECT_EQ(run.code, 5u) << args << run.err;
        EXPECT_NE(run.err.find("error: the results cannot be written to the output"), std::string::npos) << run.err;
    }
}

}  // namespace

namespace {

// Ctrl+C at the console of a fleet's --write --verify: every port's job
// stops between two commands, every radio is taken out of configuration
// mode, the results and the summary still go out, and the exit code is 8.
TEST_F(CliFleetTest, CtrlCDuringAFleetWrite_EveryRadioLeavesConfigurationMode) {
    for (int i = 0; i < 4; ++i) {
        ASSERT_TRUE(SimProcess::WriteFile(UnixOf(i, "break-transcript.txt"), ""));
        // Radios of one fleet, each with its own serial number.
        ASSERT_TRUE(SimProcess::WriteFile(UnixOf(i, "break-state.txt"), "serial_number=VMBREAK0" + std::to_string(i)));
        radios.push_back(
            std::make_unique<SimProcess>(TestComPort(i), "--fault delay=100 --state " + UnixOf(i, "break-state.txt") +
                                                             " --transcript " + UnixOf(i, "break-transcript.txt")));
        ASSERT_TRUE(radios.back()->Started()) << i;
    }
    ASSERT_TRUE(SimProcess::WriteFile(Unix("cli-in.cfg"), Profile("439.125")));
    SimProcess::WriteFile(Unix("break-stdin.txt"), "");
    UniqueFile in(Inheritable(Win("break-stdin.txt"), false)), out(Inheritable(Win("break-stdout.txt"), true)),
        err(Inheritable(Win("break-stderr.txt"), true));
    std::wstring line = Text::Widen("\"" + SimProcess::WinePath(VELMORA_CONSOLE_PROGRAM) + "\" --port " + AllPorts() +
                                    " --write " + Win("cli-in.cfg") + " --verify");
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = in.get();
    si.hStdOutput = out.get();
    si.hStdError = err.get();
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(
        ::CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, CREATE_NEW_CONSOLE, nullptr, nullptr, &si, &pi));
    const UniqueHandle process(pi.hProcess), thread(pi.hThread);
    auto writing = [&] {
        for (int i = 0; i < 4; ++i)
            if (SimProcess::ReadFile(UnixOf(i, "break-transcript.txt")).find("> cfg_ch_1 ") == std::string::npos)
                return false;
        return true;
    };
    for (const DWORD start = ::GetTickCount(); !writing() && ::GetTickCount() - start < 30000;)
        ::WaitForSingleObject(pi.hProcess, 20);
    ASSERT_TRUE(writing()) << SimProcess::ReadFile(Unix("break-stderr.txt"))
                           << SimProcess::ReadFile(UnixOf(0, "break-transcript.txt"));
    // The program in a console of its own, Ctrl+C pressed at it: this
    // process joins that console for the moment and ignores the event.
    ::FreeConsole();
    ASSERT_TRUE(::AttachConsole(pi.dwProcessId)) << ::GetLastError();
    ::SetConsoleCtrlHandler(nullptr, TRUE);  // not this process's own
    ASSERT_TRUE(::GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) << ::GetLastError();
    ::FreeConsole();
    ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(pi.hProcess, 60000));
    DWORD code = 0;
    ::GetExitCodeProcess(pi.hProcess, &code);
    out.reset();
    err.reset();
    const std::string said =
        SimProcess::ReadFile(Unix("break-stdout.txt")) + SimProcess::ReadFile(Unix("break-stderr.txt"));
    EXPECT_EQ(8u, code) << said;
    EXPECT_NE(said.find("summary: 4 ports, 0 done, 4 failed"), std::string::npos) << said;
    for (int i = 0; i < 4; ++i) {
        const std::vector<std::string> commands =
            ReceivedCommands(SimProcess::ReadFile(UnixOf(i, "break-transcript.txt")));
        ASSERT_FALSE(commands.empty());
        EXPECT_EQ("exitcnt\\r", commands.back()) << PortOf(i);
    }
}

}  // namespace
