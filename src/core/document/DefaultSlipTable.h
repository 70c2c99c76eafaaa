#pragma once

#include <array>

#include "core/document/Limits.h"

namespace dyno {

// The built-in slip curves, one per slot: a shared rise to 1.0 at sample 11,
// then a steady fall to each curve's own final value at sample 236.
extern const std::array<std::array<double, DefaultSlipSamples>, SlipCurveSlots> DefaultSlipTable;

}  // namespace dyno
