#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "radio/RadioSettings.h"
#include "radio/WriteVerify.h"

// The radio's parameters, one row each: what the window calls it, where the
// profile keeps it, how a Read asks for it and takes the reply, how a Write
// sends it, how Verify reads it back and compares, its list items, whether
// Write requires it. The sequences, the profile, the window's labels, the
// command line's help and its --set checks all loop over this table; a new
// parameter is a new row (and its place in the window).
//
// Rows are in the order the window lists them (its language table); each
// sequence has its own order, given by a number per row, which keeps the
// order the radio and the stored profiles know.

// A text in both languages.
struct Texts {
    const char* english;
    const char* chinese;
    const char* In(Language language) const { return language == Language::Chinese ? chinese : english; }
};

// What a Read step asks the radio through (the job's side of the line).
class IReadContext {
public:
    // Sends the query and waits, bounded, for its reply; false when no whole
    // reply came (or the job was cancelled, which nothing sends after).
    virtual bool Ask(const std::string& query) = 0;
    // The reply line, without its opening carriage return.
    virtual std::string Line() const = 0;
    // Whether what has arrived (a whole reply or not) holds `words`.
    virtual bool ReplyContains(const char* words) const = 0;
    virtual void Pause(int ms) = 0;
    virtual RadioSettings& Settings() = 0;

protected:
    ~IReadContext() = default;
};

struct Parameter;

// One step of a Read: asks (only while `ok`, unless the row says otherwise)
// and takes the reply into the settings; returns the new `ok`.
using ReadStep = bool (*)(const Parameter& row, IReadContext& context, bool ok);
// The value a Write sends for the channel (1 to 8, 0 for other rows), as it
// goes after the keyword; empty when nothing is to be sent.
using WireValue = std::string (*)(const Parameter& row, const RadioSettings& settings, int channel);
// The value as the window shows it: what Verify says was written.
using ShownValue = std::string (*)(const Parameter& row, const RadioSettings& settings, int channel);
// A reply line as the window would show it, for Verify.
using ReadBack = std::string (*)(const Parameter& row, const RadioSettings& settings, int channel,
                                 const std::string& line);
// The list position a reply names, -1 for none.
using ReplyPosition = int (*)(const std::string& line);
// A list's items in a language.
using ListItems = std::vector<std::string> (*)(Language language);

enum class ParameterKind { Frequencies, Text, List };

// Which Unlock a row waits for before a Write sends it.
enum class Armed { Always, BySerialUnlock, ByHardwareUnlock };

struct Parameter {
    ParameterKind kind;
    Group group;      // Frequencies
    TextField field;  // Text
    ListField list;   // List
    // The window's label ("Protocol Type:"); frequency rows: the prefix of
    // "Channel%d:". The name in messages ("Protocol Type", "TX Channel").
    Texts label;
    Texts name;
    // The profile's key ("ProtocolType"; frequency rows: the prefix of
    // "Channel%d") and its place in the profile; nullptr and 0: not stored.
    const char* profileKey;
    int profileOrder;
    // The radio's keyword: the query is the keyword and "\r", a setting the
    // keyword, a blank, the value and "\r" (frequency rows: the channel's
    // digit follows the keyword, "cfg_ch_3").
    const char* keyword;
    int readOrder;  // place in a Read, 0: not read
    ReadStep read;
    int writeOrder;  // place in a Write, 0: never sent
    WireValue wire;
    ShownValue shown;
    ReadBack readBack;
    VerifyKind verify;
    // Write requires a selection; the rows of one group are reported at
    // their first gap, each group on its own (0: not required).
    int requiredGroup;
    Armed armed;
    ReplyPosition position;  // List
    ListItems items;         // List
    // Text: the longest value kept (what the radio reports is cut to it);
    // 0: no limit.
    size_t maxLength;
    // Text holding a number (an address): the largest the radio takes, and
    // what an empty field becomes before a write; 0 and nullptr: no number.
    int maxValue;
    const char* emptyValue;
    // List: a profile may leave it open (-1), and a write then leaves the
    // radio's value as it is.
    bool mayStayOpen;

    // The query for the channel (1 to 8; 0 for rows without channels).
    std::string Query(int channel) const;
    // The setting for the channel with the value; empty for an empty value.
    std::string Setting(int channel, const std::string& value) const;
    // How many commands the row asks or sends: 8 for a frequency group, else 1.
    int Channels() const { return kind == ParameterKind::Frequencies ? kChannelCount : 1; }
    // The name with the channel ("TX Channel3"), in a language.
    std::string NameOf(int channel, Language language) const;
};

// Every row, in the window's order.
const std::vector<Parameter>& Parameters();
// The rows of each sequence, in its order.
const std::vector<const Parameter*>& ReadOrder();
const std::vector<const Parameter*>& WriteOrder();
const std::vector<const Parameter*>& ProfileOrder();
// The row of a field.
const Parameter& ParameterOf(ListField list);
const Parameter& ParameterOf(TextField field);
const Parameter& ParameterOf(Group group);

// The queries of a whole Read: each step's commands counted.
int ReadCommandCount();
