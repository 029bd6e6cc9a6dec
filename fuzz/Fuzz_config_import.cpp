// Configuration file import on arbitrary bytes, over the fake parameter rows
// with the protocol and bandwidth rules hooked up as in the window. Beside
// the sanitizers' checks: the same bytes fed in pieces (of a size taken from
// the first byte) leave the rows exactly as the whole file does, and the
// report's counts agree with each other.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "radio/ConfigFile.h"
#include "radio/RadioConfig.h"
#include "testkit/FakeConfigView.h"

namespace {

struct Rows {
    Rows() : config(view) {
        view.config = &config;
        config.FillParameterLists();
        view.SelectItem(ListField::Bandwidth, 0);
    }
    // Everything import may touch, as one comparable text.
    std::string State() const {
        std::string state = ExportConfigText(view);
        const FakeConfigView::List& link = view.list(ListField::LinkBaudRate);
        for (const std::string& item : link.items) state += item + "|";
        state += link.mouseEnabled ? "on" : "off";
        return state;
    }
    FakeConfigView view;
    RadioConfig config;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);

    Rows whole;
    const ConfigImportReport report = ImportConfigText(whole.view, bytes);
    if (report.applied > report.lines || report.firstSkipped > report.lines) std::abort();
    if (report.lines > size) std::abort();
    if (report.firstSkipped == 0 && report.applied != report.lines) std::abort();

    const size_t piece = size == 0 ? 1 : 1 + data[0] * 7u;
    Rows pieces;
    ConfigFileImport import(pieces.view);
    for (size_t at = 0; at < size; at += piece) import.Feed(bytes.data() + at, std::min(piece, size - at));
    import.Finish();
    if (import.Report().lines != report.lines || import.Report().applied != report.applied) std::abort();
    if (pieces.State() != whole.State()) std::abort();
    return 0;
}
