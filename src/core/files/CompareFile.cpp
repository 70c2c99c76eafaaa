#include "core/files/CompareFile.h"

#include "core/document/EditorSession.h"
#include "core/files/EngineFile.h"
#include "core/files/FileKind.h"
#include "core/files/FilePaths.h"
#include "core/files/TireFile.h"

namespace dyno {

std::optional<UserMessage> ReadFailureMessage(ReadResult result, std::string_view path, std::string_view nothingFound) {
  const std::string caption = "FILE NOT LOADED!";
  switch (result) {
    case ReadResult::Read:
      break;
    case ReadResult::NothingFound:
      return UserMessage{std::string(nothingFound), caption};
    case ReadResult::CannotOpen:
    case ReadResult::CannotRead:
      return UserMessage{"Unable to open file the selected file: " + std::string(path), caption};
  }
  return std::nullopt;
}

ComparisonRead ReadComparison(const std::string& path, const std::string& title) {
  if (KindOfFile(FileNameOfPath(path)) == FileKind::Tire) {
    return {nullptr, ReadFailureMessage(ReadResult::NothingFound, path, NoTorqueData)};
  }
  // A document of its own: the reader fills the whole of one.
  const auto scratch = std::make_unique<EditorDocument>();
  const ReadResult read = ReadEngineRows(*scratch, path).Result;
  if (read != ReadResult::Read) return {nullptr, ReadFailureMessage(read, path, NoTorqueData)};
  auto curve = std::make_shared<ComparedCurve>();
  curve->Curve = scratch->Engine;
  curve->Title = title;
  return {std::move(curve), std::nullopt};
}

SlipComparisonRead ReadSlipComparison(const std::string& path, const std::string& title) {
  if (KindOfFile(FileNameOfPath(path)) != FileKind::Tire) {
    return {nullptr, ReadFailureMessage(ReadResult::NothingFound, path, NoTireData)};
  }
  const auto scratch = std::make_unique<EditorDocument>();
  const ReadResult read = ReadTireFile(*scratch, path).Result;
  if (read != ReadResult::Read) return {nullptr, ReadFailureMessage(read, path, NoTireData)};
  auto curves = std::make_shared<ComparedSlipCurves>();
  curves->Curves = scratch->SlipCurves;
  curves->Count = scratch->SlipCurveCount;
  curves->Title = title;
  return {std::move(curves), std::nullopt};
}

}  // namespace dyno
