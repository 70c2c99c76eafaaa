#pragma once

#include <string>
#include <string_view>

#include "core/chart/Pixels.h"

namespace dyno {

// Mouse cursors the editor shows.
enum class CursorShape {
  Arrow,      // the standard arrow
  Hand,       // over the value table and the Up/Down buttons
  CrossHair,  // over the plot and while dragging
};

// What the editor core asks of the window around it. The Qt window
// implements it; tests replace it with a recording fake.
class EditorHost : public TableHost {
 public:
  // An OK-only message box.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;

  // The value box. Emptying a box that holds text and inserting text each
  // cause one change notification, as typing does.
  virtual std::string ValueBoxText() const = 0;
  virtual void EmptyValueBox() = 0;
  virtual void InsertValueBoxText(std::string_view text) = 0;
  // Gives the value box the keyboard focus, its text selected: after the
  // user was told that what it holds is no number.
  virtual void FocusValueBox() {}
  // A line in the status bar for a few seconds: why a click or typing did
  // nothing.
  virtual void ShowNotice(std::string_view text) = 0;

  virtual void SetCursorShape(CursorShape shape) = 0;
};

}  // namespace dyno
