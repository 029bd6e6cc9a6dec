#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "serial/PortOwner.h"
#include "serial/TrafficLog.h"
#include "platform/UniqueHandle.h"

// One COM port for the time of one user action. Open configures it; the port
// thread (PortThread) then does all I/O on the handle: it waits for received
// characters, write requests and the shutdown request, hands each received
// byte to the owner, and sends the block queued by Write. Close ends it all.
//
// Receiving: the thread keeps a read of one byte waiting, which the driver
// completes the moment a byte comes; then it takes whatever else is queued
// in one read of that many bytes, and hands the bytes over one call each, in
// order. A reply thus costs two or three reads, not one per byte.
//
// Threads: Open, Write and Close are called by the action's thread (the window
// thread or the firmware worker), never two actions at once. OnPortByte runs
// on the port thread, outside portLock.
//
// Lifetime: the port thread calls the owner (the byte sink) until it has
// ended, so the owner must outlive it. Close and the destructor return only
// once the thread has ended, however long the owner's OnPortByte takes; an
// owner that holds both the reply exchange and the port declares the exchange
// before the port, so that the port, and with it its thread, goes first.
// Close must not be called from inside OnPortByte (it would wait for itself).
class CSerialPort : public IPortWriter {
public:
    static constexpr uint32_t kWriteBufferSize = 1024;
    // How long Open waits for the thread of an earlier open to end before it
    // gives up and fails, leaving that thread and its port as they are.
    static constexpr int kThreadStopWaitMs = 2000;
    // Most bytes taken from the driver in one read; a longer burst takes more.
    static constexpr DWORD kReadChunk = 4096;
    // How long the port thread waits for the driver to finish a read or write
    // it has cancelled. A driver does that at once; one that has not by then
    // (a USB adapter pulled out whose driver never completes the request) is
    // left the request's record, event and buffer for good, the port is
    // reported failed (ERROR_TIMEOUT unless it had failed already) and the
    // thread ends as usual, so that Close returns.
    static constexpr DWORD kCancelWaitMs = 500;

    explicit CSerialPort(IPortOwner* owner);
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens COMn at the rate, 8 data bits, no parity, 1 stop bit. False when
    // the device cannot be opened, or when the thread of an earlier open does
    // not end within kThreadStopWaitMs (a later Close still waits for it); a
    // configuration step that fails is not reported (the radio then simply
    // does not answer). Starts no thread.
    bool Open(int portNumber, int baudRate);

    // Starts PortThread on an opened port and keeps its handle. False (and no
    // thread) when the port is not open or the thread cannot be created.
    bool StartThread();

    // The thread routine; its argument is the port. Ends with exit code 100
    // when shutdown is signalled.
    static DWORD WINAPI PortThread(LPVOID port);

    // Copies the block into the writes' buffer and asks the port thread to send it;
    // returns at once. A second Write before the thread has sent the first
    // replaces it. Blocks longer than 1024 bytes, and any block while no port
    // has ever been opened, are refused.
    void Write(const unsigned char* data, uint32_t length) override;
    bool WriteBlock(const unsigned char* data, uint32_t length);

    // Ends the thread and releases the port (at least 300 ms while a thread
    // runs, so the line settles). Returns only once the thread has ended:
    // shutdown is signalled again while it waits, and the thread cancels any
    // read or write it waits on (waiting at most kCancelWaitMs for the driver
    // to finish each). Does nothing when nothing is open.
    void Close();

    bool IsOpen() const;
    // The last Open set the line's rate and framing. A device that opens but
    // is no serial line (or no longer there) does not take them.
    bool IsLineConfigured() const { return lineConfigured; }
    // Why the last Open failed or left the line unconfigured: the system's
    // error code (0 when it did neither), and whether another copy of this
    // program holds the port.
    DWORD LastOpenError() const { return openError; }
    bool HeldByThisProgram() const { return heldByThisProgram; }
    // The port refused a read or a write since it opened (the system's error
    // in LineError): the device was removed or its driver gave up. A read
    // the purge before a send aborts, and the reads Close cancels, are no
    // such failure. Any thread.
    bool LineFailed() const { return lineError.load() != 0; }
    DWORD LineError() const { return lineError.load(); }
    int GetPortNumber() const { return portNumber; }

    // Where the port's traffic is logged; none by default. Set it while the
    // port is closed; the log must outlive the port's thread.
    void SetTrafficLog(TrafficLog* log) { trafficLog = log; }
    TrafficLog* GetTrafficLog() const { return trafficLog; }

    // How the port thread reads and gives a waiting request up: the read, the
    // cancel and the purge of the line. The system's by default; a test puts
    // a driver that never lets go in their place. Set them while closed.
    struct Driver {
        BOOL(WINAPI* readFile)(HANDLE, LPVOID, DWORD, LPDWORD, LPOVERLAPPED) = &::ReadFile;
        BOOL(WINAPI* cancelIo)(HANDLE) = &::CancelIo;
        BOOL(WINAPI* purgeComm)(HANDLE, DWORD) = &::PurgeComm;
    };
    void SetDriver(const Driver& calls) { driver = calls; }

private:
    // What the driver holds while a read or a write is outstanding.
    struct PortIo;

    void RunThread();
    // Waits, re-signalling shutdown, until the port thread has ended (at most
    // limitMs, INFINITE for no bound); false when it still runs.
    bool WaitForThreadEnd(DWORD limitMs);
    // Waits for an overlapped read or write of the port thread; shutdown
    // cancels it. False when it failed or was cancelled.
    bool AwaitIo(HANDLE h, std::unique_ptr<PortIo>& request, DWORD& count);
    // Cancels the request and waits, at most kCancelWaitMs, until the driver
    // is done with it; past that the request is left to the driver.
    void CancelAndWait(HANDLE h, std::unique_ptr<PortIo>& request, DWORD& count);
    // Prepares the record of a request for a new open, making it if needed.
    static void Renew(std::unique_ptr<PortIo>& request, DWORD bufferSize);
    // Starts the waiting one-byte read (delivering at once what it gets when
    // it completes at once); false when the port refuses it.
    bool StartRead();
    // Keeps the first error of a read or write on the open port.
    void NoteLineError(DWORD error);
    // The waiting read has completed: hand over its byte and drain the rest.
    bool FinishRead();
    // Gives the waiting read up and waits until the driver is done with it.
    void CancelRead();
    // Hands the first `got` bytes of the reads' buffer to the owner; false when Close
    // has begun (the rest is dropped, as Close's purge drops the queue).
    bool Deliver(DWORD got);
    // Reads what is queued, up to kReadChunk a read, until the queue is empty.
    void ReceivePass();
    void Send();
    void Purge();
    void ReleasePortHandle();
    // False when another copy of the program has the port open.
    bool ClaimPort(int number);

    int portNumber = 0;
    UniqueHandle threadHandle;
    mutable CriticalSection portLock;
    std::atomic<bool> threadRunning{false};
    UniqueHandle writeEvent;
    UniqueHandle shutdownEvent;
    HANDLE eventArray[3] = {};
    // The reads (their buffer is kReadChunk bytes, port thread only) and the
    // writes (their buffer is the block queued by Write), each with its own
    // record and event, so that a finished send is never taken for a
    // received byte. Records on the heap, since one the driver will not give
    // back is left to it when the port closes.
    std::unique_ptr<PortIo> reads;
    std::unique_ptr<PortIo> sends;
    bool readPending = false;  // a read is outstanding (port thread only)
    COMMTIMEOUTS timeouts{};
    DCB dcb{};
    DWORD eventMask = 0;
    bool lineConfigured = false;
    DWORD openError = 0;
    bool heldByThisProgram = false;
    // The first error of a read or write on the open port; 0 while none.
    std::atomic<DWORD> lineError{0};
    std::atomic<bool> requestLeftBehind{false};
    Driver driver;
    DWORD writeBufferSize = 0;
    DWORD writeLength = 1;
    UniqueFile portHandle;
    // This program's claim on the port while it is open, by name, so that a
    // second copy of the program is refused even where the system lets two
    // handles share a serial device.
    UniqueHandle portClaim;
    IPortOwner* const owner;
    TrafficLog* trafficLog = nullptr;
};
