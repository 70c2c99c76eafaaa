#pragma once

#include <cstddef>
#include <string>

namespace dyno {

// Most decimals the editor ever writes.
inline constexpr int MaxDecimals = 17;

// value with a fixed number of decimals: the same text as "%.<decimals>f"
// gives in the "C" locale, whatever the process locale is (1000.5 is always
// written with a point).
std::string FixedText(double value, int decimals);
// The same, appended to out.
void AppendFixed(std::string& out, double value, int decimals);

// value in exponent form: the same text as "%.<precision>e" in the "C"
// locale, such as 5.631e-05.
// A value with the decimals it needs, at least one and at most six:
// "0.0225", "0.5", "1.0".
std::string TrimmedText(double value);

std::string ExponentText(double value, int precision);

// The same as FixedText and "%<width>d", into a caller's buffer of size bytes,
// cut to size - 1 characters and NUL-terminated; each gives the length
// written. For texts made many times in one paint, without touching the heap.
int FixedTo(char* buffer, std::size_t size, double value, int decimals);
int IntegerTo(char* buffer, std::size_t size, long long value, int width = 0);

}  // namespace dyno
