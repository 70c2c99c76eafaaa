#pragma once

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

// What the table's scrolling asks of the window: repaints, moving pixels,
// and showing the row scroll bar as the model says.
class TableHost {
 public:
  virtual ~TableHost() = default;

  // Asks for the rectangle to be repainted, with or without erasing it first.
  virtual void Invalidate(const Rect& area, bool erase) = 0;

  // Moves the pixels of area (client coordinates) by dy; the band it
  // uncovers is repainted.
  virtual void ScrollPixels(int dy, const Rect& area) = 0;

  // Shows the row scroll bar as the model says, without notifying back.
  virtual void SyncRowScrollBar(const RowScrollBarState& bar) = 0;
};

// An x range [left, right) of a table column.
struct ColumnSpan {
  int left = 0;
  int right = 0;

  friend bool operator==(const ColumnSpan&, const ColumnSpan&) = default;
};

}  // namespace dyno
