#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/document/Units.h"

namespace dyno {

// An engine curve shown beside the document's own and never written: read
// from another file, or the document's curve as last opened or saved.
struct ComparedCurve {
  EngineCurve Curve;
  std::string Title;  // shown after the chart's title
};

// A tire file's slip curves shown beside the document's in Tire mode: read
// from another tire file, or the document's as last opened or saved. The
// chart draws the slot it charts of the document.
struct ComparedSlipCurves {
  std::array<SlipCurve, SlipCurveSlots> Curves;
  int Count = 0;  // slots that hold a curve
  std::string Title;
};

// How the chart reads: the units shown, the peak marks, the slip axis, the
// slip curves drawn and the compared curves, the engine's and the tire's
// apart, so that each comes back with its mode. None of it is the file's
// data: undo and redo leave it alone.
struct DynoView {
  DisplayUnits Units;
  bool ShowPeaks = false;
  bool SlipAxis = false;       // Tire mode's x axis in slip, not sample numbers
  bool AllSlipCurves = false;  // Tire mode draws every slip curve, the charted one in front
  std::shared_ptr<const ComparedCurve> Comparison;  // drawn while set
  std::shared_ptr<const ComparedCurve> Saved;       // the curve as last opened or saved
  std::shared_ptr<const ComparedSlipCurves> TireComparison;
  std::shared_ptr<const ComparedSlipCurves> TireSaved;
};

// Whether the curve's Step can place its samples on a slip axis: finite and
// above 0.
bool HasSlipStep(const SlipCurve& curve);

// The compared slip curve of the slot the chart shows, if the comparison
// has one with samples; none outside Tire mode.
const SlipCurve* ComparedSlipCurve(const EditorDocument& doc, const DynoView& dyno);

// Whether the mode shown has a compared curve drawn, or a saved one to
// compare with: the engine modes and Tire mode each have their own.
bool HasComparison(const EditorDocument& doc, const DynoView& dyno);
bool HasSavedComparison(const EditorDocument& doc, const DynoView& dyno);

// Settings of the engine-curve generator, kept for the whole run.
struct GeneratorSettings {
  double TargetPower = 450.0;
  double TopRpm = 10000.0;
  double RpmStep = 250.0;
  double PeakTorqueRpm = 7000.0;
  int MaxRpmChoice = 8;
  int RpmStepChoice = 2;
  int PeakTorqueChoice = 16;
};

// What the editor keeps for the whole run beside the file's data: the
// folders and files it remembers, the generator's settings, how the chart
// reads and what it is compared with, and the editing options. None of it is
// written to a physics file, and undo and redo leave it alone.
struct EditorSession {
  // Folders (each at most MaxPathLength characters).
  std::string FileFolder;    // of the file last chosen; where the next Open starts
  std::string WorkFolder;    // the folder remembered in the settings file
  std::string ImportFolder;  // where the next Import starts; empty before the first
  // The files last opened or saved, newest first, at most MaxRecentFiles;
  // kept in the settings file like WorkFolder.
  std::vector<std::string> RecentFiles;

  GeneratorSettings Generator;
  DynoView Dyno;

  bool BendActive = false;    // bend mode is on
  bool LockOnToData = true;   // a dragged point follows the pointer anywhere
};

}  // namespace dyno
