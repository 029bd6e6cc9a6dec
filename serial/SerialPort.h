#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

#include "serial/PortOwner.h"
#include "serial/UniqueHandle.h"

// One COM port for the time of one user action. Open configures it; the port
// thread (PortThread) then does all I/O on the handle: it waits for received
// characters, write requests and the shutdown request, hands each received
// byte to the owner, and sends the block queued by Write. Close ends it all.
//
// Threads: Open, Write and Close are called by the action's thread (the window
// thread or the firmware worker), never two actions at once. OnPortByte runs
// on the port thread, outside portLock.
class CSerialPort : public IPortWriter {
public:
    static constexpr uint32_t kWriteBufferSize = 1024;

    explicit CSerialPort(IPortOwner* owner);
    virtual ~CSerialPort();
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;

    // Opens COMn at the rate, 8 data bits, no parity, 1 stop bit. False only
    // when the device cannot be opened; a configuration step that fails is
    // not reported (the radio then simply does not answer). Starts no thread.
    bool Open(int portNumber, int baudRate);

    // Starts PortThread on an opened port and keeps its handle. False (and no
    // thread) when the port is not open or the thread cannot be created.
    bool StartThread();

    // The thread routine; its argument is the port. Ends with exit code 100
    // when shutdown is signalled.
    static DWORD WINAPI PortThread(LPVOID port);

    // Copies the block into writeBuffer and asks the port thread to send it;
    // returns at once. A second Write before the thread has sent the first
    // replaces it. Blocks longer than 1024 bytes, and any block while no port
    // has ever been opened, are refused.
    void Write(const unsigned char* data, uint32_t length) override;
    bool WriteBlock(const unsigned char* data, uint32_t length);

    // Ends the thread and releases the port (at least 300 ms while a thread
    // runs, so the line settles). Does nothing when nothing is open.
    void Close();

    bool IsOpen() const;
    int GetPortNumber() const { return portNumber; }

private:
    void RunThread();
    void ReceivePass();
    void Send();
    void Purge();
    void ReleasePortHandle();

    int portNumber = 0;
    UniqueHandle threadHandle;
    mutable CriticalSection portLock;
    std::atomic<bool> threadRunning{false};
    UniqueHandle writeEvent;
    UniqueHandle shutdownEvent;
    UniqueHandle commEvent;
    UniqueHandle sendDoneEvent;  // the writes' own completion event
    HANDLE eventArray[3] = {};
    OVERLAPPED overlapped{};      // comm-event wait and byte reads
    OVERLAPPED sendOverlapped{};  // writes, so a finished send is never taken for a received byte
    bool waitPending = false;     // a comm-event wait is outstanding (port thread only)
    DWORD commEventMask = 0;      // filled in when that wait completes
    COMMTIMEOUTS timeouts{};
    DCB dcb{};
    std::unique_ptr<unsigned char[]> writeBuffer;
    DWORD eventMask = 0;
    DWORD writeBufferSize = 0;
    DWORD writeLength = 1;
    UniqueFile portHandle;
    IPortOwner* const owner;
};
