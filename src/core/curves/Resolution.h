#pragma once

#include <array>
#include <span>

#include "core/document/UserMessage.h"

namespace dyno {

struct EditorDocument;
struct GeneratorSettings;

// The RPM steps offered by the Generate and Change resolution dialogs.
inline constexpr std::array<int, 5> RpmStepEntries{100, 200, 250, 500, 1000};

// Takes the curve's step (from its first two rows) and last RPM into the
// generator settings and returns the entry of RpmStepEntries that shows the
// current step: the one equal to it, else the one last chosen.
int BeginChangeResolution(const EditorDocument& doc, GeneratorSettings& settings);

// The value at x on the polyline through (xs[i], values[i]): an x equal to a
// row's RPM takes that row's value, one between rows the straight-line value,
// one above the last row continues the last two rows' line, one below the
// first row takes the first value. Needs at least two rows.
double Interpolate(double x, std::span<const double> xs, std::span<const double> values);

// Rows the curve gets at a new RPM step: the multiples of the step up to the
// last RPM, with row 0 kept.
int ResampledRowCount(double topRpm, double newStep);

// Rebuilds the engine curve at newStep. Changes nothing, with a message,
// when the new grid would need more than 500 rows or have fewer than 10.
EditOutcome ChangeResolution(EditorDocument& doc, double newStep);

}  // namespace dyno
