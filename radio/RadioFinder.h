#pragma once
#include <atomic>
#include <vector>

#include "radio/RadioExchange.h"

// Finding the radio: Connect tried on every listed port at every PC rate,
// the most likely first, until a radio answers. Portable: the window runs it
// on a thread of its own, a command line may run it directly.

// The ports in the order they are tried: the remembered one first (when it
// is listed), then the others in list order; each once.
std::vector<int> SearchPortOrder(int remembered, const std::vector<int>& listed);
// The rates in the order they are tried: the remembered one, then 38400,
// 9600 and 115200, then the rest in list order; only rates of the list,
// each once.
std::vector<int> SearchRateOrder(int remembered, const std::vector<int>& listed);

// What the search needs of a serial port.
class IRadioProbe {
public:
    // Called before each attempt, for the progress display.
    virtual void Trying(int port, int rate) = 0;
    // Opens the port at the rate; false when it cannot be opened.
    virtual bool OpenPort(int port, int rate) = 0;
    // Connect on the open port; true when a radio answered it.
    virtual bool Connect() = 0;
    virtual void ClosePort() = 0;

protected:
    ~IRadioProbe() = default;
};

struct FindOutcome {
    enum class Kind { Found, NotFound, Cancelled };
    Kind kind = Kind::NotFound;
    int port = 0;
    int rate = 0;
};

// Tries the ports in order, each at the rates in order. A port that cannot
// be opened is left at once; a rate without an answer costs one reply bound.
// The port is closed after every attempt, the answering one too. `cancel` is
// read before each attempt.
FindOutcome FindRadio(IRadioProbe& probe, const std::vector<int>& ports, const std::vector<int>& rates,
                      const std::atomic<bool>& cancel);

// Connect over an exchange: the radio answers "control" with "into config".
bool ConnectAnswered(RadioExchange& exchange);
