#include "core/files/ReadResult.h"

#include <string>

namespace dyno {

namespace {

std::string Count(int n, const char* one, const char* many) { return std::to_string(n) + " " + (n == 1 ? one : many); }

}  // namespace

std::optional<UserMessage> LeftOutMessage(const ReadOutcome& read, std::string_view fileName) {
  const std::string file(fileName);
  if (read.RowsLeftOut > 0) {
    return UserMessage{file + ": " + Count(read.RowsLeftOut, "row", "rows") + " beyond the first " +
                           std::to_string(MaxEngineRows) + " were left out. Saving writes only the " +
                           std::to_string(MaxEngineRows) + " rows shown.",
                       "ROWS LEFT OUT!"};
  }
  std::string curves;
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    const int n = read.SamplesLeftOut[slot];
    if (n <= 0) continue;
    curves += (curves.empty() ? "" : ", ") + std::to_string(n) + " of curve " + std::to_string(slot + 1);
  }
  if (curves.empty()) return std::nullopt;
  return UserMessage{file + ": samples beyond the first " + std::to_string(MaxFileSlipSamples) +
                         " of a slip curve were left out (" + curves + "). Saving writes only the samples shown.",
                     "SAMPLES LEFT OUT!"};
}

}  // namespace dyno
