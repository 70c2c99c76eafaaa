#pragma once

#include <QBasicTimer>
#include <QCursor>
#include <QWidget>

#include <array>
#include <memory>

#include "core/document/CommandRules.h"
#include "core/chart/EditorHost.h"
#include "core/editing/EditorState.h"

class QLineEdit;
class QScrollBar;

namespace dyno {

class UserDialogs;

// File names are kept to the length the document promises for them
// (MaxPathLength); a longer path is refused rather than cut to another
// file's name.
bool PathTooLong(const QString& path);

// The editor window: the frame's client. It owns the document and the rest
// of the editor state, the value box and the row scroll bar, carries out the
// editor's commands and forwards mouse, keyboard, timer and size events to
// the core.
class TDynoforgeWindow : public QWidget, public EditorHost {
  Q_OBJECT

 public:
  explicit TDynoforgeWindow(QWidget* parent = nullptr);
  ~TDynoforgeWindow() override;

  // Runs once the frame exists: the start-up curve, caption, settings, timer.
  void SetupWindow();

  // Asked before the frame closes: writes the settings and offers to save
  // unsaved changes. False keeps the window open.
  bool CanClose();

  // Carries out an editor command / tells whether it is enabled and checked.
  void Command(int id);
  CommandStatus Status(int id) const;

  EditorState& State() { return *state_; }
  const EditorState& State() const { return *state_; }
  QLineEdit* ValueEdit() const { return valueEdit_; }
  QScrollBar* RowScrollBar() const { return rowScrollBar_; }

  // Message boxes and dialogs go through this; tests put a scripted one in.
  void SetDialogs(UserDialogs* dialogs);
  UserDialogs& Dialogs() const { return *dialogs_; }

  // While a print job or preview runs the window may grow to page size.
  void SetPrinting(bool printing);
  bool Printing() const { return printing_; }

  // The frame caption: "Dynoforge", or "Dynoforge - <file name>".
  void SetCaption(const QString& fileName = QString());

  // Commands carried out in the files, curves and editing subsystems.
  void OpenPhysicsFile();
  bool SaveAsPhysicsFile();
  void EditParameters();
  void GenerateCommand();
  void RescaleCommand();
  void ResolutionCommand();
  void AddLineCommand();
  void RemoveLineCommand();
  void ImportCommand();
  void BendCommand();

  // Where the file dialogs start: the folder of the last opened file when it
  // still exists (it becomes the current folder), else the current folder.
  QString StartFolder();

  // Tells what a reader's result means for the file at path: 0, nothing
  // found (the message nothingFound); -1, the file could not be opened.
  // True when the file was read.
  bool ReportRead(int result, const QString& path, const QString& nothingFound);

  // Takes a path chosen in a file dialog as the file last opened: its path,
  // name and folder, which also becomes the remembered and current folder.
  void TakeChosenFile(const QString& path);

  // EditorHost
  void Invalidate(const Rect& area, bool erase) override;
  void ShowMessage(std::string_view text, std::string_view caption) override;
  void ScrollPixels(int dy, const Rect& area) override;
  void SyncRowScrollBar(const RowScrollBarState& bar) override;
  std::string ValueBoxText() const override;
  bool ValueBoxModified() const override;
  void EmptyValueBox() override;
  void InsertValueBoxText(std::string_view text) override;
  void SetCursorShape(CursorShape shape) override;

 signals:
  // After every paint of the window.
  void Painted();

 protected:
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

 private:
  void OnRowScrollBarMoved(int position);
  void OnTimerTick();
  void OnValueEditChanged();

  std::unique_ptr<EditorState> state_;
  QLineEdit* valueEdit_ = nullptr;
  QScrollBar* rowScrollBar_ = nullptr;
  std::array<QCursor, 4> cursors_;  // 22010, 22011, 22012, 22014
  QBasicTimer timer_;
  UserDialogs* dialogs_ = nullptr;
  bool printing_ = false;
  bool syncingScrollBar_ = false;
  CursorShape cursorShape_ = CursorShape::Arrow;
};

}  // namespace dyno
