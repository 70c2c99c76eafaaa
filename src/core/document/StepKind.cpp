#include "core/document/StepKind.h"

namespace dyno {

namespace {

constexpr std::string_view StepNames[] = {
    "Drag",   "Typing", "Up/Down", "Bend", "Edit Cell", "Generate", "Rescale", "Change Resolution",
    "Add Line", "Remove Line", "Import", "Edit Parameters", "Edit Slip Curves", "Paste Table", "Import CSV",
    "Scale",    "Offset",      "Set",    "Straighten",      "Smooth",           "Normalise",
};

}  // namespace

std::string_view StepName(StepKind kind) { return StepNames[static_cast<int>(kind)]; }

}  // namespace dyno
