#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace dyno {

struct EditorDocument;

// Whether bytes composed for the document read back, as Open reads them, to
// what the document shows: the rows (and in Engine mode the parameters) of
// an engine or upgrade file, or the slip curves of a tire file, each number
// compared by its bits after the rounding its written text gives it. Nothing
// when they do; else the first difference, in words for the user (such as
// "row 12 would change" or "it would hold 0 of the 2 slip curves").
std::optional<std::string> EngineReadBackDifference(const EditorDocument& doc, std::string_view bytes);
std::optional<std::string> TireReadBackDifference(const EditorDocument& doc, std::string_view bytes);

}  // namespace dyno
