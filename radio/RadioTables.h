#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "radio/RadioSettings.h"

// The value tables behind the parameter lists, the frequency text form and the
// wire value of each entry. Every list item carries one leading space; code
// that reads a selection back compares the texts including it. The one
// exception is the Chinese work mode items, which are shown without it (work
// mode is read back by position, never by text).
namespace RadioTables {

constexpr int kProtocolCount = 9;

// Protocol items in table order; the radio value is the position plus one.
extern const char* const kProtocolItems[kProtocolCount];
// The radio's own serial rates; the radio value is the position plus one.
extern const char* const kPortBaudItems[5];
extern const char* const kBandwidthItems[2];
// What "cfg_bw" carries for each bandwidth position.
extern const char* const kBandwidthWire[2];
// What "cfg_mode" carries for each work mode position.
extern const char* const kWorkModeWire[3];
// Power levels; the radio value is the position plus one.
extern const char* const kHighPowerItems[3];
extern const char* const kLowPowerItems[3];

// " TX only", " duplex", " repeater" in English; "单发", "收发一体", "中继" in Chinese.
std::vector<std::string> WorkModeItems(Language language);
// Eight items, " Channel1" .. " Channel8" (" 频道1" .. " 频道8"): position i is channel i+1.
std::vector<std::string> CurrentChannelItems(Language language);
// The link rate list of the protocol at `protocolPosition`. Any position that
// names no protocol (-1 before any selection) gives the initial list
// " 4800", " 9600", " 19200".
std::vector<std::string> LinkBaudItems(int protocolPosition);

std::vector<std::string> ProtocolList();
std::vector<std::string> PortBaudList();
std::vector<std::string> BandwidthList();
std::vector<std::string> HighPowerList();
std::vector<std::string> LowPowerList();

// One frequency in MHz per row 0 to 9, each within 410 to 470 MHz. The default
// fill writes entries 0 to 8 into either group.
extern const double DefaultFrequencyTable[10];

// Frequency limits in MHz, both ends valid.
constexpr double kMinFrequency = 410.0;
constexpr double kMaxFrequency = 470.0;

// The normal text form of a frequency, as C "%09.5f" gives it in the C locale
// (415.5 -> "415.50000"), whatever the process locale is.
std::string FormatFrequency(double mhz);

// The longest leading decimal number of `text` by the rules of C atof: leading
// white space skipped, optional sign, digits with an optional '.' fraction and
// an optional exponent, anything after the number ignored, no number at all
// reads 0. The decimal point is always '.'. Only decimal numbers are read:
// "nan", "inf" and hexadecimal forms read 0 (the number before the 'x' of
// "0x..."), so that no text passes a range check as a non-number.
double ReadFrequency(const std::string& text);

// The frequency text as it goes to the radio: the text without the blanks
// (spaces) around it, when what is left is a plain decimal number (digits,
// optionally a point and more digits); empty for anything else, such as a
// sign, an exponent, a control character or a second command behind the
// number, none of which may reach the radio inside a command line.
std::string WireFrequency(const std::string& text);

// The radio value of a link rate by the rate shown: 4800 -> 1, 9600 -> 2,
// 19200 -> 3, any other number is sent as itself (" 2400" -> 2400, a text
// without a number -> 0).
int LinkBaudWireValue(const std::string& shownRate);

// Colour of a row whose list the rule has locked, and the normal label colour.
constexpr uint32_t kDisabledColour = 0xA7A6B7, kLabelColour = 0x386382;

}  // namespace RadioTables
