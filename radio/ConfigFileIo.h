#pragma once
#include <windows.h>

#include <string>

#include "platform/UniqueHandle.h"

// The file system steps of saving and loading a profile, each reporting
// whether it worked. The base class makes the real Win32 calls; a test
// derives from it to make one step fail (the third write on a full disk, a
// close that reports an error) and check that an existing profile survives.
// Thread: the window thread.
class ConfigFileIo {
public:
    virtual ~ConfigFileIo() = default;

    // Writes all `size` bytes; a short write is a failure.
    virtual bool Write(HANDLE file, const char* data, DWORD size);
    // Forces the written data to the disk, so that an error shows here and
    // not after the profile has been replaced.
    virtual bool Flush(HANDLE file);
    // Closes the file; false when the close reports an error. The handle is
    // gone either way.
    virtual bool Close(UniqueFile& file);
    // Puts the file `from` in place of `to` in one step, replacing an existing
    // `to` unless it is read-only, written through to the disk before it
    // returns.
    virtual bool Replace(const std::string& from, const std::string& to);
    // Reads up to `size` bytes into `buffer`; `got` is 0 at the end of the file.
    virtual bool Read(HANDLE file, char* buffer, DWORD size, DWORD& got);
};
