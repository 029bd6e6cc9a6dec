#pragma once
#include <functional>
#include <string>
#include <vector>

#include "radio/ConfigView.h"
#include "radio/RadioConfig.h"
#include "radio/RadioExchange.h"
#include "radio/WriteVerify.h"

// The controls whose captions name an action's outcome in the status strip.
enum class ActionControl { Connect, Disconnect, Read, Write, Import, Export, Firmware, WriteAndVerify };

// What the radio actions need of the main window besides its parameter rows.
class IActionWindow {
public:
    // Opens the port chosen in the window (its rate, or 115200 for a firmware
    // download) and starts the port thread; false when it cannot be opened.
    virtual bool OpenSelectedPort(bool firmwareRate) = 0;
    // Shows the outcome for the control's caption and closes the port (a
    // closed port stays closed).
    virtual void ShowResult(bool success, ActionControl control) = 0;

protected:
    ~IActionWindow() = default;
};

// The status text: the caption followed by " Success" / " Failure", or in
// Chinese by "成功" / "失败" (no blank).
std::string ComposeResultText(const std::string& caption, bool success, Language language);

// The four radio actions, each a whole sequence: open the port, exchange
// commands (each step only while the ones before succeeded), show the
// outcome, close the port. They run on the window thread and block it while
// they wait for replies (at most about half a second a command).
class RadioActions {
public:
    RadioActions(IConfigView& view, RadioConfig& config, RadioExchange& exchange, IActionWindow& window);

    void EnterConfigMode();
    void ExitConfigMode();
    void ReadFromRadio();
    void WriteToRadio();
    // The Write, then every setting it sent read back: success only when the
    // radio holds them all; the fields it does not hold are listed in one
    // message (name, value written, value read). A radio that stops
    // answering is a failure without a message.
    void WriteAndVerify();
    // The fields the radio did not hold after the last Write and Verify.
    const std::vector<VerifyMismatch>& LastMismatches() const { return mismatches_; }

    // Longest texts kept of what the radio reports.
    static constexpr size_t kSerialNumberLength = 9;
    static constexpr size_t kHardwareVersionLength = 4;

private:
    // A setting the write sent, and how to read it back.
    struct WrittenSetting {
        std::string name;     // the field's name in the language of the moment
        std::string query;    // reads it back
        std::string written;  // the value as the window shows it
        VerifyKind kind;
        std::function<std::string(const std::string& line)> shownOf;  // reply line -> shown value
    };

    bool Write();
    bool ReadBack(std::vector<VerifyMismatch>& mismatches);
    std::string Name(const char* chinese, const char* english) const;
    WrittenSetting ListSetting(const char* query, ListField list, const char* chinese, const char* english,
                               std::function<int(const std::string&)> parse) const;
    bool SendFrequencies(Group group);
    void ModeCommand(const char* command, const char* expected, ActionControl control);
    bool ReadCurrentChannel();
    bool ReadProtocol();
    bool ReadPortBaud();
    void ReadLinkBaud(bool& ok);
    bool ReadPowers();
    bool ReadLineInto(const char* query, TextField field);
    void CutReportedTexts();
    bool ReadFrequencies(Group group);
    bool ReadSelection(const char* query, ListField list, int (*parse)(const std::string&));
    bool ReadAddresses();
    bool SendSettings();
    bool SendAddresses(bool ok);
    bool SendPowersAndIdentity(bool ok);
    bool SendIf(bool condition, const std::string& command, bool ok, WrittenSetting setting);

    IConfigView& view;
    RadioConfig& config;
    RadioExchange& exchange;
    IActionWindow& window;
    std::vector<WrittenSetting> written_;     // of the last write, in order
    std::vector<VerifyMismatch> mismatches_;  // of the last write and verify
};
