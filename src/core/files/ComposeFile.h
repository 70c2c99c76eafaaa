#pragma once

#include <string>

namespace dyno {

struct EditorDocument;

// The text of a saved engine or upgrade file: the lines of EngineText as
// they are, except that the first line holding "RPMTorque=(" becomes all
// current rows and every later such line is dropped.
std::string ComposeEngineFile(EditorDocument& doc);

// The text of a saved tire file, composed into TireOtherText: the lines of
// TireText, with everything from the first "[SLIPCURVE]" header to
// TireTailPos replaced by the current slip curves (when there are none,
// TireText as it is).
void ComposeTireFile(EditorDocument& doc);

// Appends every slip curve in use to TireOtherText as a tire file holds it
// and moves TireTextPos on to TireTailPos.
void ComposeSlipCurves(EditorDocument& doc);

}  // namespace dyno
