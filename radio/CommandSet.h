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

// The parameters' own commands (queries and settings) are in the
// parameters' table (Parameters.h), built from each row's keyword.

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
