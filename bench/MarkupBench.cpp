// The markup parser's speed: a generated skin-like document of about 4 MB
// (nested layouts of labelled rows with image strings and entities) parsed
// again and again. Portable: scripts/bench builds it natively and for Windows.
// Prints the median speed of a parse and, as a floor, the speed of copying
// the text and scanning it once byte by byte.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "Loom/Markup/XmlMarkup.h"

namespace {

double NowMs() {
    using namespace std::chrono;
    return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// One row: a label, an edit and a combo with image strings, as the radio's
// parameter pages have them.
void AppendRow(std::string& doc, int n, int indent) {
    const std::string pad(static_cast<size_t>(indent), ' ');
    char row[1024];
    std::snprintf(row, sizeof row,
                  "%s<HorizontalLayout height=\"26\" padding=\"4,2,4,2\" childpadding=\"6\">\n"
                  "%s  <Label name=\"label%d\" text=\"Channel %d &amp; power\" width=\"120\" textcolor=\"#FF333333\" "
                  "align=\"right\" />\n"
                  "%s  <Edit name=\"edit%d\" text=\"433.%05d\" width=\"96\" maxchar=\"9\" "
                  "normalimage=\"res='101' restype='PNG' source='0,0,96,22' corner='3,3,3,3'\" "
                  "hotimage=\"res='102' restype='PNG' source='0,22,96,44' corner='3,3,3,3'\" />\n"
                  "%s  <Combo name=\"combo%d\" width=\"110\" itemattr=\"textcolor=&quot;#FF000000&quot; "
                  "height=&quot;20&quot;\" normalimage=\"file='combo.png' source='0,0,110,22' dest='0,0,110,22'\" "
                  "tooltip=\"&lt;choose&gt; a value\" />\n"
                  "%s</HorizontalLayout>\n",
                  pad.c_str(), pad.c_str(), n, n, pad.c_str(), n, n % 100000, pad.c_str(), n, pad.c_str());
    doc += row;
}

std::string MakeDocument(size_t size) {
    std::string doc =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<Window size=\"759,509\" caption=\"0,0,0,36\" roundcorner=\"4,4\">\n"
        "  <Font name=\"Tahoma\" size=\"12\" default=\"true\" />\n"
        "  <Image name=\"101\" restype=\"PNG\" />\n"
        "  <Default name=\"Button\" value=\"textcolor=&quot;#FF0000FF&quot; height=&quot;24&quot;\" />\n"
        "  <VerticalLayout name=\"main\">\n";
    int n = 0;
    while (doc.size() < size - 4096) {
        // A group: three levels of layouts around eight rows.
        doc += "    <!-- group -->\n    <VerticalLayout inset=\"4,4,4,4\" bkcolor=\"#FFF0F0F0\">\n";
        doc += "      <VerticalLayout childpadding=\"2\">\n";
        for (int r = 0; r < 8; ++r) AppendRow(doc, n++, 8);
        doc += "      </VerticalLayout>\n    </VerticalLayout>\n";
    }
    doc += "  </VerticalLayout>\n</Window>\n";
    return doc;
}

size_t CountElements(const Loom::CXmlMarkupNode& first) {
    size_t count = 0;
    for (Loom::CXmlMarkupNode n = first; n.IsValid(); n = n.GetSibling()) count += 1 + CountElements(n.GetChild());
    return count;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

}  // namespace

int main() {
    const std::string doc = MakeDocument(4 * 1000 * 1000);
    const double mb = static_cast<double>(doc.size()) / 1e6;
    Loom::CXmlMarkup markup;
    if (!markup.Load(doc.c_str())) {
        std::printf("parse failed: %s at %s\n", markup.GetLastErrorMessage(), markup.GetLastErrorLocation());
        return 1;
    }
    const size_t elements = CountElements(markup.GetRoot());

    std::vector<double> parse;
    std::vector<double> floor;
    std::vector<char> copy(doc.size() + 1);
    volatile size_t sink = 0;
    const double start = NowMs();
    while (parse.size() < 15 || (NowMs() - start < 3000 && parse.size() < 200)) {
        double t = NowMs();
        markup.Load(doc.c_str());
        parse.push_back(NowMs() - t);
        // The floor: the copy every load makes, then one pass over the bytes.
        t = NowMs();
        std::memcpy(copy.data(), doc.c_str(), doc.size() + 1);
        size_t tags = 0;
        for (const char* p = copy.data(); *p; ++p) tags += *p == '<';
        sink = sink + tags;
        floor.push_back(NowMs() - t);
    }
    const double parseMs = Median(parse);
    const double floorMs = Median(floor);
    std::printf("document %.2f MB, %zu elements, %zu parses\n", mb, elements, parse.size());
    std::printf("parse %.3f ms, floor (copy and scan) %.3f ms = %.0f MB/s\n", parseMs, floorMs, mb / floorMs * 1000);
    std::printf("mb_s=%.0f\n", mb / parseMs * 1000);
    return 0;
}
