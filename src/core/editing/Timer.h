#pragma once

#include <array>

#include "core/document/Limits.h"

namespace dyno {

struct EditorDocument;
struct EditorState;

// Period of the window timer that drives the Up/Down auto-repeat and bending.
inline constexpr int TimerPeriodMs = 50;

// Value steps of the Up/Down buttons: engine values, and slip samples on the
// first step and on the repeated ones.
inline constexpr double EngineValueStep = 0.1;
inline constexpr double SlipFirstStep = 0.0001;
inline constexpr double SlipRepeatStep = 0.0005;
// How far one bend step moves the last sample of the curve.
inline constexpr double BendStep = 0.0005;

// How much each sample moves in a bend, relative to the last one: the first
// built-in slip curve less the fourth. Zero up to the peak at sample 11.
const std::array<double, DefaultSlipSamples>& BendWeights();

// One tick of the window timer (the window stops the timer before and arms
// it again after). While Up or Down is held it bends the current slip curve
// (bend mode) and steps the shown value: on the first tick that sees the
// press, then, after a pause of nine ticks, on every tick. A chart whose
// axis moved is repainted.
void OnTick(EditorState& st);

// A press of Up or Down is let go: when no tick has acted on it yet, it
// acts once now, so every press steps or bends at least once, however short.
void ActOnShortPress(EditorState& st);

// Bends the current slip curve so that its last charted sample reaches
// target: every sample moves by the same multiple of its bend weight.
// Returns whether anything was bent (the document is then modified).
bool Bend(EditorDocument& doc, double target);

// The bend command: in Tire mode bend mode goes on or off; going on, the
// picks, the selection and the value box are cleared.
void BendCommand(EditorState& st);

}  // namespace dyno
