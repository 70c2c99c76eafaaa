#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace dyno {

struct EditorDocument;

// What bytes composed for the document would show when opened again, against
// what the document shows, each number compared by its bits after the
// rounding its written text gives it.
struct ReadBackReport {
  // Values that would read back otherwise, each in words with both values
  // ("row 12: torque 150.0 would read back as 155.0"), in file order.
  std::vector<std::string> Changes;
  // Data the bytes would not hold at all (rows or samples fewer, a slip
  // curve missing), in words; such bytes are never written.
  std::optional<std::string> Loss;

  bool Same() const { return Changes.empty() && !Loss; }
};

// The whole report for the rows (and in Engine mode the parameters) of an
// engine or upgrade file, or the slip curves of a tire file.
ReadBackReport EngineReadBack(const EditorDocument& doc, std::string_view bytes);
ReadBackReport TireReadBack(const EditorDocument& doc, std::string_view bytes);

// Nothing when bytes composed for the document read back, as Open reads
// them, to what the document shows; else the loss or the first change of the
// report above, in words for the user.
std::optional<std::string> EngineReadBackDifference(const EditorDocument& doc, std::string_view bytes);
std::optional<std::string> TireReadBackDifference(const EditorDocument& doc, std::string_view bytes);

}  // namespace dyno
