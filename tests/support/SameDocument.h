#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

#include "core/document/EditorDocument.h"

namespace dyno::test {

// The fields in which two documents differ, named: every curve value (by
// its bits, so -0.0 is not 0.0), count, flag, slip curve header, parameter
// and kept text (byte for byte). Empty when they agree. Not compared: the
// file names, the generator settings and the line reader's positions.
inline std::vector<std::string> DocumentDifferences(const EditorDocument& a, const EditorDocument& b) {
  std::vector<std::string> differ;
  const auto check = [&](bool same, const std::string& name) {
    if (!same) differ.push_back(name);
  };
  const auto sameValues = [](const auto& x, const auto& y) {
    for (std::size_t i = 0; i < x.size(); ++i) {
      if (std::bit_cast<std::uint64_t>(x[i]) != std::bit_cast<std::uint64_t>(y[i])) return false;
    }
    return true;
  };
  check(sameValues(a.Engine.Rpm, b.Engine.Rpm), "Rpm");
  check(sameValues(a.Engine.Compression, b.Engine.Compression), "Compression");
  check(sameValues(a.Engine.Torque, b.Engine.Torque), "Torque");
  check(sameValues(a.Engine.Power, b.Engine.Power), "Power");
  check(a.Engine.EngineRowCount == b.Engine.EngineRowCount, "EngineRowCount");
  check(a.RowCount == b.RowCount, "RowCount");
  check(a.SlipCurveCount == b.SlipCurveCount, "SlipCurveCount");
  check(a.CurrentSlipCurve == b.CurrentSlipCurve, "CurrentSlipCurve");
  for (int k = 0; k < SlipCurveSlots; ++k) {
    const SlipCurve& x = a.SlipCurves[k];
    const SlipCurve& y = b.SlipCurves[k];
    const std::string slot = "slip curve " + std::to_string(k) + " ";
    check(x.Name == y.Name, slot + "Name");
    check(sameValues(std::array{x.Step, x.DropoffFunction}, std::array{y.Step, y.DropoffFunction}), slot + "header");
    check(sameValues(x.Samples, y.Samples), slot + "Samples");
    check(x.SampleCount == y.SampleCount, slot + "SampleCount");
  }
  check(a.EngineText == b.EngineText, "EngineText");
  check(a.TireText == b.TireText, "TireText");
  check(a.TireOtherText == b.TireOtherText, "TireOtherText");
  check(a.GeneratedText == b.GeneratedText, "GeneratedText");
  check(a.Mode == b.Mode, "mode");
  check(a.EngineLoaded == b.EngineLoaded, "EngineLoaded");
  check(a.TireLoaded == b.TireLoaded, "TireLoaded");
  check(a.UpgradeLoaded == b.UpgradeLoaded, "UpgradeLoaded");
  check(a.TireParsed == b.TireParsed, "TireParsed");
  for (int i = 0; i < EngineParameterCount; ++i) {
    const EngineParameter& x = a.Parameters.Items[i];
    const EngineParameter& y = b.Parameters.Items[i];
    check(sameValues(x.Values, y.Values) && x.Comment == y.Comment, std::string("parameter ") + x.Spec->Key);
  }
  return differ;
}

}  // namespace dyno::test
