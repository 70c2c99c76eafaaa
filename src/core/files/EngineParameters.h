#pragma once

#include <string>
#include <string_view>

namespace dyno {

struct EditorDocument;
struct EngineParameter;

// Reads the parameter's key from engineText (up to its first NUL): the first
// occurrence anywhere, whatever line it is on. Sets the values from the text
// after the first "=" that follows it on its line (at most 255 bytes from the
// key), and the comment from the first "//" of that line when there is one.
// Returns false, changing nothing, when the key does not occur.
bool ReadParameter(std::string_view engineText, EngineParameter& parameter);

// Reads every parameter, in lookup order, from doc.EngineText into
// doc.Parameters. Returns false, reading nothing, when no engine is loaded; a
// missing key is no failure.
bool ReadEngineParameters(EditorDocument& doc);

// The text of one value as an engine file holds it, by its position in the
// parameter (0, 1 or 2) and its magnitude.
std::string FormatParameterValue(double value, int position);

// The parameter's line: key, "=", the value or "(" values ")", three blanks,
// the comment, CR LF.
std::string FormatParameterLine(const EngineParameter& parameter);

// Composes a complete engine file from the rows and the parameters into
// doc.GeneratedText and returns its length.
int ComposeEngineText(EditorDocument& doc);

// ComposeEngineText, then EngineText becomes a copy of the composed text, so
// that Save As writes it. Returns its length.
int ComposeAndKeepEngineText(EditorDocument& doc);

}  // namespace dyno
