#pragma once
#include <atomic>
#include <cstdint>
#include <string>

#include "radio/RadioExchange.h"
#include "radio/RadioLine.h"
#include "serial/PortOwner.h"
#include "serial/SerialPort.h"

// The link to one radio: the reply exchange and the COM port that feeds it,
// and the one rule for opening a port. The window, the command line and the
// tests each hold one.
//
// The exchange is declared before the port, so that the port, and with it
// its thread, which feeds the exchange, goes first. The link outlives the
// port thread that calls it.
class RadioLink : public IPortOwner, public IPortWriter, public IRadioLine {
public:
    RadioLink() : exchange_(*this), port_(this) {}
    RadioLink(const RadioLink&) = delete;
    RadioLink& operator=(const RadioLink&) = delete;

    // Opens COMn at `baudRate` and starts the port thread. The line must take
    // its settings: a device that opens but is no serial line cannot reach a
    // radio. On any failure the port is closed again, and the outcome says
    // why: absent, in use (by another program or another copy of this one),
    // or refused, with the system's error.
    Outcome Open(int portNumber, int baudRate) override;
    void Close() { port_.Close(); }
    bool IsOpen() const { return port_.IsOpen(); }
    bool Lost() const override { return port_.LineFailed(); }

    RadioExchange& Exchange() override { return exchange_; }
    CSerialPort& Port() { return port_; }
    void SetTrafficLog(TrafficLog* log) { port_.SetTrafficLog(log); }
    // While on, bytes for the radio are dropped, so that the exchange in
    // progress (a download being cancelled) fails at once.
    void DropWrites(bool on) { dropWrites_.store(on); }

    // The port thread's bytes go to the exchange; the exchange's to the port.
    void OnPortByte(unsigned char byte) override { exchange_.OnPortByte(byte); }
    void Write(const unsigned char* data, uint32_t length) override {
        if (!dropWrites_.load()) port_.Write(data, length);
    }

private:
    std::atomic<bool> dropWrites_{false};
    RadioExchange exchange_;
    CSerialPort port_;
};

// The kind of a port failure by the system's error code.
OutcomeKind PortFailureKind(uint32_t systemError);
