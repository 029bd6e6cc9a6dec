#pragma once
#include <string>

// The radio's text commands and how its replies become parameter values.
// Commands are a keyword, optionally one blank and one argument, and a
// carriage return. Replies are searched case-sensitively for words, never
// compared whole. Positions are zero-based list positions; -1 means none.
namespace CommandSet {

// Mode commands and the words their replies must contain.
constexpr const char* kEnterConfig = "control\r";
constexpr const char* kEnterConfigReply = "into config";
constexpr const char* kExitConfig = "exitcnt\r";
constexpr const char* kExitConfigReply = "exit config";

// Setting commands. Each takes the value as the window shows it, or the
// list position, and returns the command text.
std::string SetChannelTx(int channel, const std::string& frequencyText);  // "cfg_ch_%d %s\r"
std::string SetChannelRx(int channel, const std::string& frequencyText);  // "cfg_rx_ch_%d %s\r"
std::string SetCurrentChannel(int position);                              // "cfg_ch_n %d\r", position + 1
std::string SetPortBaud(int position);                                    // "cfg_sbau %d\r", position + 1
// "cfg_baud %d\r", by the rate shown; empty when the entry names no rate (the
// "UNKNOW" entry of a radio without the link rate command).
std::string SetLinkBaud(const std::string& shownRate);
std::string SetBandwidth(int position);                      // "cfg_bw %s\r", "12.5" or "25.0"; empty if no such entry
std::string SetWorkMode(int position);                       // "cfg_mode %s\r"; empty if no such entry
std::string SetLocalAddress(const std::string& text);        // "cfg_srcx %s\r"
std::string SetDestinationAddress(const std::string& text);  // "cfg_dstx %s\r"
std::string SetProtocol(int position);                       // "cfg_prtl %d\r", position + 1
std::string SetHighPower(int position);                      // "cfg_pwrh %d\r", position + 1
std::string SetLowPower(int position);                       // "cfg_pwrl %d\r", position + 1
std::string SetSerialNumber(const std::string& text);        // "cfg_sern %s\r"
std::string SetHardwareVersion(const std::string& text);     // "cfg_hard %s\r"

// Queries.
constexpr const char* kQueryCurrentChannel = "cfg_ch_n\r";
constexpr const char* kQueryProtocol = "cfg_prtl\r";
constexpr const char* kQueryPortBaud = "cfg_sbau\r";
constexpr const char* kQueryLinkBaud = "cfg_baud\r";
constexpr const char* kQueryHighPower = "cfg_pwrh\r";
constexpr const char* kQueryLowPower = "cfg_pwrl\r";
constexpr const char* kQueryFirmware = "cfg_firm\r";
constexpr const char* kQueryHardware = "cfg_hard\r";
constexpr const char* kQuerySerialNumber = "cfg_sern\r";
constexpr const char* kQuerySubFirmware = "SREV\r";
constexpr const char* kQueryBandwidth = "cfg_bw\r";
constexpr const char* kQueryWorkMode = "cfg_mode\r";
constexpr const char* kQueryLocalAddress = "cfg_srcx\r";
constexpr const char* kQueryDestinationAddress = "cfg_dstx\r";
// "cfg_ch_" d "\r" and "cfg_rx_ch_" d "\r" with the channel as one digit.
std::string QueryChannelTx(int channel);
std::string QueryChannelRx(int channel);

// Reply parsing; `line` is the reply without its opening carriage return.
// The current channel: the line must contain "current channel"; its last
// character minus '1' is the position (out-of-range values are the list's
// business: past the end selects the last entry, negative clears).
bool ParseCurrentChannel(const std::string& line, int& position);
// The protocol's table position, the first of a fixed search order to match;
// -1 when no protocol name is found.
int ParseProtocol(const std::string& line);
// The port baud position (9600 first, then 19200, 38400, 57600, 115200); -1 if none.
int ParsePortBaud(const std::string& line);
// " 4800", " 9600" or " 19200": each found replaces the result, so the last
// found in that order wins; empty when none is found.
std::string ParseLinkBaud(const std::string& line);
// A power reply read as a decimal integer (leading blanks, stops at the first
// non-digit); valid only from 1 to 3.
int ParsePowerValue(const std::string& line);
inline bool IsValidPower(int value) { return value >= 1 && value <= 3; }
// The frequency text of a channel reply: what follows the first occurrence
// of the channel digit and a blank. False when there is none.
bool ParseChannelFrequency(const std::string& line, int channel, std::string& frequencyText);
// Bandwidth position: "12.5" -> 0, else "25.0" -> 1; -1 if neither.
int ParseBandwidth(const std::string& line);
// Work mode position: "tx" -> 0, else "duplex" -> 1, else "repeater" -> 2; -1 if none.
int ParseWorkMode(const std::string& line);

}  // namespace CommandSet
