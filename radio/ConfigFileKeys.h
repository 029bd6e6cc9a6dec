#pragma once
#include <string>
#include <vector>

#include "radio/RadioSettings.h"

// The 29 keys of a configuration file and the row each one names.
struct ConfigKey {
    enum class Kind { Frequency, Text, Position };
    std::string text;  // "Channel0", "RXChannel3", "ProtocolType", ...
    Kind kind;
    Group group = Group::Transmit;  // Frequency
    int row = 0;                    // Frequency, 0 to 9
    TextField field{};              // Text
    ListField list{};               // Position
};

// The keys in the order export writes them, from the parameters' table:
// Channel0-9, RXChannel0-9, then ProtocolType, CurrentChannel, PortBaudRate,
// LinkBaudRate, workMode, SRC, DST, HighPower, LowPower.
const std::vector<ConfigKey>& ConfigKeysInFileOrder();

// The keys in the order import tests them: a key that holds another key's
// text comes before it ("RXChannel3" before "Channel3"), the rest as in the
// file.
const std::vector<const ConfigKey*>& ConfigKeysInSearchOrder();

// The key a line's first field names: the first in the search order whose
// text the field contains anywhere; nullptr for none.
const ConfigKey* FindConfigKey(const std::string& field);
