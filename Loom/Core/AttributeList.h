#pragma once
#include <functional>
#include <string>

#include "Loom/Render/ValueReaders.h"

namespace Loom {

// Reads an attribute list: name="value" pairs separated by exactly one blank,
// the value running from the double quote right after "=" to the next double
// quote. Each pair is handed to apply as soon as it is read. Reading stops
// silently at the first deviation (no "=", no opening quote, no closing
// quote, anything but one blank after a value); the status then has ok false
// and pos at the offending character. Never reads past the terminating NUL.
TReadStatus ReadAttributeList(const char* list,
                              const std::function<void(const std::string& name, const std::string& value)>& apply);

}  // namespace Loom
