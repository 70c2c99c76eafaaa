#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/document/UserMessage.h"

namespace dyno {

// A number a person typed into the value box or a dialog field, or nothing
// when the text is not one. The whole text must be the number (blanks
// around it aside): an optional sign, digits, an optional exponent, and a
// decimal point or a decimal comma. A mark that stands more than once, or
// the first of a point and a comma, groups the digits before the decimal
// mark in threes: "1,234.5", "1.234,5", "1.000.000". So a single comma is
// the decimal mark, as a German keyboard types it: "250,5" is 250.5. Text a
// file holds is read otherwise (DecimalToDouble), as files always were.
std::optional<double> ReadTypedNumber(std::string_view text);

// The message that refuses the text typed for field ("Fuel Consumption",
// "the value box"): it names both. An empty text says the field is empty.
UserMessage NotANumberMessage(std::string_view field, std::string_view text);

}  // namespace dyno
