#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/document/EngineParameterSet.h"
#include "core/document/Limits.h"
#include "core/document/Units.h"
#include "core/platform/FileStamp.h"

namespace dyno {

// One row of the engine curve.
struct TorqueRow {
  double Rpm = 0.0;
  double Compression = 0.0;
  double Torque = 0.0;
  double Power = 0.0;
};

// The engine curve: four parallel columns with room for 500 rows.
struct EngineCurve {
  std::array<double, MaxEngineRows> Rpm{};
  std::array<double, MaxEngineRows> Compression{};
  std::array<double, MaxEngineRows> Torque{};
  std::array<double, MaxEngineRows> Power{};  // derived: PowerOf(Rpm, Torque)
  int EngineRowCount = 0;

  TorqueRow Row(int i) const { return {Rpm[i], Compression[i], Torque[i], Power[i]}; }
};

// One slip curve slot of a tire file.
struct SlipCurve {
  std::string Name;  // at most MaxSlipNameLength characters
  double Step = 0.0;
  double DropoffFunction = 0.0;
  std::array<double, MaxSlipSamples> Samples{};
  int SampleCount = 0;
};

// What the window shows and how the engine rows are saved: an engine file,
// an upgrade file (rows written with "HDV="), or a tire file's slip curves.
enum class FileMode { Engine, Upgrade, Tire };

// The file a kind of data came from and is saved to; no Path while no file
// holds it (the start-up curve, slip curves never read from a file).
struct DataFile {
  std::string Path;    // full path, at most MaxPathLength characters
  std::string Title;   // its name without the folder; shown in the caption
  std::string Folder;  // its folder
  // What the file held when last read or saved: saving over it once another
  // program has changed it asks first.
  FileStamp Stamp{};

  bool Exists() const { return !Path.empty(); }
};

// The texts the document keeps for rewriting, by kind.
enum class KeptText { Engine, Tire, TireOther, Generated };
inline constexpr int KeptTextKinds = 4;

// Kept texts given up while the undo history records a step: parked here
// instead of freed, so the step can keep the old text without copying it.
struct ParkedTexts {
  bool Parking = false;  // a step is recording
  std::array<std::optional<std::string>, KeptTextKinds> Texts;  // the first old text of each kind
};

// The data of the files being edited: curves, the texts kept for rewriting,
// the files they came from, the file mode and its flags. There is exactly
// one per window. Whether it has unsaved changes is its undo history's to
// tell; what the editor keeps beside it is the EditorSession.
struct EditorDocument {
  EditorDocument();

  EngineCurve Engine;
  std::array<SlipCurve, SlipCurveSlots> SlipCurves;
  int SlipCurveCount = SlipCurveSlots;
  int CurrentSlipCurve = 0;

  // Points the table, chart, picking and Add/Remove act on: EngineRowCount
  // in the engine modes, the slip sample count in Tire mode.
  int RowCount = 0;

  // Texts kept for rewriting. Each std::string keeps a NUL after its bytes,
  // which the parameter search stops at. A text that an undoable action
  // replaces goes through ReplaceText; reading and saving a tire file, which
  // start a history or are none of it, rebuild TireOtherText in place.
  std::string EngineText;
  int EngineTextPos = 0;
  std::string TireText;
  int TireTextPos = 0;
  int TireTailPos = 0;
  std::string TireOtherText;  // the tire file's lines outside the slip curves
  // Where in TireText the sections read stand, from header to the end of
  // their data, in file order: saving puts the curves in their places.
  struct TextSpan {
    int Begin = 0;
    int End = 0;
  };
  std::array<TextSpan, SlipCurveSlots> TireSections{};
  int TireSectionCount = 0;
  std::string GeneratedText;  // the engine text last composed

  int EngineTextSize() const { return static_cast<int>(EngineText.size()); }
  int TireTextSize() const { return static_cast<int>(TireText.size()); }

  // The files the data came from, which Save writes and the caption names:
  // the engine file (engine or upgrade rows, their text and parameters) and
  // the tire file (the slip curves and the tire file's text). Each is opened
  // and saved on its own.
  DataFile EngineFile;
  DataFile TireFile;

  // The file mode: what is shown, and how the engine rows are saved.
  FileMode Mode = FileMode::Engine;

  bool EngineLoaded = false;   // the engine curve came from a file or Generate
  bool TireLoaded = false;     // a tire file has been read
  bool UpgradeLoaded = false;  // the file came as an upgrade file
  bool TireParsed = false;     // decides how ResetSlipCurves refills slot 0

  // The named engine parameters; they keep their values from file to file.
  EngineParameterSet Parameters;

  // The texts replaced during the step the undo history records.
  ParkedTexts Parked;
};

// The kept text of that kind.
std::string& KeptTextOf(EditorDocument& doc, KeptText kind);
const std::string& KeptTextOf(const EditorDocument& doc, KeptText kind);

// Puts text in the place of the kept text of that kind. The old text is
// never copied: while the undo history records a step, the first one each
// kind gives up is parked for the step; otherwise it is freed.
void ReplaceText(EditorDocument& doc, KeptText kind, std::string text);

// Sets all 500 rows of the four engine columns to 0 and RowCount to 0.
void ClearEngineCurve(EditorDocument& doc);

// Power of row i from its RPM and torque.
void RecomputePower(EditorDocument& doc, int row);

// Refills the slip curve slots: slot 0 with the first built-in curve (or with
// zeros once a tire file has been parsed), slots 1 to 3 with zeros; one curve
// of 237 samples, the first one current.
void ResetSlipCurves(EditorDocument& doc);

}  // namespace dyno
