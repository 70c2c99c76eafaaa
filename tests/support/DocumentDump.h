#pragma once

// Texts of what the document holds, for approval transcripts: every value
// exactly, so any change of a value shows.

#include <algorithm>
#include <string>

#include "core/document/EditorSession.h"
#include "support/Approval.h"

namespace dyno::test {

inline std::string DumpRows(const EditorDocument& doc) {
  const EngineCurve& e = doc.Engine;
  std::string out = "rows " + std::to_string(e.EngineRowCount) + "\n";
  for (int i = 0; i < std::clamp(e.EngineRowCount, 0, MaxEngineRows); ++i) {
    out += "  " + Exact(e.Rpm[i]) + " " + Exact(e.Compression[i]) + " " + Exact(e.Torque[i]) + " " +
           Exact(e.Power[i]) + "\n";
  }
  return out;
}

inline std::string DumpParameters(const EngineParameterSet& set) {
  std::string out = "parameters\n";
  for (const EngineParameter& p : set.Items) {
    out += "  " + std::string(p.Key());
    for (int v = 0; v < p.ValueCount(); ++v) out += " " + Exact(p.Values[v]);
    out += " |" + p.Comment + "\n";
  }
  return out;
}

inline std::string DumpSlipCurve(const SlipCurve& curve, int slot) {
  std::string out = "curve " + std::to_string(slot) + " \"" + curve.Name + "\" step " + Exact(curve.Step) +
                    " dropoff " + Exact(curve.DropoffFunction) + " samples " + std::to_string(curve.SampleCount) +
                    "\n ";
  for (int i = 0; i < std::clamp(curve.SampleCount, 0, MaxSlipSamples); ++i) out += " " + Exact(curve.Samples[i]);
  return out + "\n";
}

inline std::string DumpSlipCurves(const EditorDocument& doc) {
  std::string out = "curves " + std::to_string(doc.SlipCurveCount) + "\n";
  for (int slot = 0; slot < SlipCurveSlots; ++slot) out += DumpSlipCurve(doc.SlipCurves[slot], slot);
  return out;
}

// The flags of the document and the session's editing options; modified:
// whether the document has unsaved changes, which its history tells.
inline std::string DumpFlags(const EditorDocument& doc, const EditorSession& session, bool modified) {
  std::string out = "flags";
  const std::pair<const char*, bool> flags[] = {
      {"engine", doc.Mode == FileMode::Engine}, {"upgrade", doc.Mode == FileMode::Upgrade}, {"tire", doc.Mode == FileMode::Tire},
      {"engineLoaded", doc.EngineLoaded}, {"tireLoaded", doc.TireLoaded}, {"upgradeLoaded", doc.UpgradeLoaded},
      {"modified", modified},         {"bend", session.BendActive},   {"lock", session.LockOnToData}};
  for (const auto& [name, on] : flags) {
    if (on) out += std::string(" ") + name;
  }
  return out + " | rowCount " + std::to_string(doc.RowCount) + " current " + std::to_string(doc.CurrentSlipCurve) +
         "\n";
}

}  // namespace dyno::test
