#pragma once
#include <string>
#include <vector>

#include "cli/CommandLine.h"

// The profile of --write with the values of --set in it: a line of the
// profile whose key has a --set value gets that value in its place; a key the
// profile lacks gets its line where the profile's own order puts it, before
// the first line of a later key. Order matters: a protocol line rebuilds the
// link rate list, so the link rate must come after it. Lines are the
// profile's own ("KEY,VALUE" and its line end, CR CR LF as the window writes).
std::string ApplySettings(const std::string& profile, const std::vector<ProfileSetting>& sets);
