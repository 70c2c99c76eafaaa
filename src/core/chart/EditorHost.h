#pragma once

#include <string>
#include <string_view>

namespace dyno {

// A rectangle in client pixels; right and bottom lie one beyond the last pixel.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
  int x = 0;
  int y = 0;

  friend bool operator==(const Point&, const Point&) = default;
};

// Mouse cursors the editor shows.
enum class CursorShape {
  Arrow,      // the standard arrow
  Hand,       // over the value table and the Up/Down buttons
  CrossHair,  // over the plot and while dragging
};

// What the row scroll bar shows; the core keeps this model, the window
// mirrors it onto its scroll bar control.
struct RowScrollBarState {
  bool Enabled = false;
  int Minimum = 0;
  int Maximum = 0;
  int LineStep = 1;
  int PageStep = 1;
  int Position = 0;

  friend bool operator==(const RowScrollBarState&, const RowScrollBarState&) = default;
};

// What the editor core of the window around it. The Qt window
// implements it; tests replace it with a recording fake.
class EditorHost {
 public:
  virtual ~EditorHost() = default;

  // Asks for the rectangle to be repainted, with or without erasing it first.
  virtual void Invalidate(const Rect& area, bool erase) = 0;

  // An OK-only message box.
  virtual void ShowMessage(std::string_view text, std::string_view caption) = 0;

  // Moves the pixels of area (client coordinates) by dy; the band it
  // uncovers is repainted.
  virtual void ScrollPixels(int dy, const Rect& area) = 0;

  // Shows the row scroll bar as the model says, without notifying back.
  virtual void SyncRowScrollBar(const RowScrollBarState& bar) = 0;

  // The value box. Emptying a box that holds text and inserting text each
  // cause one change notification, as typing does.
  virtual std::string ValueBoxText() const = 0;
  virtual bool ValueBoxModified() const = 0;  // the box's own "edited" flag
  virtual void EmptyValueBox() = 0;
  virtual void InsertValueBoxText(std::string_view text) = 0;
  // Gives the value box the keyboard focus, its text selected: after the
  // user was told that what it holds is no number.
  virtual void FocusValueBox() {}

  virtual void SetCursorShape(CursorShape shape) = 0;
};

}  // namespace dyno
