#include "core/app/DynoSheet.h"

#include <cmath>

#include "core/document/EditorDocument.h"
#include "core/document/EditorSession.h"
#include "core/document/Units.h"
#include "core/editing/DynoView.h"
#include "core/editing/ModeCommands.h"
#include "core/files/TypedNumber.h"

namespace dyno {

std::string PageHeaderText(const EditorDocument& doc, const DynoView& dyno, std::string_view date) {
  const DataFile& file = FileOf(doc, ShownData(doc));
  std::string out = file.Exists() ? file.Title : "Dynoforge";
  const auto add = [&out](std::string_view part) {
    if (part.empty()) return;
    out += " | ";
    out += part;
  };
  add(date);
  if (doc.Mode != FileMode::Tire) {
    add(std::string(UnitName(dyno.Units.Torque)) + ", " + std::string(UnitName(dyno.Units.Power)));
  }
  add(PeakReadout(doc, dyno));
  return out;
}

std::string PictureFileName(std::string_view fileTitle, PictureFormat format) {
  const std::string_view extension = format == PictureFormat::Svg ? ".svg" : ".png";
  if (fileTitle.empty()) return "chart" + std::string(extension);
  // A leading dot starts the name, not an extension.
  const std::size_t dot = fileTitle.rfind('.');
  return std::string(fileTitle.substr(0, dot == 0 || dot == std::string_view::npos ? fileTitle.size() : dot)) +
         std::string(extension);
}

PictureSide ReadPictureSide(std::string_view field, std::string_view text) {
  const std::optional<double> value = ReadTypedNumber(text);
  if (!value) return {std::nullopt, NotANumberMessage(field, text)};
  if (*value < MinPictureSide || *value > MaxPictureSide || *value != std::floor(*value)) {
    return {std::nullopt,
            {std::string(field) + " must be a whole number of pixels from " + std::to_string(MinPictureSide) +
                 " to " + std::to_string(MaxPictureSide) + ": \"" + std::string(text) + "\" is not.",
             "VALUE TOO LARGE OR TOO SMALL!"}};
  }
  return {static_cast<int>(*value), {}};
}

}  // namespace dyno
