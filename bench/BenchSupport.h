#pragma once
#include <algorithm>
#include <string>
#include <vector>

// Milliseconds since an arbitrary start, from the performance counter.
double NowMs();

// The architecture this benchmark was built for, as its last line names it
// ("x86" or "x64"), so that figures are compared between like builds.
constexpr const char* kBenchArch = sizeof(void*) == 8 ? "x64" : "x86";

// Median and percentiles of a sample (sorted copy).
double Percentile(std::vector<double> values, double fraction);

// The bytes of the simulated radio's transcript lines after offset `from`:
// what the radio received ("> ") and sent ("< "), each line's escapes read
// back to bytes.
size_t WireBytes(const std::string& transcript, size_t from);
