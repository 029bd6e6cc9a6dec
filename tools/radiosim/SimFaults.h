#pragma once

#include <string>
#include <vector>

// Misbehaviour the simulated radio can be asked for, one `--fault` at a time.
// Commands are counted from 1 over everything the radio takes in as a unit:
// a carriage-return line, a boot loader text, a page block.
struct SimFaults {
    // How the radio treats "cfg_baud" when it does not know the command.
    enum class LinkBaud {
        Known,   // normal
        Error,   // complete reply "ERROR: no such command" (no rate, no UNKNOW)
        Unknow,  // "\r\nUNKNOW" with no line end: the reply never completes
        Silent,  // no reply at all
    };

    bool silent = false;           // never reply
    int delayMs = 0;               // every reply starts this much later
    std::vector<long> dropAt;      // no reply to these commands
    bool noise = false;            // garbage before each reply
    long burst = 0;                // this many bytes of line noise before each reply
    bool unknownProtocol = false;  // "cfg_prtl" answered with UNKNOW
    LinkBaud linkBaud = LinkBaud::Known;
    std::vector<long> badPages;  // these "write page" requests of a download are refused
    long hangupAfter = -1;       // after this many commands nothing more is answered
    bool serial12 = false;       // serial number answered with 12 characters
    bool serialEscape = false;   // serial number answered after a terminal escape sequence
    // Settings of these keywords are answered OK but not stored.
    std::vector<std::string> ignoredSettings;

    // Adds one fault written as on the command line ("delay=200", "noise").
    // Returns false with a message for an unknown name or a bad number.
    bool add(const std::string& text, std::string& error);

    bool drops(long command) const;
    // The burst: byte i is (i * 37 + 11) mod 256, a CR or LF made '#', so
    // that it can never open or end a reply.
    std::string burstBytes() const;
    bool refusesPage(long request) const;
    bool ignoresSetting(const std::string& keyword) const;
};
