#include "core/editing/TypedNumber.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>

#include "core/document/Limits.h"

namespace dyno {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<double> ReadTypedNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  // The mantissa ends where an exponent starts.
  const std::size_t exponentAt = text.find_first_of("eE");
  const std::string_view mantissa = text.substr(0, exponentAt);
  const std::size_t points = std::count(mantissa.begin(), mantissa.end(), '.');
  const std::size_t commas = std::count(mantissa.begin(), mantissa.end(), ',');
  // The decimal mark: the later of a point and a comma when both stand, else
  // the one that stands once; a mark standing several times only groups.
  char decimal = '.';
  if (points > 0 && commas > 0) {
    decimal = mantissa.rfind('.') > mantissa.rfind(',') ? '.' : ',';
  } else if (commas == 1) {
    decimal = ',';
  } else if (points > 1) {
    decimal = ',';  // "1.000.000": points group, and no decimals follow
  } else if (commas > 1) {
    decimal = '.';
  }
  const char group = decimal == '.' ? ',' : '.';
  if ((decimal == '.' ? points : commas) > 1) return std::nullopt;

  std::string plain;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  int digits = 0;
  int groupDigits = 0;
  bool grouped = false;
  for (; i < mantissa.size() && mantissa[i] != decimal; ++i) {
    if (IsDigit(mantissa[i])) {
      plain += mantissa[i];
      ++digits;
      ++groupDigits;
    } else if (mantissa[i] == group) {
      if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3)) return std::nullopt;
      grouped = true;
      groupDigits = 0;
    } else {
      return std::nullopt;
    }
  }
  if (grouped && groupDigits != 3) return std::nullopt;
  if (i < mantissa.size()) {  // the decimal mark
    plain += '.';
    for (++i; i < mantissa.size(); ++i) {
      if (!IsDigit(mantissa[i])) return std::nullopt;
      plain += mantissa[i];
      ++digits;
    }
  }
  if (digits == 0) return std::nullopt;
  if (exponentAt != std::string_view::npos) {
    plain += 'e';
    i = exponentAt + 1;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    const std::size_t first = i;
    for (; i < text.size() && IsDigit(text[i]); ++i) plain += text[i];
    if (i == first || i != text.size()) return std::nullopt;
  }
  double value = 0.0;
  const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  // Beyond the range of a double, or of what a file can hold, is no value
  // for the editor either.
  if (error != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value) ||
      std::abs(value) > MaxFileValue) {
    return std::nullopt;
  }
  return value;
}

UserMessage NotANumberMessage(std::string_view field, std::string_view text) {
  std::string message = text.empty() ? std::string(field) + " is empty: type a number."
                                     : "\"" + std::string(text) + "\" typed for " + std::string(field) +
                                           " is not a number.";
  if (!message.empty()) message.front() = static_cast<char>(std::toupper(static_cast<unsigned char>(message.front())));
  return {std::move(message), "DATA ERROR!"};
}

}  // namespace dyno
