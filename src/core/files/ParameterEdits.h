#pragma once

#include <string>
#include <string_view>

namespace dyno {

struct EditorDocument;
struct ParameterTexts;
struct SlipCurve;

// --- Engine parameters --------------------------------------------------------

// The texts of the Edit Engine Parameters dialog were confirmed: they become
// the parameter values, the engine text is composed anew from the rows and
// the parameters (so Save As writes it), and the document counts as changed.
void ApplyParameterTexts(EditorDocument& doc, const ParameterTexts& texts);

// --- Slip curve headers -------------------------------------------------------

inline constexpr int SlipNameBoxLength = 37;    // characters a name box accepts
inline constexpr int SlipNumberBoxLength = 10;  // characters a step or drop-off box accepts
inline constexpr int StoredSlipNameLength = 18; // characters of a name kept on OK

// What the header editor shows for one slip curve: the name as it is, the
// step with five decimals (0.00200) and the drop-off with one (3.0).
struct SlipHeaderTexts {
  std::string Name;
  std::string Step;
  std::string Dropoff;
};
SlipHeaderTexts ShowSlipHeader(const SlipCurve& curve);

// Stores confirmed header texts: the name's first 18 characters, and the
// numbers as ReadTypedNumber reads them, whole (the dialog refuses texts that
// are no number).
void StoreSlipHeader(SlipCurve& curve, std::string_view name, std::string_view step, std::string_view dropoff);

// Adds a curve behind the workingCount curves of the header editor, written
// into the document at once: "New Curve", a copy of the current curve (the
// one charted) with its step, drop-off and samples, as long as that curve.
// With no curve before it, the new curve starts as the built-in slip curve
// with step and drop-off 0 for the user to fill in. Returns the new working
// count; at four curves nothing is added.
int AddSlipCurve(EditorDocument& doc, int workingCount);

// The header editor was confirmed with curveCount curves: curves added since
// it opened become part of the file, with the samples Add gave them, and the
// document counts as changed.
void ApplySlipCurveCount(EditorDocument& doc, int curveCount);

}  // namespace dyno
