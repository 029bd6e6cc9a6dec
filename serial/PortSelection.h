#pragma once
#include <string>

// How the window's port and rate boxes become a port number and a baud rate.

// The port box's entries read " COM%d": the number is the decimal integer
// that starts after the first four characters. Four characters or fewer (an
// empty box) give 0, which names no port. Blanks before the number are
// skipped, reading stops at the first non-digit; a negative number gives 0
// and one too large for an int the largest int (neither opens a port).
int ParsePortNumber(const std::string& portText);

// A port's own name, "COM" in any case and its number ("COM5", "com12"), as
// Windows and the settings store it: the number, 0 when the text is no
// such name or names port 0 or less.
int ParsePortName(const std::string& name);

// The rate box's text as a decimal integer (" 38400" -> 38400); 0 when the
// text holds no positive number.
int ParseBaudRate(const std::string& rateText);

// The baud rate a firmware download always uses.
constexpr int kFirmwareBaudRate = 115200;
