#include "core/files/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <charconv>

#include "core/document/Limits.h"

namespace dyno {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

// Kept out of line: the usual number then costs no saving of the registers
// this needs.
double number_detail::GeneralDecimal(const char* p, const char* const end, bool negative, const char*& stop) {
  // Mantissa: digits, optionally a point and more digits; at least one
  // digit. Up to 15 significant digits are gathered as an exact integer.
  const char* const start = p;
  std::uint64_t mantissa = 0;
  int significant = 0;  // digits from the first non-zero one on
  int scale = 0;        // the power of ten of the last digit gathered
  bool anyDigit = false;
  for (; p < end && IsDigit(*p); ++p) {
    anyDigit = true;
    if (significant == 0 && *p == '0') continue;
    if (++significant <= 15) mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
  }
  if (p < end && *p == '.') {
    for (++p; p < end && IsDigit(*p); ++p) {
      anyDigit = true;
      if (significant == 0 && *p == '0') {
        --scale;
        continue;
      }
      if (++significant <= 15) {
        mantissa = mantissa * 10 + static_cast<std::uint64_t>(*p - '0');
        --scale;
      }
    }
  }
  if (!anyDigit) return 0.0;
  stop = p;

  // Exponent, taken only when at least one digit follows the 'e'.
  if (p < end && (*p == 'e' || *p == 'E')) {
    const char* q = p + 1;
    const bool negativeExponent = q < end && *q == '-';
    if (q < end && (*q == '+' || *q == '-')) ++q;
    if (q < end && IsDigit(*q)) {
      int exponent = 0;
      for (; q < end && IsDigit(*q); ++q) exponent = std::min(exponent * 10 + (*q - '0'), 100000);
      scale += negativeExponent ? -exponent : exponent;
      p = q;
      stop = p;
    }
  }

  // With at most 15 significant digits and a power of ten up to 22 both
  // factors are exact doubles, so one multiplication or division rounds
  // correctly; anything else takes the general conversion.
  double value = 0.0;
  if (significant <= 15 && scale >= -22 && scale <= 22) {
    const double exact = static_cast<double>(mantissa);
    value = scale < 0 ? exact / PowersOfTen[-scale] : exact * PowersOfTen[scale];
  } else if (significant > 0) {
    if (std::from_chars(start, p, value, std::chars_format::general).ec != std::errc() || !std::isfinite(value)) return 0.0;
  }
  return negative ? -value : value;
}

double DecimalToDouble(std::string_view text) {
  const char* stop = nullptr;
  return ReadDecimal(text.data(), text.data() + text.size(), stop);
}

double ReadDecimal(const char* const begin, const char* const end, const char*& stop) {
  stop = begin;
  const char* p = begin;
  while (p < end && IsNumberBlank(*p)) ++p;
  return ReadUnblankedDecimal(p, end, stop);
}

GroupedNumber ReadGroupedNumber(std::string_view cell, char decimal, double& value) {
  if (cell.empty()) return GroupedNumber::Empty;
  const char group = decimal == '.' ? ',' : '.';
  char text[96];
  std::size_t n = 0;
  std::size_t i = 0;
  const auto take = [&](char c) {
    if (n >= sizeof text) return false;
    text[n++] = c;
    return true;
  };
  if (cell[i] == '+' || cell[i] == '-') {
    if (cell[i] == '-') take('-');
    ++i;
  }
  int digits = 0;       // of the whole mantissa
  int groupDigits = 0;  // since the last group mark
  bool grouped = false;
  for (; i < cell.size(); ++i) {
    if (IsDigit(cell[i])) {
      if (!take(cell[i])) return GroupedNumber::NotANumber;
      ++digits;
      ++groupDigits;
    } else if (cell[i] == group) {
      if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return GroupedNumber::NotANumber;
      grouped = true;
      groupDigits = 0;
    } else {
      break;
    }
  }
  if (grouped && groupDigits != 3) return GroupedNumber::NotANumber;
  if (i < cell.size() && cell[i] == decimal) {
    take('.');
    for (++i; i < cell.size() && IsDigit(cell[i]); ++i) {
      if (!take(cell[i])) return GroupedNumber::NotANumber;
      ++digits;
    }
  }
  if (digits == 0) return GroupedNumber::NotANumber;
  if (i < cell.size() && (cell[i] == 'e' || cell[i] == 'E')) {
    take('e');
    ++i;
    if (i < cell.size() && (cell[i] == '+' || cell[i] == '-')) take(cell[i++]);
    const std::size_t exponent = i;
    for (; i < cell.size() && IsDigit(cell[i]); ++i) {
      if (!take(cell[i])) return GroupedNumber::NotANumber;
    }
    if (i == exponent) return GroupedNumber::NotANumber;
  }
  if (i != cell.size()) return GroupedNumber::NotANumber;
  const auto [end, error] = std::from_chars(text, text + n, value);
  if (error == std::errc::result_out_of_range) return GroupedNumber::OutOfRange;
  if (error != std::errc() || end != text + n) return GroupedNumber::NotANumber;
  return std::abs(value) > MaxFileValue ? GroupedNumber::OutOfRange : GroupedNumber::Number;
}

}  // namespace dyno
