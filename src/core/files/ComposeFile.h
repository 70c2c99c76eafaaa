#pragma once

#include <string>

namespace dyno {

struct EditorDocument;

// The text of a saved engine or upgrade file: the lines of EngineText as
// they are, except that the first line holding "RPMTorque=(" becomes all
// current rows and every later such line is dropped.
std::string ComposeEngineFile(EditorDocument& doc);

// The text of a saved tire file, composed into TireOtherText: the lines of
// TireText, each section read replaced by its slot's current curve and every
// other line kept where it stands. Curves beyond the sections read follow
// the last one. With no section read, everything from the first
// "[SLIPCURVE]" header to TireTailPos is replaced by the current curves
// (with no curves, TireText stays as it is).
void ComposeTireFile(EditorDocument& doc);

// Appends every slip curve in use to TireOtherText as a tire file holds it
// and moves TireTextPos on to TireTailPos.
void ComposeSlipCurves(EditorDocument& doc);

}  // namespace dyno
