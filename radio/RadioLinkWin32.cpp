#include "radio/RadioLink.h"

#include <windows.h>

OutcomeKind PortFailureKind(uint32_t systemError) {
    switch (systemError) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_UNIT:
    case ERROR_BAD_NETPATH:
    case ERROR_DEVICE_NOT_CONNECTED:
    // Wine answers so for a port name whose device is gone (a COM port
    // mapped to a device file that is no longer there).
    case ERROR_INVALID_FUNCTION:
        return OutcomeKind::PortAbsent;
    // Windows opens a serial port for one program at a time: the next one is
    // refused access.
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return OutcomeKind::PortInUse;
    default:
        return OutcomeKind::PortRefused;
    }
}

Outcome RadioLink::Open(int portNumber, int baudRate) {
    const bool opened = port_.Open(portNumber, baudRate);
    if (opened && port_.IsLineConfigured() && port_.StartThread()) return Outcome();
    const DWORD error = opened && port_.LastOpenError() == 0 ? ERROR_GEN_FAILURE : port_.LastOpenError();
    port_.Close();
    // A name that opens but whose device does not take a serial line's
    // settings says why as the open would: under Wine a port whose device
    // file is gone opens, then refuses every serial function.
    return PortOutcome(PortFailureKind(error), portNumber, baudRate, error);
}
