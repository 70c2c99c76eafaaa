#pragma once

#include <QColor>
#include <QRect>
#include <QSize>

class QPainter;
class QRegion;
class QWidget;

namespace dyno {

class ChartCanvas;
struct ChartLayout;
struct EditorState;
struct Rect;
struct ViewState;

// What a paint of the editor view needs besides the editor state.
struct ChartPaintRequest {
  QRect paintRect;               // the client area to repaint; nothing outside it is touched
  bool erase = false;            // fill paintRect with white first
  QSize clientSize;              // the whole client area: its width is Right, its height Bottom
  QColor windowText;             // the system's colour of text in a window (QPalette::Text)
  QColor window;                 // the system's colour of a window's face (QPalette::Base)
  // The window's own background, when valid: painted where no panel covers
  // the client area, so that the window need not fill everything first.
  QColor backdrop;
  // The hover tip, at the pointer's place on the screen.
  bool hoverTip = true;
};

// The request for repainting paintRect of a window: its size and the text
// and face colours of its palette.
ChartPaintRequest WindowPaintRequest(const QWidget& window, const QRect& paintRect, bool erase);

// Paints the whole editor view, in client pixels, for the window, a printed
// or a previewed page or an image alike: header bar, table, chart, marker
// and tooltip of the engine or tire view, as the document and the
// interaction state of st say, with the table rows of view and the chart as
// laid out in chart. The painter's transform maps client pixels onto its
// device. A paint changes nothing: the layout is computed beforehand, when
// the size or the data change.
void PaintEditorView(QPainter& painter, const EditorState& st, const ViewState& view, const ChartLayout& chart,
                     const ChartPaintRequest& request);

// The window's paint of a paint event: the view where region says, on the
// screen (never a printed page), as laid out in st.View and st.Chart.
// request gives the client size and the colours; its paintRect is not used.
void PaintEditorRegion(QPainter& painter, const EditorState& st, const QRegion& region, ChartPaintRequest request);

// The keyboard focus: a dotted frame just inside the table's well.
void DrawFocusFrame(QPainter& painter, int bottom);

// The panel styles of the view, each a fixed sequence of one-pixel lines on
// the rectangle (l, t, r, b).
void DrawRaisedPanel(ChartCanvas& canvas, const Rect& r);
// A raised panel whose face is left unfilled in hole, which is painted over
// later anyway.
void DrawRaisedPanel(ChartCanvas& canvas, const Rect& r, const Rect& hole);
void DrawPressedPanel(ChartCanvas& canvas, const Rect& r, const QColor& windowText);
void DrawGroovePanel(ChartCanvas& canvas, const Rect& r);
void DrawSunkenPanel(ChartCanvas& canvas, const Rect& r, const QColor& face);
// Leaves the white pen selected for the grid. Its face fills PlotFaceRect(r).
Rect PlotFaceRect(const Rect& r);
void DrawPlotFrame(ChartCanvas& canvas, const Rect& r, const QColor& face);
// The characters of text one under another: character k at (x - 3, y + 8 k),
// in the canvas's current font, colour and alignment.
void DrawVerticalText(ChartCanvas& canvas, int x, int y, const char* text, int length);

}  // namespace dyno
