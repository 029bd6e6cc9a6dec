#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Loom/Render/HtmlCanvas.h"
#include "Loom/Render/HtmlTokenizer.h"
#include "Loom/Render/Rect.h"

namespace Loom {

// The format bits html text honours (the values of the DrawText flags).
enum HtmlFormat : unsigned {
    HtmlCenter = 0x1,
    HtmlRight = 0x2,
    HtmlVCenter = 0x4,
    HtmlBottom = 0x8,
    HtmlWordBreak = 0x10,
    HtmlSingleLine = 0x20,
    HtmlCalcRect = 0x400,
    HtmlEndEllipsis = 0x8000,
};

struct THtmlLink {
    TRect rect;
    std::string text;
};

struct THtmlLayoutParams {
    TRect rect;
    uint32_t colour = 0;
    unsigned format = 0;
    uint32_t linkColour = 0;
    uint32_t linkHoverColour = 0;
    // Colour tags are ignored: all text but links keeps colour (while high
    // contrast is on, the system's colours are the only ones).
    bool keepColour = false;
    int mouseX = -1;
    int mouseY = -1;
    // The links of the previous paint: a link whose text and rectangle hold
    // the mouse is drawn in the hover colour.
    const THtmlLink* previousLinks = nullptr;
    int previousLinkCount = 0;
    int maxLinks = 0;  // link rectangles to record at most
};

struct THtmlLayoutResult {
    TRect extent;  // left/top of the rectangle, right at the widest line, bottom at the last line
    std::vector<THtmlLink> links;
};

// Lays out and draws tag-annotated text line by line: each line is first
// measured (its height is the tallest font or image on it plus paragraph
// spacing) and then drawn from the state saved at its start.
class CHtmlLayout {
public:
    CHtmlLayout(IHtmlCanvas& canvas, const THtmlLayoutParams& params);
    THtmlLayoutResult Run(const char* text);

private:
    struct State {
        std::vector<HtmlFont> fonts;    // [0] is the default font
        std::vector<uint32_t> colours;  // [0] is the given colour
        bool selected = false;
        long long spacing = 0;
        bool inLink = false;
        std::string linkText;
    };
    struct Pos {
        size_t token = 0;
        size_t offset = 0;  // into a text run cut at the end of the previous line
    };
    struct Line {
        bool draw = false;
        long long top = 0;
        long long height = 0;  // known in the drawing pass
        long long shift = 0;   // alignment, drawing pass only
        long long x = 0;
        long long contentRight = 0;
        long long maxItem = 0;
        long long spacing = 0;
        long long linkStartX = 0;
        bool placed = false;    // something stands on the line
        bool dropping = false;  // the rest of the line is left out
    };
    struct PassResult {
        long long widest = 0;
        long long bottom = 0;
    };

    PassResult Pass(bool draw, long long top, long long bottomLimit);
    Line NewLine(bool draw, long long top);
    void RunLine(Pos& pos, Line& line);
    bool PlaceRun(const THtmlToken& t, Pos& pos, Line& line);
    size_t WrapCut(const char* s, size_t len, size_t fit, bool placed) const;
    void Emit(Line& line, const char* s, size_t n, bool blank);
    bool ApplyTag(const THtmlToken& t, Pos& pos, Line& line);
    bool ApplyCloseTag(const THtmlToken& t, Pos& pos, Line& line);
    bool PlaceImage(const std::string& arg, Line& line);
    void OpenLink(const std::string& text, Line& line);
    void CloseLink(Line& line);
    void RecordLink(const Line& line);
    void PopFont(Line& line);
    size_t AlignToChar(const char* s, size_t len, size_t n) const;
    HtmlFont Font() const { return state_.fonts.back(); }
    bool Has(unsigned flag) const { return (params_.format & flag) != 0; }

    IHtmlCanvas& canvas_;
    THtmlLayoutParams params_;
    const char* text_ = "";
    std::vector<THtmlToken> tokens_;
    State state_;
    std::vector<THtmlLink> links_;
};

}  // namespace Loom
