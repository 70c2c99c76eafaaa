#pragma once

#include <array>
#include <string>
#include <string_view>

namespace dyno {

struct EditorDocument;

inline constexpr int EngineParameterCount = 36;  // named parameters of an engine file
inline constexpr int ParameterValueCount = 58;   // their values, all together
inline constexpr int MaxParameterValues = 3;     // values of one parameter
inline constexpr int ParameterTextLength = 10;   // characters of a dialog value text

// What never changes about a parameter: its key, how many values it has,
// where it stands when the parameters are looked up, its defaults, and how
// the Edit Engine Parameters dialog shows each value.
struct EngineParameterSpec {
  const char* Key;
  int ValueCount;  // 1, 2 or 3
  int ReadOrder;   // 1 to 36: position in the order the keys are looked up
  std::array<double, MaxParameterValues> Defaults;
  std::array<int, MaxParameterValues> ControlIds;             // edit boxes, left to right; 0 unused
  std::array<const char*, MaxParameterValues> DialogFormats;  // printf formats; nullptr unused
  const char* DialogLabel;                                    // label of the dialog row
  const char* DefaultComment;                                 // with its leading "//"; may be empty
};

// The 36 parameters in the order they are written.
extern const std::array<EngineParameterSpec, EngineParameterCount> EngineParameterSpecs;

// One named parameter with its current values and comment.
struct EngineParameter {
  const EngineParameterSpec* Spec = nullptr;
  std::array<double, MaxParameterValues> Values{};
  std::string Comment;  // written after the values, "//" included; may be empty

  std::string_view Key() const { return Spec->Key; }
  int ValueCount() const { return Spec->ValueCount; }
};

// The named parameters of an engine file, in the order they are written. It
// lives for the whole run: reading a file changes only what that file has.
struct EngineParameterSet {
  EngineParameterSet();  // every parameter at its defaults

  std::array<EngineParameter, EngineParameterCount> Items;

  // The parameter with that key, or nullptr.
  EngineParameter* Find(std::string_view key);
  const EngineParameter* Find(std::string_view key) const;
};

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

// The values of the set as the Edit Engine Parameters dialog shows them, one
// text of at most 10 characters per value, in the order of the set.
struct ParameterTexts {
  std::array<std::string, ParameterValueCount> Texts;

  // The text shown in the edit box with that control id, or nullptr.
  std::string* ForControl(int controlId);
};

// A value put into its edit box with the box's format. A text longer than
// 10 characters is shown in exponent form instead, as precisely as fits.
std::string FormatDialogValue(double value, const char* format);

// Fills texts from the values of the set.
void LoadParameterTexts(const EngineParameterSet& set, ParameterTexts& texts);

// Converts every text back into its value; comments are left alone. Text that
// is not a number gives 0.
void StoreParameterTexts(const ParameterTexts& texts, EngineParameterSet& set);

}  // namespace dyno
