#pragma once

#include <cstddef>
#include <cstdint>
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

namespace number_detail {

inline constexpr double PowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of a digit; above 9 for any other byte.
inline unsigned DigitValue(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0'; }

// ReadDecimal of the number at p, after its blanks and sign, in the general way.
double GeneralDecimal(const char* p, const char* end, bool negative, const char*& stop);

}  // namespace number_detail

// ReadDecimal of bytes that do not begin with a blank, except that stop is
// left as it was when they do not begin with a number. Inline, for the
// loops that read rows and samples: the usual number then costs no call and
// no second look for blanks the loop has already skipped (left to itself,
// GCC kept it out of line).
[[gnu::always_inline]] inline double ReadUnblankedDecimal(const char* p, const char* const end, const char*& stop) {
  using namespace number_detail;
  if (p == end) return 0.0;
  const bool negative = *p == '-';
  if (negative || *p == '+') ++p;

  // The usual number of a file, at most 15 digits with an optional point and
  // no exponent, in one pass: its digits are an exact integer, so one
  // division by an exact power of ten rounds correctly (the general path
  // gives the same double). Dividing always, by 1 too, is cheaper than
  // dropping closing zeros first: that branch is mispredicted often enough
  // to cost more than the division.
  const char* q = p;
  std::uint64_t digits = 0;  // wraps beyond 19 digits; then unused
  for (unsigned digit = 0; q < end && (digit = DigitValue(*q)) <= 9; ++q) digits = digits * 10 + digit;
  const auto whole = q - p;
  // One decimal, as torque rows are written: no loop for the decimals,
  // whose end would be mispredicted now and then. At most 15 digits in all
  // keep the integer exact.
  if (end - q >= 3 && whole <= 14 && q[0] == '.' && DigitValue(q[1]) <= 9 && DigitValue(q[2]) > 9 &&
      (q[2] | 0x20) != 'e') {
    const double value = static_cast<double>(static_cast<std::int64_t>(digits * 10 + DigitValue(q[1]))) / 10.0;
    stop = q + 2;
    return negative ? -value : value;
  }
  std::ptrdiff_t decimals = 0;
  if (q < end && *q == '.') {
    const char* const point = q++;
    for (unsigned digit = 0; q < end && (digit = DigitValue(*q)) <= 9; ++q) digits = digits * 10 + digit;
    decimals = q - point - 1;
  }
  const auto count = whole + decimals;
  if (count > 0 && count <= 15 && (q == end || (*q | 0x20) != 'e')) {
    const auto exact = static_cast<double>(static_cast<std::int64_t>(digits));  // below 10^15
    const double value = exact / PowersOfTen[decimals];
    stop = q;
    return negative ? -value : value;
  }
  return GeneralDecimal(p, end, negative, stop);
}

// What a number in a person's or a spreadsheet's form holds.
enum class GroupedNumber { Number, Empty, NotANumber, OutOfRange };

// A number in the form people and spreadsheets write: the whole text an
// optional sign, digits, the decimal mark given (the other of '.' and ','
// may group the digits before it in threes: "12,475.5"), an optional
// exponent. Beyond the values a file holds (or the range of a double) it is
// out of range. Independent of the locale.
GroupedNumber ReadGroupedNumber(std::string_view text, char decimal, double& value);

}  // namespace dyno
