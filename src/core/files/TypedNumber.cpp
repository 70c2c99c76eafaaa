#include "core/files/TypedNumber.h"

#include <algorithm>
#include <cctype>

#include "core/files/NumberText.h"

namespace dyno {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::optional<double> ReadTypedNumber(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

  // The decimal mark, from the mantissa (before an exponent): the later of a
  // point and a comma when both stand, else the one that stands once; a mark
  // that stands several times only groups.
  const std::string_view mantissa = text.substr(0, text.find_first_of("eE"));
  const auto points = std::count(mantissa.begin(), mantissa.end(), '.');
  const auto commas = std::count(mantissa.begin(), mantissa.end(), ',');
  char decimal = '.';
  if (points > 0 && commas > 0) {
    decimal = mantissa.rfind('.') > mantissa.rfind(',') ? '.' : ',';
  } else if (commas == 1 || points > 1) {
    decimal = ',';
  }
  double value = 0.0;
  if (ReadGroupedNumber(text, decimal, value) != GroupedNumber::Number) return std::nullopt;
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
