#pragma once

namespace dyno {

struct EditorDocument;
struct GeneratorSettings;

// Replaces the engine curve by a synthetic engine built from the generator
// settings: rows from 0 RPM up to TopRpm every RpmStep (at most 500), a
// torque curve that peaks near PeakTorqueRpm, compression derived from RPM
// and torque, all scaled so that the highest power is exactly TargetPower.
// Leaves EngineLoaded and the texts alone. The same settings always give
// the same rows. Returns the number of rows.
int GenerateEngineCurve(EditorDocument& doc, const GeneratorSettings& settings);

// The Generate command in the engine modes: a generated curve that replaces
// the engine text, so Save As writes a complete new engine file.
void GenerateNewEngine(EditorDocument& doc, const GeneratorSettings& settings);

}  // namespace dyno
