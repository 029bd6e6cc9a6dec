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
    const DWORD error = port_.LastOpenError();
    port_.Close();
    // A port that opens but does not take a serial line's settings is no
    // port a radio can answer on, whatever the system calls its error.
    const OutcomeKind kind = opened ? OutcomeKind::PortRefused : PortFailureKind(error);
    Outcome o = PortOutcome(kind, portNumber, baudRate, error);
    if (opened && error == 0) o.systemError = ERROR_GEN_FAILURE;
    return o;
}
