#pragma once
#include <windows.h>

#include <string>

#include "platform/UniqueHandle.h"

// Makes a file under a name no file has yet: `start` (a folder and the
// beginning of a name, UTF-8) followed by this process's id, a count and
// ".tmp", opened for writing with `flags`. Made with CREATE_NEW, so no other
// program can take the name between choosing it and making the file. An
// invalid handle when it cannot be made (`path` is then empty).
UniqueFile CreateNewFile(const std::string& start, DWORD flags, std::string& path);
