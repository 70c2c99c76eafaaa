#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/document/UserMessage.h"
#include "core/files/ReadResult.h"

namespace dyno {

struct ComparedCurve;
struct ComparedSlipCurves;

// What Open tells of an engine file it could not read: "No torque data found
// in this file!" (nothingFound for the other readers) or that the file at
// path could not be opened, both captioned "FILE NOT LOADED!". Nothing when
// the file was read.
std::optional<UserMessage> ReadFailureMessage(ReadResult result, std::string_view path, std::string_view nothingFound);

inline constexpr std::string_view NoTorqueData = "No torque data found in this file!";
inline constexpr std::string_view NoTireData = "No tire data found in this file!";

struct ComparisonRead {
  std::shared_ptr<const ComparedCurve> Curve;  // set when the file was read
  std::optional<UserMessage> Message;          // what Open would say instead
};

// Reads the torque rows of the engine or upgrade file at path, as Open
// reads them, into a curve of its own named title; the document is not
// touched and the file is never written. What Open refuses is refused with
// its messages; a tire file holds no torque data.
ComparisonRead ReadComparison(const std::string& path, const std::string& title);

struct SlipComparisonRead {
  std::shared_ptr<const ComparedSlipCurves> Curves;  // set when the file was read
  std::optional<UserMessage> Message;                // what Open would say instead
};

// Reads the slip curves of the tire file at path, as Open reads them, named
// title; the document is not touched and the file is never written. What
// Open refuses is refused with its messages; an engine or upgrade file holds
// no tire data.
SlipComparisonRead ReadSlipComparison(const std::string& path, const std::string& title);

}  // namespace dyno
