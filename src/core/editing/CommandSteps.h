#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/document/UndoHistory.h"
#include "core/document/UserMessage.h"
#include "core/files/ReadResult.h"

namespace dyno {

struct EditorState;
struct ParameterTexts;

// The commands that change the curves or the parameters, as the window runs
// them once their dialogs are answered. Each is one step of the undo
// history, fits the table to the rows it leaves, lets go of what referred
// to the old points and asks for the repaint; what it has to tell the user
// it returns.
class CommandSteps {
 public:
  explicit CommandSteps(EditorState& st) : st_(st) {}

  EditOutcome AddLine();
  EditOutcome RemoveLine();
  EditOutcome ChangeResolution(double rpmStep);

  // scaled runs the Rescale dialog, which scales the rows when confirmed,
  // and says whether it was.
  void Rescale(const std::function<bool()>& scaled);

  // In Tire mode the built-in slip curve comes back; otherwise a new engine
  // is made from the document's generator settings. Either is unsaved work,
  // for the file the data came from, like any edit.
  void Generate();

  // The rows of the engine file at path replace the curve; the engine text,
  // the parameters and the file the data is saved to stay as they are. A
  // file that gives no rows changes nothing.
  ReadOutcome Import(const std::string& path);

  // A table of rows (from the clipboard or a CSV file) replaces the curve.
  EditOutcome PasteTable(StepKind kind, std::string_view text);

  // The charted slip curve's samples scaled to a peak of 1.0, one step.
  EditOutcome NormaliseSlipCurve();

  void EditParameters(const ParameterTexts& texts);

  // edited runs the slip curve dialog, whose Add writes new curves into the
  // document at once: the number of curves to keep when it is confirmed,
  // nothing when it is cancelled (the added curves then stay in slots the
  // file does not count).
  void EditSlipCurves(const std::function<std::optional<int>()>& edited);

 private:
  EditorState& st_;
};

}  // namespace dyno
