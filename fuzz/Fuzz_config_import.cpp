// Configuration file import on arbitrary bytes, into settings whose lists are
// filled, so that the protocol and bandwidth rules run as in the window.
// Beside the sanitizers' checks: the same bytes fed in pieces (of a size
// taken from the first byte) leave the settings exactly as the whole file
// does, and the report's counts agree with each other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "radio/ConfigFile.h"
#include "radio/RadioConfig.h"

namespace {

RadioSettings Filled() {
    RadioSettings settings;
    RadioConfig::FillParameterLists(settings, Language::English);
    RadioConfig::Select(settings, ListField::Bandwidth, 0);
    return settings;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    RadioSettings whole = Filled();
    const ConfigImportReport report = ImportConfigText(whole, bytes);
    if (report.applied > report.lines || report.firstSkipped > report.lines) std::abort();
    if (report.lines > size) std::abort();
    if (report.firstSkipped == 0 && report.applied != report.lines) std::abort();

    const size_t piece = size == 0 ? 1 : 1 + data[0] * 7u;
    RadioSettings pieces = Filled();
    ConfigFileImport import(pieces);
    for (size_t at = 0; at < size; at += piece) import.Feed(bytes.data() + at, std::min(piece, size - at));
    import.Finish();
    if (import.Report().lines != report.lines || import.Report().applied != report.applied) std::abort();
    // Everything import may touch: every value, list, text over a list and lock.
    if (pieces != whole) std::abort();
    return 0;
}
