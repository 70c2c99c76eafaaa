#pragma once

#include <array>

#include "core/editing/EditorHost.h"
#include "core/document/Limits.h"

namespace dyno {

struct ChartLayout;
struct EditorDocument;
struct EditorState;
struct InteractionState;
struct ViewState;

// Repaint requests of the editing handlers. Each asks for as little as
// covers what changed, so a drag over a long curve stays cheap to paint.

// The cell band of row: from 14 pixels above the row's line to 4 below it,
// between x left and right. Nothing when the row is far outside the table.
void RepaintCellBand(EditorHost& host, const ViewState& view, int row, int left, int right, bool erase);

// The vertical strip of the chart from the point before index to the point
// after it: the two line pieces that meet at the point, repainted whole.
void RepaintPointStrip(EditorHost& host, const ViewState& view, const ChartLayout& chart, int index);

// The table with its header, and the chart from TableWidth to the right edge.
void RepaintTable(EditorHost& host, const ViewState& view);
void RepaintChart(EditorHost& host, const ViewState& view);

// Everything inside the window's two-pixel frame, and the table's left edge
// with it: the widest RPM texts reach into that edge, and rows read anew
// would leave pixels of the old ones there.
void RepaintNewRows(EditorHost& host, const ViewState& view);

// The pick marker square (20 x 20) around a pixel.
Rect MarkerSquare(Point p);

// What the interaction state shows outside the data itself: the pick
// marker, the look of the Up/Down buttons, the highlighted cell and the
// charted slip curve. Handlers take it before they act and repaint where it
// changed afterwards.
struct InteractionLook {
  bool MarkerShown = false;
  Point Marker;
  bool ButtonsActive = false;
  bool UpPressedLook = false;
  bool DownPressedLook = false;
  int SelectedIndex = 0;
  bool CompressionSelected = false;
  bool TorqueSelected = false;
  std::array<bool, SlipCurveSlots> CurveSelected{};
  int CurrentSlipCurve = 0;
};

InteractionLook LookOf(const EditorState& st);

// Takes the look when made and repaints what changed when it goes.
class LookRepaint {
 public:
  explicit LookRepaint(EditorState& st);
  ~LookRepaint();
  LookRepaint(const LookRepaint&) = delete;
  LookRepaint& operator=(const LookRepaint&) = delete;

 private:
  EditorState& st_;
  InteractionLook before_;
};

}  // namespace dyno
