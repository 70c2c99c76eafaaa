#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace dyno {

// The decimal conversion used for files, dialogs and the value box: leading
// blanks skipped, an optional sign, digits with an optional point, an optional
// exponent; it stops at the first byte that cannot continue the number. Text
// that does not begin with a number gives 0, and so does a number too large
// for a double: the result is always finite. Independent of the locale.
double DecimalToDouble(std::string_view text);

// The blanks DecimalToDouble skips before a number: ' ' and TAB, LF, VT, FF, CR.
inline bool IsNumberBlank(char c) { return c == ' ' || static_cast<unsigned char>(c - '\t') <= '\r' - '\t'; }

// DecimalToDouble of the bytes from begin to end, which also sets stop to
// the byte after the number (to begin when they do not begin with one):
// for readers that go on from there.
double ReadDecimal(const char* begin, const char* end, const char*& stop);

// Most decimals the editor ever writes.
inline constexpr int MaxDecimals = 17;

// Decimals of the values the table and the value box show: engine values
// and slip samples.
inline constexpr int EngineDecimals = 1;
inline constexpr int SlipDecimals = 6;

// value with a fixed number of decimals: the same text as "%.<decimals>f"
// gives in the "C" locale, whatever the process locale is (1000.5 is always
// written with a point).
std::string FixedText(double value, int decimals);
// The same, appended to out.
void AppendFixed(std::string& out, double value, int decimals);

// value in exponent form: the same text as "%.<precision>e" in the "C"
// locale, such as 5.631e-05.
std::string ExponentText(double value, int precision);

// The same as FixedText and "%<width>d", into a caller's buffer of size bytes,
// cut to size - 1 characters and NUL-terminated; each gives the length
// written. For texts made many times in one paint, without touching the heap.
int FixedTo(char* buffer, std::size_t size, double value, int decimals);
int IntegerTo(char* buffer, std::size_t size, long long value, int width = 0);

}  // namespace dyno
