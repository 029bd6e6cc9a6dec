#include "testkit/PrefixMark.h"

#include <windows.h>

#include <cstdlib>

#include "platform/Wide.h"
#include "testkit/SimProcess.h"

PrefixMark::PrefixMark(std::string name) {
    const char* folder = std::getenv("VELMORA_PREFIX_MARKS");
    if (folder == nullptr || *folder == '\0') return;
    const std::string path = std::string(folder) + "/" + name;
    if (SimProcess::WriteFile(path, name + "\n")) path_ = path;
}

PrefixMark::~PrefixMark() {
    if (!path_.empty()) ::DeleteFileW(Text::WidePath(SimProcess::WinePath(path_)).c_str());
}
