// The radio's reply framing and the query parsers on arbitrary bytes.
//
// Input: the first byte chooses the channel the frequency parser looks for
// (including numbers outside 1 to 8), the second how the rest is cut into
// pieces; each piece is what the line delivers after one query, before the
// next one is sent. Every piece goes through a new exchange byte by byte and
// through one exchange reused for all pieces; every reply that completes goes
// to every parser of the command set.
//
// Beside the sanitizers' checks:
// - a reply buffer is empty, or the opening carriage return followed by text
//   without carriage returns or line feeds, never over kMaxReplyLength bytes;
// - a completed reply holds text, and nothing that arrives later changes it;
// - line feeds, and whatever comes before the first carriage return, make no
//   difference to the reply;
// - the reused exchange takes through SendCommand exactly the reply a new one
//   takes: nothing of an earlier reply leaks into the next;
// - every parser's result lies in its range, and a line without a match
//   leaves the output arguments as they were.
//
// SendAndWait is driven only for pieces that complete a reply, so that it
// returns at once; an unfinished piece would hold each run for the whole
// wait bound. Such a piece is delivered to the reused exchange as late bytes
// instead, which the radio sends when a reply missed its wait.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "radio/CommandSet.h"
#include "radio/Parameters.h"
#include "radio/RadioExchange.h"

namespace {

namespace cs = CommandSet;

void Require(bool condition) {
    if (!condition) std::abort();
}

// A line that answers every write with the piece at hand, at once and on the
// calling thread, as a port thread would deliver it byte by byte.
class PieceLine : public IPortWriter {
public:
    RadioExchange* exchange = nullptr;
    std::string piece;
    void Write(const unsigned char*, uint32_t) override {
        for (unsigned char b : piece) exchange->OnPortByte(b);
    }
};

class SilentLine : public IPortWriter {
public:
    void Write(const unsigned char*, uint32_t) override {}
};

struct Framed {
    std::string buffer;
    bool complete = false;
    bool operator==(const Framed& other) const { return buffer == other.buffer && complete == other.complete; }
};

void RequireWellFormed(const RadioExchange& exchange, const Framed& framed) {
    const std::string& buffer = framed.buffer;
    Require(buffer.size() <= RadioExchange::kMaxReplyLength);
    Require(buffer.empty() || buffer[0] == '\r');
    Require(buffer.find_first_of("\r\n", 1) == std::string::npos);
    Require(!framed.complete || buffer.size() >= 2);
    Require(exchange.ReplyLine() == (buffer.empty() ? std::string() : buffer.substr(1)));
}

// The piece through a new exchange; the buffer must not change once complete.
Framed FrameAlone(const std::string& bytes) {
    SilentLine line;
    RadioExchange exchange(line);
    std::string atCompletion;
    bool completed = false;
    for (unsigned char b : bytes) {
        exchange.OnPortByte(b);
        if (!completed && exchange.IsReplyComplete()) {
            completed = true;
            atCompletion = exchange.ReplyBuffer();
        }
    }
    Framed framed{exchange.ReplyBuffer(), exchange.IsReplyComplete()};
    Require(framed.complete == completed);
    Require(!completed || framed.buffer == atCompletion);
    RequireWellFormed(exchange, framed);
    return framed;
}

std::string WithoutLineFeeds(const std::string& bytes) {
    std::string kept;
    for (char b : bytes)
        if (b != '\n') kept.push_back(b);
    return kept;
}

std::string FromFirstCarriageReturn(const std::string& bytes) {
    size_t open = bytes.find('\r');
    return open == std::string::npos ? std::string() : bytes.substr(open);
}

void ParseWithEveryParser(const std::string& line, int channel) {
    int position = -100;
    if (cs::ParseCurrentChannel(line, position))
        Require(!line.empty() && position >= -'1' && position <= 255 - '1');
    else
        Require(position == -100);

    const int protocol = cs::ParseProtocol(line);
    Require(protocol >= -1 && protocol <= 8);
    const int portBaud = cs::ParsePortBaud(line);
    Require(portBaud >= -1 && portBaud <= 4);
    const std::string linkBaud = cs::ParseLinkBaud(line);
    Require(linkBaud.empty() || linkBaud == " 4800" || linkBaud == " 9600" || linkBaud == " 19200");
    const int power = cs::ParsePowerValue(line);
    Require(cs::IsValidPower(power) == (power >= 1 && power <= 3));
    const int bandwidth = cs::ParseBandwidth(line);
    Require(bandwidth >= -1 && bandwidth <= 1);
    const int workMode = cs::ParseWorkMode(line);
    Require(workMode >= -1 && workMode <= 2);

    std::string frequency = "untouched";
    if (cs::ParseChannelFrequency(line, channel, frequency)) {
        // What follows the channel digit and its blank, to the end of the line.
        Require(line.size() >= frequency.size() + 2);
        Require(line.compare(line.size() - frequency.size(), frequency.size(), frequency) == 0);
        Require(line[line.size() - frequency.size() - 1] == ' ');
    } else {
        Require(frequency == "untouched");
    }
}

// The queries in the order a read sends them, each piece answering the next.
const std::string& QueryFor(size_t index, int channel) {
    static const std::vector<std::string> queries = [] {
        std::vector<std::string> all;
        for (const Parameter* row : ReadOrder())
            for (int c = 1; c <= row->Channels(); ++c) all.push_back(row->Query(row->Channels() > 1 ? c : 0));
        return all;
    }();
    return queries[(index + static_cast<size_t>(channel & 0xF)) % queries.size()];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int channel = static_cast<int>(data[0]) - 20;                           // -20 to 235: the digits and beyond
    const size_t pieceLength = data[1] == 0 ? size : 1 + data[1] * data[1] / 8u;  // 1 to 8129 bytes
    const std::string stream(reinterpret_cast<const char*>(data + 2), size - 2);

    PieceLine line;
    RadioExchange reused(line);
    line.exchange = &reused;
    size_t index = 0;
    for (size_t at = 0; at < stream.size(); at += pieceLength, ++index) {
        const std::string piece = stream.substr(at, pieceLength);
        const Framed alone = FrameAlone(piece);
        Require(FrameAlone(WithoutLineFeeds(piece)) == alone);
        Require(FrameAlone(FromFirstCarriageReturn(piece)) == alone);

        if (alone.complete) {
            line.piece = piece;
            Require(reused.SendCommand(QueryFor(index, channel).c_str()));
            Require(reused.ReplyBuffer() == alone.buffer);
            ParseWithEveryParser(reused.ReplyLine(), channel);
        } else {
            // Late bytes: they may finish the reply still held, never change a complete one.
            const Framed before{reused.ReplyBuffer(), reused.IsReplyComplete()};
            for (unsigned char b : piece) reused.OnPortByte(b);
            const Framed after{reused.ReplyBuffer(), reused.IsReplyComplete()};
            RequireWellFormed(reused, after);
            Require(!before.complete || after == before);
        }
    }
    return 0;
}
