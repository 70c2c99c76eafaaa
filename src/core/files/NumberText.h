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

// printf-style formatting in the "C" locale, whatever the process locale is,
// so 1000.5 is always written with a point.
std::string CFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// value with a fixed number of decimals, appended to out: the same text as
// "%.*f" gives in the "C" locale, without going through printf.
void AppendFixed(std::string& out, double value, int decimals);

// The same, appended to out.
void AppendCFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

// The same into a caller's buffer of size bytes (at least 1), cut to
// size - 1 characters and NUL-terminated; gives the length written. For texts
// made many times in one paint, without touching the heap.
int CFormatTo(char* buffer, std::size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));

}  // namespace dyno
