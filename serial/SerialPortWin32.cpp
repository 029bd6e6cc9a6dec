#include "serial/SerialPort.h"

#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/Wide.h"

namespace {

constexpr DWORD kPurgeAll = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
constexpr DWORD kThreadExitCode = 100;
// While waiting for the port thread to end, shutdown is signalled again this
// often; the thread answers it within microseconds unless the owner's byte
// handler keeps it.
constexpr DWORD kResignalMs = 50;

// Resets an existing manual-reset event or creates a new one.
void ResetOrCreate(UniqueHandle& event) {
    if (event)
        ::ResetEvent(event.get());
    else
        event.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
}

}  // namespace

struct CSerialPort::PortIo {
    OVERLAPPED io{};
    UniqueHandle done;  // manual-reset, the record's hEvent
    std::unique_ptr<unsigned char[]> buffer;
};

void CSerialPort::Renew(std::unique_ptr<PortIo>& request, DWORD bufferSize) {
    if (!request) {
        request.reset(new PortIo);
        request->buffer.reset(new unsigned char[bufferSize]());
    }
    ResetOrCreate(request->done);
    request->io = OVERLAPPED{};
    request->io.hEvent = request->done.get();
}

CSerialPort::CSerialPort(IPortOwner* owner) : owner(owner) {}

CSerialPort::~CSerialPort() { Close(); }

bool CSerialPort::IsOpen() const {
    std::lock_guard<CriticalSection> lock(portLock);
    return portHandle.valid();
}

bool CSerialPort::WaitForThreadEnd(DWORD limitMs) {
    if (!threadHandle) return true;
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (shutdownEvent) ::SetEvent(shutdownEvent.get());
        const DWORD result = ::WaitForSingleObject(threadHandle.get(), kResignalMs);
        if (result == WAIT_OBJECT_0) break;
        if (result == WAIT_FAILED) ::Sleep(kResignalMs);  // never spin
        if (limitMs != INFINITE && ::GetTickCount() - start >= limitMs) return false;
    }
    threadHandle.reset();
    threadRunning.store(false);
    return true;
}

bool CSerialPort::Open(int number, int baudRate) {
    // A thread of an earlier open still runs: ask it to stop. If it does not
    // end in time, its events, buffer and port stay as they are, since it may
    // still use them.
    if (!WaitForThreadEnd(kThreadStopWaitMs)) return false;

    ResetOrCreate(writeEvent);
    ResetOrCreate(shutdownEvent);
    Renew(reads, kReadChunk);
    eventArray[0] = shutdownEvent.get();
    eventArray[1] = reads->done.get();
    eventArray[2] = writeEvent.get();
    readPending = false;
    requestLeftBehind.store(false);

    std::lock_guard<CriticalSection> lock(portLock);
    Renew(sends, kWriteBufferSize);
    portNumber = number;
    eventMask = EV_RXCHAR;
    writeBufferSize = kWriteBufferSize;
    portHandle.reset();
    lineConfigured = false;
    openError = 0;
    heldByThisProgram = false;
    lineError.store(0);

    char device[32];
    char settings[64];
    std::snprintf(device, sizeof device, "\\\\.\\COM%d", number);
    std::snprintf(settings, sizeof settings, "baud=%d parity=%c data=%d stop=%d", baudRate, 'N', 8, 1);

    UniqueFile opened(::CreateFileW(Text::Widen(device).c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr));
    if (!opened) openError = ::GetLastError();
    if (opened && !ClaimPort(number)) {
        opened.reset();
        heldByThisProgram = true;
        openError = ERROR_ACCESS_DENIED;  // what the system says of a port another program holds
    }
    if (!opened) {
        if (trafficLog) trafficLog->OpenFailed(number, baudRate);
        return false;
    }
    portHandle = std::move(opened);
    const HANDLE h = portHandle.get();
    if (trafficLog) trafficLog->Opened(number, baudRate);

    // Each step only if the one before succeeded; failures are not reported,
    // the action then fails on its first missing reply.
    timeouts.ReadIntervalTimeout = 1000;
    timeouts.ReadTotalTimeoutMultiplier = 1000;
    timeouts.ReadTotalTimeoutConstant = 1000;
    timeouts.WriteTotalTimeoutMultiplier = 1000;
    timeouts.WriteTotalTimeoutConstant = 1000;
    if (::SetCommTimeouts(h, &timeouts) && ::SetCommMask(h, eventMask)) {
        dcb = DCB{};
        dcb.DCBlength = sizeof dcb;
        if (::GetCommState(h, &dcb)) {
            dcb.fRtsControl = RTS_CONTROL_ENABLE;
            dcb.EvtChar = 'q';
            lineConfigured = ::BuildCommDCBW(Text::Widen(settings).c_str(), &dcb) && ::SetCommState(h, &dcb);
        }
    }
    if (!lineConfigured) openError = ::GetLastError();
    driver.purgeComm(h, kPurgeAll);
    return true;
}

bool CSerialPort::StartThread() {
    if (!IsOpen() || threadHandle || threadRunning.load()) return false;
    // Marked running before the thread exists, so that a Close coming first
    // still stops it instead of leaving it behind.
    threadRunning.store(true);
    HANDLE h = ::CreateThread(nullptr, 0, &CSerialPort::PortThread, this, 0, nullptr);
    if (!h) {
        threadRunning.store(false);
        return false;
    }
    threadHandle.reset(h);
    return true;
}

DWORD WINAPI CSerialPort::PortThread(LPVOID param) {
    auto* port = static_cast<CSerialPort*>(param);
    try {
        port->RunThread();
    } catch (...) {
        // Nothing may escape a thread routine; the port is released below.
        port->ReleasePortHandle();
    }
    port->threadRunning.store(false);
    return kThreadExitCode;
}

void CSerialPort::Purge() {
    if (portHandle) driver.purgeComm(portHandle.get(), kPurgeAll);
}

void CSerialPort::ReleasePortHandle() {
    std::lock_guard<CriticalSection> lock(portLock);
    portHandle.reset();
    portClaim.reset();
}

bool CSerialPort::ClaimPort(int number) {
    char name[64];
    std::snprintf(name, sizeof name, "Local\\VelmoraConfig.COM%d", number);
    portClaim.reset();
    UniqueHandle claim(::CreateMutexW(nullptr, FALSE, Text::Widen(name).c_str()));
    if (!claim) return true;  // no claim possible: the device's own sharing rule decides
    if (::GetLastError() == ERROR_ALREADY_EXISTS) return false;
    portClaim = std::move(claim);
    return true;
}

void CSerialPort::RunThread() {
    threadRunning.store(true);
    {
        std::lock_guard<CriticalSection> lock(portLock);
        Purge();
    }
    for (;;) {
        if (::WaitForSingleObject(shutdownEvent.get(), 0) == WAIT_OBJECT_0) break;
        // A read of one byte waits for the first byte of the next burst; the
        // driver completes it the moment that byte comes.
        if (!readPending && !StartRead()) {
            ::Sleep(1);  // never spin on a port that refuses reads
            continue;
        }
        if (!readPending) continue;  // it completed at once and was delivered
        DWORD which = ::WaitForMultipleObjects(3, eventArray, FALSE, INFINITE);
        if (which == WAIT_OBJECT_0) break;
        if (which == WAIT_OBJECT_0 + 1) {
            if (!FinishRead()) ::Sleep(1);  // never spin on a line whose reads fail
        } else if (which == WAIT_OBJECT_0 + 2) {
            Send();
        } else if (which == WAIT_FAILED) {
            ::Sleep(1);  // never spin on a broken wait
        }
    }
    std::lock_guard<CriticalSection> lock(portLock);
    CancelRead();
    portHandle.reset();
}

void CSerialPort::NoteLineError(DWORD error) {
    // Shutdown cancels what waits; that is the port being let go, not failing.
    if (error == ERROR_OPERATION_ABORTED || !threadRunning.load()) return;
    DWORD none = 0;
    lineError.compare_exchange_strong(none, error != 0 ? error : ERROR_GEN_FAILURE);
}

bool CSerialPort::StartRead() {
    DWORD got = 0;
    {
        std::lock_guard<CriticalSection> lock(portLock);
        HANDLE h = portHandle.get();
        if (h == INVALID_HANDLE_VALUE) return false;
        if (!reads) return false;
        ::ResetEvent(reads->done.get());
        if (!driver.readFile(h, reads->buffer.get(), 1, &got, &reads->io)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_IO_PENDING) {
                NoteLineError(error);
                return false;
            }
            readPending = true;
            return true;
        }
    }
    if (Deliver(got)) ReceivePass();
    return true;
}

bool CSerialPort::FinishRead() {
    DWORD got = 0;
    {
        std::lock_guard<CriticalSection> lock(portLock);
        readPending = false;
        // A read the purge before a send aborted is no broken line.
        if (!::GetOverlappedResult(portHandle.get(), &reads->io, &got, FALSE)) {
            const DWORD error = ::GetLastError();
            NoteLineError(error);
            return error == ERROR_OPERATION_ABORTED;
        }
    }
    if (Deliver(got)) ReceivePass();
    return true;
}

void CSerialPort::CancelRead() {
    if (!readPending) return;
    DWORD got = 0;
    CancelAndWait(portHandle.get(), reads, got);
    readPending = false;
}

void CSerialPort::CancelAndWait(HANDLE h, std::unique_ptr<PortIo>& request, DWORD& count) {
    driver.cancelIo(h);
    if (::WaitForSingleObject(request->done.get(), kCancelWaitMs) == WAIT_OBJECT_0) {
        ::GetOverlappedResult(h, &request->io, &count, FALSE);
        return;
    }
    // The driver still holds the record and may yet write into it and its
    // buffer and signal its event: all three stay allocated for good. The
    // port is closed as usual when the thread ends; Close says it in the log.
    (void)request.release();
    DWORD none = 0;
    lineError.compare_exchange_strong(none, ERROR_TIMEOUT);
    requestLeftBehind.store(true);
}

bool CSerialPort::Deliver(DWORD got) {
    if (got > kReadChunk) return false;
    for (DWORD i = 0; i < got; ++i) {
        // Close has begun: what is left goes, as its purge discards it.
        if (!threadRunning.load()) return false;
        // The log only stores the byte; its writer thread does the file I/O.
        const unsigned char byte = reads->buffer[i];
        if (trafficLog) trafficLog->Received(byte);
        owner->OnPortByte(byte);
    }
    return true;
}

bool CSerialPort::AwaitIo(HANDLE h, std::unique_ptr<PortIo>& request, DWORD& count) {
    HANDLE events[2] = {request->done.get(), shutdownEvent.get()};
    if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
        // Shutdown (or a broken wait): give the request up, and wait until it
        // is done with the record and the buffer before they are reused.
        CancelAndWait(h, request, count);
        return false;
    }
    if (::GetOverlappedResult(h, &request->io, &count, FALSE)) return true;
    NoteLineError(::GetLastError());
    return false;
}

void CSerialPort::ReceivePass() {
    for (;;) {
        DWORD got = 0;
        {
            std::lock_guard<CriticalSection> lock(portLock);
            HANDLE h = portHandle.get();
            COMSTAT status{};
            DWORD errors = 0;
            if (h == INVALID_HANDLE_VALUE || !reads) return;
            if (!::ClearCommError(h, &errors, &status)) {
                NoteLineError(::GetLastError());
                return;
            }
            if (status.cbInQue == 0) return;
            // Everything waiting in one read: the bytes are already queued, so
            // the read completes at once, however long the time-outs.
            const DWORD want = status.cbInQue < kReadChunk ? status.cbInQue : kReadChunk;
            if (!driver.readFile(h, reads->buffer.get(), want, &got, &reads->io)) {
                const DWORD error = ::GetLastError();
                if (error != ERROR_IO_PENDING) {
                    NoteLineError(error);
                    return;
                }
                if (!AwaitIo(h, reads, got)) return;
            }
        }
        if (got == 0 || !Deliver(got)) return;
    }
}

void CSerialPort::Send() {
    ::ResetEvent(writeEvent.get());
    std::lock_guard<CriticalSection> lock(portLock);
    HANDLE h = portHandle.get();
    if (h == INVALID_HANDLE_VALUE || !sends || !reads) return;
    // Whatever was received and not yet delivered belongs to no command now:
    // the queue is purged, and a byte the waiting read has already taken is
    // dropped. A read still waiting goes on waiting, for the reply.
    driver.purgeComm(h, kPurgeAll);
    if (readPending && ::WaitForSingleObject(reads->done.get(), 0) == WAIT_OBJECT_0) {
        DWORD stale = 0;
        ::GetOverlappedResult(h, &reads->io, &stale, FALSE);
        readPending = false;
    }
    if (trafficLog) trafficLog->Sent(sends->buffer.get(), writeLength);
    sends->io.Offset = 0;
    sends->io.OffsetHigh = 0;
    DWORD written = 0;
    if (!::WriteFile(h, sends->buffer.get(), writeLength, &written, &sends->io)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_IO_PENDING)
            AwaitIo(h, sends, written);
        else
            NoteLineError(error);
    }
}

void CSerialPort::Write(const unsigned char* data, uint32_t length) { WriteBlock(data, length); }

bool CSerialPort::WriteBlock(const unsigned char* data, uint32_t length) {
    if (length > kWriteBufferSize || (length > 0 && !data)) return false;
    {
        std::lock_guard<CriticalSection> lock(portLock);
        if (!sends || !writeEvent) return false;
        if (length > 0) std::memcpy(sends->buffer.get(), data, length);
        writeLength = length;
    }
    ::SetEvent(writeEvent.get());
    return true;
}

void CSerialPort::Close() {
    if (threadHandle) {
        ::SetEvent(shutdownEvent.get());
        threadRunning.store(false);
        ::SetEvent(shutdownEvent.get());
        {
            std::lock_guard<CriticalSection> lock(portLock);
            if (portHandle) {
                HANDLE h = portHandle.get();
                ::SetCommMask(h, EV_TXEMPTY);  // the line is let go: no more receive events
                ::EscapeCommFunction(h, CLRDTR);
                driver.purgeComm(h, kPurgeAll);
            }
        }
        ::Sleep(300);
        // The thread must be gone before its events and port are closed under
        // it, and before its owner may go: no bound, however long the owner's
        // byte handler keeps it.
        WaitForThreadEnd(INFINITE);
    } else if (!IsOpen()) {
        return;
    }
    ReleasePortHandle();
    if (trafficLog && requestLeftBehind.load()) {
        char text[160];
        std::snprintf(text, sizeof text,
                      "COM%d: the driver did not finish a cancelled request within %lu ms; the request was left to it "
                      "and the port closed",
                      portNumber, static_cast<unsigned long>(kCancelWaitMs));
        trafficLog->Note(text);
    }
    if (trafficLog) trafficLog->Closed();
    threadHandle.reset();
    shutdownEvent.reset();
    writeEvent.reset();
    {
        std::lock_guard<CriticalSection> lock(portLock);
        reads.reset();
        sends.reset();
    }
    for (HANDLE& e : eventArray) e = nullptr;
}
