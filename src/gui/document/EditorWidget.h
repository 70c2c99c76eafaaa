#pragma once

#include <QBasicTimer>
#include <QCursor>
#include <QWidget>

#include <array>
#include <memory>
#include <optional>

#include "core/editing/EditorHost.h"
#include "core/editing/DynoView.h"
#include "core/editing/EditorState.h"
#include "gui/common/CommandHandlers.h"
#include "gui/common/EditorWindow.h"
#include "gui/curves/CurveCommands.h"
#include "gui/files/FileCommands.h"

class QLineEdit;
class QScrollBar;

namespace dyno {

class UserDialogs;

// The editor window: the frame's client. It owns the document and the rest
// of the editor state, the value box and the row scroll bar, carries out the
// editor's commands through its command groups and forwards mouse, keyboard,
// timer and size events to the core.
class EditorWidget : public QWidget, public EditorHost, public EditorWindow {
  Q_OBJECT

 public:
  explicit EditorWidget(QWidget* parent = nullptr);
  ~EditorWidget() override;

  // Runs once the frame exists: the start-up curve, caption, settings, timer.
  void SetupWindow();

  // Asked before the frame closes: writes the settings and offers to save
  // unsaved changes. False keeps the window open.
  bool CanClose();

  // Binds the editor's commands: each does nothing while its rule grays it.
  void BindCommands(CommandHandlers& handlers);

  const EditorDocument& Document() const { return state_->Doc; }
  QLineEdit* ValueEdit() const { return valueEdit_; }
  QScrollBar* RowScrollBar() const { return rowScrollBar_; }

  // Message boxes and dialogs go through this; tests put a scripted one in.
  void SetDialogs(UserDialogs* dialogs);

  // The command groups.
  FileCommands& Files() { return files_; }
  // Opens a file from outside the menus (a drop, the command line) as one
  // step of the editor: the chart is laid out before the next paint.
  void OpenPath(const QString& path);
  CurveCommands& Curves() { return curves_; }

  // EditorWindow
  EditorState& State() override { return *state_; }
  UserDialogs& Dialogs() const override { return *dialogs_; }
  QWidget* DialogParent() override { return window(); }
  void UpdateCaption() override;

  // The frame keeps the window at least this large: the table, the value
  // box and the chart never overlap, and the axis labels stay readable.
  QSize minimumSizeHint() const override;

  // While a print job or preview runs the window may grow to page size.
  void SetPrinting(bool printing);
  bool Printing() const { return printing_; }

  // EditorHost
  void Invalidate(const Rect& area, bool erase) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ShowNotice(std::string_view text) override;
  QWidget& View() override { return *this; }
  void ScrollPixels(int dy, const Rect& area) override;
  void SyncRowScrollBar(const RowScrollBarState& bar) override;
  std::string ValueBoxText() const override;
  void EmptyValueBox() override;
  void InsertValueBoxText(std::string_view text) override;
  void FocusValueBox() override;
  void SetCursorShape(CursorShape shape) override;

 signals:
  // After every paint of the window.
  void Painted();

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // The left button's presses, double-clicks and releases and every move go
  // to the editor core. Qt holds the mouse for the window while a button is
  // down, so a release outside the window still ends a drag.
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  // With the keyboard focus the chart and table move the pick, step the
  // picked value with + and -, and pass a digit on to the value box.
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // The wheel over the table or the chart scrolls the table's rows as the
  // row scroll bar does.
  void wheelEvent(QWheelEvent* event) override;

 private:
  // The value box's Enter and Escape hand the keyboard back to the chart.
  void ReturnFromValueBox();
  void OnRowScrollBarMoved(int position);

  // Runs one step of the editor (an event, a command, a notification of the
  // value box or the scroll bar); when the outermost step ends, the chart is
  // laid out anew if the step repainted anything, so the paint that follows
  // and the next step read the layout of the data as it is now.
  template <typename Step>
  void RunStep(Step step) {
    ++stepDepth_;
    step();
    --stepDepth_;
    if (stepDepth_ == 0) LayOutChart();
  }
  // The chart layout for the client size and the document, when stale.
  void LayOutChart();

  std::unique_ptr<EditorState> state_;
  FileCommands files_{*this};
  CurveCommands curves_{*this};
  QLineEdit* valueEdit_ = nullptr;
  QScrollBar* rowScrollBar_ = nullptr;
  std::array<QCursor, 4> cursors_;  // plus, hand, up-down, cross-hair
  QBasicTimer timer_;
  UserDialogs* dialogs_ = nullptr;
  bool printing_ = false;
  bool syncingScrollBar_ = false;
  CursorShape cursorShape_ = CursorShape::Arrow;
  std::optional<ChartFrame> lastFrame_;  // as the last layout left the chart
  bool layoutStale_ = false;
  int stepDepth_ = 0;
  // The focus frame shows only once the keyboard has been used here: a
  // window worked with the mouse alone looks as it always has.
  bool keyboardUsed_ = false;
};

}  // namespace dyno
