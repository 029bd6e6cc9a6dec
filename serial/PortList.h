#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "serial/PortDevices.h"

class IPortListWindow;

// The serial device map turned into the port box's entries. The registry
// hands every value over in fixed buffers whose contents need not be
// zero-terminated, so every function here takes the byte count the registry
// reported and never reads past it.

// Size of the name and data buffers a value of the serial device map is read into.
constexpr size_t kDeviceValueBufferSize = 256;

// False for the devices the port list leaves out: names containing
// "Nmserial" (case-sensitive), wherever in the name. Reads at most `size`
// bytes and stops at a zero byte.
bool IsListedDeviceName(const char* name, size_t size);

// The port number in a value's data, which reads "COM" and the number: the
// text up to the first zero byte (or `size` bytes), its first three
// characters skipped, then a decimal integer as atoi reads it. Three
// characters or fewer, or no digits after them, give 0.
int PortNumberFromDeviceData(const char* data, size_t size);

// Appends the port a value names, unless its name is left out or the port
// is listed already (two values naming one port give one entry).
void AddDeviceValue(std::vector<int>& ports, const char* name, size_t nameSize, const char* data, size_t dataSize);

// The entry text of a port: " COM%d", and where Windows names the port's
// device, two blanks and that name (" COM5  USB-SERIAL CH340"): the number
// is still read from the fifth character on.
std::string FormatPortEntry(int portNumber, const PortDevices& devices = {});

// Puts the ports into the window's port box in list order and selects the
// first; with no port the box is emptied and the radio buttons disabled.
void ShowPortList(const std::vector<int>& ports, IPortListWindow& window, const PortDevices& devices = {});

// What a rebuild of the port box did with the port that was chosen.
enum class PortChoice {
    Kept,  // still listed, and selected at its new place
    Gone,  // no longer listed: nothing is selected
    None,  // none was chosen: the first entry is selected, as at start-up
};

// Puts the ports into the box again, in list order. The port `chosen` (its
// number, 0 for none) keeps the choice wherever it now stands; one that is
// gone leaves the box without a selection rather than on another port. With
// no port the radio buttons are disabled; enabling them again is the
// window's, which knows whether an action holds the port.
PortChoice RebuildPortList(const std::vector<int>& ports, int chosen, IPortListWindow& window,
                           const PortDevices& devices = {});
