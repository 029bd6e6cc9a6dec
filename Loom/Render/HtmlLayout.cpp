#include "Loom/Render/HtmlLayout.h"

#include <algorithm>
#include <climits>

#include "Loom/Render/HtmlTagArgs.h"
#include "Loom/Render/ValueReaders.h"

namespace Loom {

namespace {

// Coordinates are kept in 64 bits so offsets from tags cannot overflow; the
// canvas gets them clamped.
int ToInt(long long v) { return static_cast<int>(std::max<long long>(INT_MIN, std::min<long long>(INT_MAX, v))); }

// Tag values beyond this are typing errors; keeping them bounded keeps the
// arithmetic far from any limit.
long long TagNumber(const std::string& arg) {
    return std::max(-1000000, std::min(1000000, ValueReaders::ReadInt(arg.c_str())));
}

// A length in a tag: 96-DPI pixels, at the canvas's scale.
long long TagLength(IHtmlCanvas& canvas, const std::string& arg) {
    return canvas.ScaleLength(static_cast<int>(TagNumber(arg)));
}

bool IsLetter(unsigned char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

const char kEllipsis[] = "...";

}  // namespace

CHtmlLayout::CHtmlLayout(IHtmlCanvas& canvas, const THtmlLayoutParams& params) : canvas_(canvas), params_(params) {}

THtmlLayoutResult CHtmlLayout::Run(const char* text) {
    THtmlLayoutResult result;
    const TRect& rc = params_.rect;
    result.extent = TRect{rc.left, rc.top, rc.left, rc.top};
    if (text == nullptr || rc.IsEmpty()) return result;
    text_ = text;
    tokens_ = CHtmlTokenizer::Tokenize(text);
    links_.clear();

    long long top = rc.top;
    bool measureOnly = Has(HtmlCalcRect);
    if (!measureOnly && (Has(HtmlVCenter) || Has(HtmlBottom))) {
        // The whole text is measured first, without a bottom limit, so that
        // wrapped multi-line text is centred by its real height.
        PassResult m = Pass(false, rc.top, LLONG_MAX);
        long long space = rc.Height() - (m.bottom - rc.top);
        if (space > 0) top += Has(HtmlVCenter) ? space / 2 : space;
    }
    PassResult r = Pass(!measureOnly, top, rc.bottom);
    result.extent.right = ToInt(std::min<long long>(rc.right, rc.left + r.widest));
    result.extent.bottom = ToInt(measureOnly ? r.bottom : std::max<long long>(r.bottom, top));
    result.links = std::move(links_);
    return result;
}

CHtmlLayout::Line CHtmlLayout::NewLine(bool draw, long long top) {
    Line line;
    line.draw = draw;
    line.top = top;
    line.x = params_.rect.left;
    line.contentRight = params_.rect.left;
    line.linkStartX = params_.rect.left;
    THtmlFontMetrics m = canvas_.Metrics(Font());
    line.maxItem = m.height + m.externalLeading;
    line.spacing = state_.spacing;
    return line;
}

CHtmlLayout::PassResult CHtmlLayout::Pass(bool draw, long long top, long long bottomLimit) {
    state_ = State();
    state_.fonts.push_back(canvas_.DefaultFont());
    state_.colours.push_back(params_.colour);
    PassResult result;
    result.bottom = top;
    Pos pos;
    long long y = top;
    while (pos.token < tokens_.size() && y < bottomLimit) {
        const State saved = state_;
        const Pos start = pos;
        Line line = NewLine(false, y);
        RunLine(pos, line);
        // A last line of nothing but tags takes no room.
        if (!line.placed && pos.token >= tokens_.size()) break;
        const long long height = std::max(0LL, line.maxItem) + std::max(0LL, line.spacing);
        const long long width = line.contentRight - params_.rect.left;
        if (draw) {
            state_ = saved;
            Pos again = start;
            Line drawn = NewLine(true, y);
            drawn.height = height;
            long long space = params_.rect.Width() - width;
            if (space > 0 && Has(HtmlCenter))
                drawn.shift = space / 2;
            else if (space > 0 && Has(HtmlRight))
                drawn.shift = space;
            RunLine(again, drawn);
            if (state_.inLink) RecordLink(drawn);
        }
        result.widest = std::max(result.widest, width);
        y += height;
        result.bottom = y;
    }
    return result;
}

void CHtmlLayout::RunLine(Pos& pos, Line& line) {
    const bool singleLine = Has(HtmlSingleLine);
    while (pos.token < tokens_.size()) {
        const THtmlToken& t = tokens_[pos.token];
        switch (t.kind) {
        case HtmlTokenKind::Text:
        case HtmlTokenKind::Blank:
            if (!PlaceRun(t, pos, line)) return;
            break;
        case HtmlTokenKind::LineFeed:
            ++pos.token;
            if (!singleLine) return;
            break;
        case HtmlTokenKind::Tag:
            if (!ApplyTag(t, pos, line)) return;
            break;
        case HtmlTokenKind::CloseTag:
            if (!ApplyCloseTag(t, pos, line)) return;
            break;
        }
    }
}

size_t CHtmlLayout::AlignToChar(const char* s, size_t len, size_t n) const {
    size_t p = 0;
    for (;;) {
        size_t c = CHtmlTokenizer::CharLength(s, p, len);
        if (c == 0 || p + c > n) return p;
        p += c;
    }
}

// Where a run that passes the right edge is cut on a multi-line layout.
size_t CHtmlLayout::WrapCut(const char* s, size_t len, size_t fit, bool placed) const {
    size_t cut = fit;
    if (Has(HtmlWordBreak)) {
        // Back to just after the last character that is not a letter.
        size_t lastBreak = 0;
        for (size_t p = 0; p < fit;) {
            size_t c = CHtmlTokenizer::CharLength(s, p, len);
            p += c;
            if (c > 1 || !IsLetter(static_cast<unsigned char>(s[p - 1]))) lastBreak = p;
        }
        if (lastBreak > 0)
            cut = lastBreak;
        else if (placed)
            cut = 0;
    }
    if (cut == 0 && !placed) cut = CHtmlTokenizer::CharLength(s, 0, len);
    return cut;
}

bool CHtmlLayout::PlaceRun(const THtmlToken& t, Pos& pos, Line& line) {
    const char* s = text_ + t.start + pos.offset;
    const size_t len = t.length - pos.offset;
    const bool blank = t.kind == HtmlTokenKind::Blank;
    if (line.dropping || len == 0) {
        ++pos.token, pos.offset = 0;
        return true;
    }
    const HtmlFont font = Font();
    const long long right = params_.rect.right;
    size_t fit = len;
    // The maximum character width bounds the run's width; only a run that
    // might pass the edge is measured character by character.
    if (line.x + static_cast<long long>(len) * canvas_.Metrics(font).maxCharWidth > right) {
        int room = ToInt(std::max(0LL, right - line.x));
        int bytes = canvas_.FitBytes(font, s, static_cast<int>(std::min<size_t>(len, INT_MAX)), room);
        fit = AlignToChar(s, len, static_cast<size_t>(std::max(0, bytes)));
    }
    if (fit >= len) {
        Emit(line, s, len, blank);
        ++pos.token, pos.offset = 0;
        return true;
    }
    if (Has(HtmlEndEllipsis)) {
        size_t cut = fit;
        for (int i = 0; i < 2 && cut > 0; ++i) cut = AlignToChar(s, len, cut - 1);
        Emit(line, s, cut, blank);
        Emit(line, kEllipsis, 3, false);
        line.dropping = true;
        ++pos.token, pos.offset = 0;
        return true;
    }
    if (Has(HtmlSingleLine)) {
        size_t cut = (fit == 0 && !line.placed) ? CHtmlTokenizer::CharLength(s, 0, len) : fit;
        Emit(line, s, cut, blank);
        line.dropping = true;
        ++pos.token, pos.offset = 0;
        return true;
    }
    if (blank && line.placed) {
        ++pos.token, pos.offset = 0;  // a blank at a line break is not carried over
        return false;
    }
    size_t cut = WrapCut(s, len, fit, line.placed);
    if (cut > 0) Emit(line, s, cut, blank);
    pos.offset += cut;
    if (pos.offset < t.length) return false;
    // A forced character took the whole run: what follows decides itself
    // whether it still fits.
    ++pos.token, pos.offset = 0;
    return true;
}

void CHtmlLayout::Emit(Line& line, const char* s, size_t n, bool blank) {
    if (n == 0) return;
    const HtmlFont font = Font();
    const THtmlFontMetrics m = canvas_.Metrics(font);
    const int length = static_cast<int>(std::min<size_t>(n, INT_MAX));
    const int width = canvas_.TextWidth(font, s, length);
    if (line.draw) {
        long long y = line.top + line.height - m.height - m.externalLeading;
        canvas_.PaintText(font, state_.colours.back(), state_.selected, ToInt(line.x + line.shift), ToInt(y), s,
                          length);
    }
    line.x += width;
    line.maxItem = std::max<long long>(line.maxItem, m.height + m.externalLeading);
    line.placed = true;
    if (!blank) line.contentRight = std::max(line.contentRight, line.x);
}

bool CHtmlLayout::ApplyTag(const THtmlToken& t, Pos& pos, Line& line) {
    const std::string arg(text_ + t.start, t.length);
    switch (t.tag) {
    case 'a':
        OpenLink(arg, line);
        break;
    case 'b':
        state_.fonts.push_back(canvas_.FontVariant(Font(), HtmlFontVariant::Bold));
        break;
    case 'u':
        state_.fonts.push_back(canvas_.FontVariant(Font(), HtmlFontVariant::Underline));
        break;
    case 'c':
        state_.colours.push_back(params_.keepColour ? state_.colours.back() : ValueReaders::ReadColor(arg.c_str()));
        break;
    case 'f': {
        THtmlFontArg f = CHtmlTagArgs::ParseFont(arg);
        state_.fonts.push_back(f.byIndex ? canvas_.FontAt(f.index)
                                         : canvas_.FontByFace(f.face, f.size, f.bold, f.underline, f.italic));
        break;
    }
    case 'i':
        if (arg.empty()) {
            state_.fonts.push_back(canvas_.FontVariant(Font(), HtmlFontVariant::Italic));
        } else if (!PlaceImage(arg, line)) {
            return false;  // the image starts the next line
        }
        break;
    case 'n':
        if (!Has(HtmlSingleLine)) {
            ++pos.token, pos.offset = 0;
            return false;
        }
        break;
    case 'p':
        if (line.placed && !Has(HtmlSingleLine)) return false;  // the paragraph starts a new line
        state_.spacing = std::max(0LL, TagLength(canvas_, arg));
        line.spacing = std::max(line.spacing, state_.spacing);
        break;
    case 's':
        state_.selected = !state_.selected;
        break;
    case 'x':
        line.x += TagLength(canvas_, arg);
        break;
    case 'y':
        line.maxItem = std::max(0LL, TagLength(canvas_, arg));
        break;
    default:
        break;  // unknown tags are ignored
    }
    ++pos.token, pos.offset = 0;
    return true;
}

bool CHtmlLayout::ApplyCloseTag(const THtmlToken& t, Pos& pos, Line& line) {
    ++pos.token, pos.offset = 0;
    switch (t.tag) {
    case 'a':
        if (state_.inLink) CloseLink(line);
        break;
    case 'b':
    case 'f':
    case 'i':
    case 'u':
        PopFont(line);
        break;
    case 'c':
        if (state_.colours.size() > 1) state_.colours.pop_back();
        break;
    case 'p':
        state_.spacing = 0;
        return Has(HtmlSingleLine);
    case 's':
        state_.selected = false;
        break;
    default:
        break;
    }
    return true;
}

void CHtmlLayout::PopFont(Line& line) {
    if (state_.fonts.size() <= 1) return;
    const HtmlFont left = state_.fonts.back();
    state_.fonts.pop_back();
    // Leaving italic text, the slant's overhang is made up for.
    if (canvas_.Metrics(left).italic && !canvas_.Metrics(Font()).italic) line.x += canvas_.BlankCSpacing(left) / 2;
}

bool CHtmlLayout::PlaceImage(const std::string& arg, Line& line) {
    if (line.dropping) return true;
    THtmlImageArg image = CHtmlTagArgs::ParseImage(arg);
    int width = 0, height = 0;
    if (!canvas_.ImageSize(image.name, image.type, width, height) || width <= 0 || height <= 0) return true;
    const long long cell = width / image.count;
    if (cell <= 0) return true;
    if (!Has(HtmlSingleLine) && line.placed && line.x + cell > params_.rect.right) return false;
    if (line.draw) {
        long long top = height < line.height ? line.top + (line.height - height) / 2 : line.top;
        long long left = line.x + line.shift;
        TRect dest{ToInt(left), ToInt(top), ToInt(left + cell), ToInt(top + height)};
        TRect source{ToInt(image.index * cell), 0, ToInt((image.index + 1) * cell), height};
        canvas_.PaintImage(image.name, image.type, dest, source);
    }
    line.x += cell;
    line.contentRight = std::max(line.contentRight, line.x);
    line.maxItem = std::max<long long>(line.maxItem, height);
    line.placed = true;
    return true;
}

void CHtmlLayout::OpenLink(const std::string& text, Line& line) {
    if (state_.inLink) CloseLink(line);
    bool hover = false;
    for (int i = 0; i < params_.previousLinkCount && params_.previousLinks; ++i) {
        const THtmlLink& l = params_.previousLinks[i];
        if (l.text == text && params_.mouseX >= l.rect.left && params_.mouseX < l.rect.right &&
            params_.mouseY >= l.rect.top && params_.mouseY < l.rect.bottom)
            hover = true;
    }
    state_.colours.push_back(hover ? params_.linkHoverColour : params_.linkColour);
    state_.fonts.push_back(canvas_.FontVariant(Font(), HtmlFontVariant::Underline));
    state_.inLink = true;
    state_.linkText = text;
    line.linkStartX = line.x;
}

void CHtmlLayout::CloseLink(Line& line) {
    RecordLink(line);
    if (state_.colours.size() > 1) state_.colours.pop_back();
    PopFont(line);
    state_.inLink = false;
}

void CHtmlLayout::RecordLink(const Line& line) {
    if (!line.draw || line.x <= line.linkStartX || static_cast<int>(links_.size()) >= params_.maxLinks) return;
    TRect r{ToInt(line.linkStartX + line.shift), ToInt(line.top), ToInt(line.x + line.shift),
            ToInt(line.top + line.height)};
    links_.push_back(THtmlLink{r, state_.linkText});
}

}  // namespace Loom
