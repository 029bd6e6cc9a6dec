#pragma once
#include <string>
#include <vector>

#include "radio/ConfigFileImport.h"
#include "radio/RadioSettings.h"

// The configuration file (*.cfg) in memory: single-byte text, one "key,value"
// line per stored row, written and read without any conversion. Bandwidth,
// serial number and the versions are not stored.

// The 29 lines export writes, each ended by CR CR LF: "Channel%d,%s" for
// transmit rows 0 to 9, "RXChannel%d,%s" for receive rows 0 to 9, then
// ProtocolType, CurrentChannel, PortBaudRate, LinkBaudRate and workMode as
// positions, SRC and DST as texts, HighPower and LowPower as positions. Texts
// go out exactly as the settings hold them (possibly empty), positions as signed
// decimals (-1 for no selection).
std::vector<std::string> ExportConfigLines(const RadioSettings& settings);
// The same lines as one text: the whole file.
std::string ExportConfigText(const RadioSettings& settings);

// Applies a whole file to the settings (see ConfigFileImport for the rules).
ConfigImportReport ImportConfigText(RadioSettings& settings, const std::string& bytes);

// The file name export uses for a chosen path: ".cfg" is appended when the
// path does not end in ".cfg" (case-sensitive) or is shorter than five
// characters, unless it has 250 characters or more. "abc" -> "abc.cfg",
// "abc.CFG" -> "abc.CFG.cfg", "abc.cfg" stays.
std::string WithConfigSuffix(const std::string& path);
