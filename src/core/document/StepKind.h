#pragma once

#include <string_view>

namespace dyno {

// What a step of the undo history did: one user action.
enum class StepKind {
  Drag,              // a point dragged, press to release
  Typing,            // a run of typing in the value box
  UpDown,            // one hold of the Up or Down button
  Bend,              // one hold of the buttons in bend mode
  EditCell,          // a click on a table cell that rounded its value
  Generate,
  Rescale,
  ChangeResolution,
  AddLine,
  RemoveLine,
  Import,
  EditParameters,
  EditSlipCurves,
  PasteTable,        // a table pasted from the clipboard
  ImportCsv,
  // Edit > Adjust Selection, over a range of rows.
  ScaleSelection,
  OffsetSelection,
  SetSelection,
  Straighten,
  Smooth,
  Normalise,  // a slip curve scaled to a peak of 1.0
};

// The step's name as the Undo and Redo menu items show it: "Drag".
std::string_view StepName(StepKind kind);

}  // namespace dyno
