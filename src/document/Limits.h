#pragma once

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

// Power in HP from RPM and torque in N-m: Power = Rpm * Torque * PowerFactor.
inline constexpr long double PowerFactor = 0.00014043425079029374L;

// The power of a row, chained in extended precision and rounded once.
inline double PowerOf(double rpm, double torque) {
  return static_cast<double>(static_cast<long double>(rpm) * torque * PowerFactor);
}

}  // namespace dyno
