#pragma once

namespace dyno {

struct EditorDocument;
struct GeneratorSettings;

// The numbers the Rescale dialog works with.
struct RescaleValues {
  int RowCount = 0;              // rows to scale: the curve as the command started
  double CurrentHp = 0.0;        // peak power, then the new HP entered
  double CompressionMax = 0.0;   // the most negative compression, or 0
  double NewCompression = 0.0;   // the compression maximum entered
};

// Measures the curve for the dialog: peak power and strongest compression
// over its rows. The peak also becomes the generator's TargetPower, the
// divisor of the torque factor.
RescaleValues BeginRescale(const EditorDocument& doc, GeneratorSettings& settings);

// Multiplies torque by CurrentHp / TargetPower and compression by
// NewCompression / CompressionMax over the measured rows, power following
// torque. A column whose divisor is 0 is left as it is.
void ApplyRescale(EditorDocument& doc, const GeneratorSettings& settings, const RescaleValues& values);

}  // namespace dyno
