#pragma once

#include <algorithm>
#include <cfloat>

namespace dyno {

// Fixed capacities of the editor, chosen once.
inline constexpr int MaxEngineRows = 500;       // rows of the engine curve
inline constexpr int SlipCurveSlots = 4;        // slip curves of a tire file
inline constexpr int MaxSlipSamples = 500;      // room per slip curve
inline constexpr int MaxFileSlipSamples = 261;  // samples a tire file may fill per curve
inline constexpr int DefaultSlipSamples = 237;  // samples of the built-in slip curves
inline constexpr int MaxSlipNameLength = 39;    // characters of a slip curve's name
inline constexpr int MaxPathLength = 259;       // characters of a file path or name
inline constexpr int LineBufferSize = 256;      // a text line piece holds at most 255 bytes
inline constexpr int MaxRecentFiles = 8;        // files listed under File > Recent Files

// Add a row only below this many rows; Remove keeps at least MinimumRows.
inline constexpr int AddRowLimit = 495;
inline constexpr int MinimumRows = 10;
// Add continues an engine curve's last RPM step, and only from this many
// rows on (a curve of fewer, pasted or opened, gets none).
inline constexpr int AddEngineRowFrom = 4;

// Largest magnitude of a number the editor writes into a file. Up to it
// every line it writes stays within one 255-byte line piece, so the file
// reads back as written; no real file holds larger values.
inline constexpr double MaxFileValue = 1e20;

// A value as the editor writes it into a file: larger ones become the limit.
inline double FileValue(double v) { return std::clamp(v, -MaxFileValue, MaxFileValue); }

// Power in HP from RPM and torque in N-m: Power = Rpm * Torque * PowerFactor.
inline constexpr long double PowerFactor = 0.00014043425079029374L;

// The power of a row, chained in extended precision and rounded once. A
// product beyond the range of a double (from absurd values in a file) stays
// at the largest double rather than becoming infinite.
inline double PowerOf(double rpm, double torque) {
  const long double power = static_cast<long double>(rpm) * torque * PowerFactor;
  return static_cast<double>(std::clamp(power, -static_cast<long double>(DBL_MAX), static_cast<long double>(DBL_MAX)));
}

}  // namespace dyno
