#pragma once
#include <cstddef>
#include <string>

#include "radio/RadioSettings.h"

// What an import made of a file. Malformed lines are skipped silently, as
// the window reports only whether the file could be opened; the counts tell
// a caller (and the tests) how much of it was understood.
struct ConfigImportReport {
    size_t lines = 0;         // lines read, a line over 999 bytes counting as several
    size_t applied = 0;       // lines that set a row
    size_t firstSkipped = 0;  // number (from 1) of the first line that set nothing, 0 for none
};

// Applies a configuration file to the settings as its bytes arrive, in
// pieces of any size, as if the user had typed or selected each value (a
// selection runs the rules, RadioConfig::Select).
//
// Lines end after each LF; so LF, CR LF and the CR CR LF that export writes
// all work, as does a last line without a line end (see Finish). A line of
// more than 999 bytes, its line end counted, is taken as lines of 999 bytes
// and a remainder. Each line is split at its commas; an empty last field is
// dropped and a line left with fewer than two fields is skipped. The first
// field names the key by containing its text anywhere, tested in the order of
// ConfigKeysInSearchOrder; the second field, with CR and LF removed from its
// end, is the value. Frequency and address rows take the value as it is
// (empty clears them); lists select the value read as C atoi would (saturated
// at the int limits), with the combo box rules of RadioConfig::Select.
//
// Memory stays bounded by one line, whatever the input. Thread: any, on
// settings of its own.
class ConfigFileImport {
public:
    static constexpr size_t kMaxLineLength = 999;

    explicit ConfigFileImport(RadioSettings& settings);

    void Feed(const char* data, size_t size);
    // End of the file: a last line without a line end is applied now. A
    // reader that stops on a read error does not call it, so that a line cut
    // short by the error is not taken for a whole one.
    void Finish();

    const ConfigImportReport& Report() const { return report; }

private:
    void TakeLine();
    bool ApplyLine(const std::string& line);

    RadioSettings& settings;
    std::string pending;
    ConfigImportReport report;
};
