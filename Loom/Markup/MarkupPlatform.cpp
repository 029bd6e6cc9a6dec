#include "Loom/Markup/MarkupPlatform.h"

namespace Loom {

namespace {

std::string& ResourcePathStore() {
    static std::string path;
    return path;
}

}  // namespace

const std::string& ResourcePath() { return ResourcePathStore(); }

void SetResourcePath(const std::string& path) { ResourcePathStore() = path; }

}  // namespace Loom
