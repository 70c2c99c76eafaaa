#pragma once

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

 private:
  EditorWindow& window_;
};

}  // namespace dyno
