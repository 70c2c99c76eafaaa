#pragma once

#include <array>
#include <string>

#include "core/document/EngineParameterSet.h"

namespace dyno {

inline constexpr int ParameterValueCount = 58;  // values of all 36 parameters together
inline constexpr int ParameterTextLength = 10;  // characters of a dialog value text

// How a value is shown for editing: fixed decimals ("%.4f") or exponent form
// ("%.3e") with that many digits after the point.
struct NumberFormat {
  bool Exponent = false;
  int Precision = 0;
};

// The format of value `position` (0, 1 or 2) of the parameter at `index` in
// EngineParameterSpecs.
NumberFormat ParameterTextFormat(int index, int position);

// The position in ParameterTexts::Texts of value `position` of the parameter
// at `index` in EngineParameterSpecs: the values of all parameters, one
// after another in written order.
int ParameterTextIndex(int index, int position);

// The values of the set as the Edit Engine Parameters dialog shows them, one
// text of at most 10 characters per value, in the order of the set.
struct ParameterTexts {
  std::array<std::string, ParameterValueCount> Texts;
};

// A value in the given format. A text longer than 10 characters is shown in
// exponent form instead, as precisely as fits.
std::string FormatDialogValue(double value, NumberFormat format);

// Fills texts from the values of the set.
void LoadParameterTexts(const EngineParameterSet& set, ParameterTexts& texts);

// Converts every text back into its value, read as ReadTypedNumber reads a
// typed number; comments are left alone. Text that is no number (the dialog
// refuses it) gives what a file's reader makes of it.
void StoreParameterTexts(const ParameterTexts& texts, EngineParameterSet& set);

}  // namespace dyno
