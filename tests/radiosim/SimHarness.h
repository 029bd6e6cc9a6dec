#pragma once

#include <string>

#include "RadioSim.h"
#include "radio/RadioExchange.h"

// Sends one command to an interpreter and collects what it answers.
inline std::string replyTo(RadioSim& sim, const std::string& command) {
    sim.receive(command);
    std::string bytes;
    for (const RadioSim::Reply& r : sim.takeReplies()) bytes += r.bytes;
    return bytes;
}

// The received bytes as the tool's own reply framing takes them, byte by byte
// as its port thread hands them over.
struct ToolReply {
    bool complete = false;
    std::string line;  // the reply without its opening carriage return
};

inline ToolReply toolReplyOf(const std::string& bytes) {
    struct NoLine : IPortWriter {
        void Write(const unsigned char*, uint32_t) override {}
    } line;
    RadioExchange exchange(line);
    for (unsigned char b : bytes) exchange.OnPortByte(b);
    return {exchange.IsReplyComplete(), exchange.ReplyLine()};
}

// The reply line as the tool would take it; empty when it never completes.
inline std::string lineOf(RadioSim& sim, const std::string& command) {
    ToolReply reply = toolReplyOf(replyTo(sim, command));
    return reply.complete ? reply.line : std::string();
}
