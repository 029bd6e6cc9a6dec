#include "app/ProgramVersion.h"

#include <cstdio>

#include "res/version.h"

std::string ShownVersion() {
    char text[32];
    std::snprintf(text, sizeof text, "V%03d.%02d.%02d", VELMORA_VERSION_MAJOR, VELMORA_VERSION_MINOR,
                  VELMORA_VERSION_PATCH);
    return text;
}

std::string MainWindowTitle(bool chinese) {
    return std::string(chinese ? "泰岚外置电台配置工具" : "Velmora Configuration Tool") + "-" + ShownVersion();
}
