#pragma once

#include <string>

#include "core/curves/RangeEdits.h"
#include "core/document/StepKind.h"

namespace dyno {

class EditorWindow;

// The curve operations of the editor window: each runs its dialog, changes
// the curve in the core and repaints what changed.
class CurveCommands {
 public:
  explicit CurveCommands(EditorWindow& window) : window_(window) {}

  void GenerateCommand();
  void RescaleCommand();
  void ResolutionCommand();
  void AddLineCommand();
  void RemoveLineCommand();
  void ImportCommand();

  // The spreadsheet bridge: the table to and from the clipboard, and a CSV
  // file's table in place of the curve. A table that is refused changes
  // nothing and leaves no undo step.
  void CopyTableCommand();
  void PasteTableCommand();
  void ImportCsvCommand();

  // Edit > Adjust Selection: Scale, Add Offset and Set Value ask for their
  // number first.
  void AdjustSelectionCommand(RangeOperation operation);
  void NormaliseCommand();

 private:
  // Replaces the curve with the table in text as one step of the kind given.
  void ApplyTable(StepKind kind, const std::string& text);

  EditorWindow& window_;
};

}  // namespace dyno
