#include "gui/document/EditorWidget.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMainWindow>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QScrollBar>
#include <QStatusBar>
#include <QWheelEvent>

#include <algorithm>
#include <optional>

#include "core/chart/ChartGeometry.h"
#include "core/chart/ChartLayout.h"
#include "core/chart/RowScrolling.h"
#include "core/curves/Generator.h"
#include "core/editing/DynoView.h"
#include "core/editing/ModeCommands.h"
#include "core/editing/Mouse.h"
#include "core/editing/Timer.h"
#include "core/editing/EditSteps.h"
#include "core/editing/Keyboard.h"
#include "core/editing/Selection.h"
#include "core/editing/ValueBox.h"
#include "core/resources/Commands.h"
#include "core/resources/ResourceIds.h"
#include "gui/chart/ChartPainter.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/Settings.h"
#include "gui/common/UserDialogs.h"
#include "gui/files/PictureExport.h"
#include "gui/resources/Images.h"

namespace dyno {

namespace {

QSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->size() : QSize(1024, 768);
}

QCursor LoadCursor(const char* name, QPoint hotSpot, Qt::CursorShape fallback) {
  const QPixmap image = CursorImage(name);
  return image.isNull() ? QCursor(fallback) : QCursor(image, hotSpot.x(), hotSpot.y());
}

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// The edit accelerators of the value box: cut, copy, paste, clear, undo, and
// find next, which does nothing here.
bool IsValueBoxShortcut(int key, Qt::KeyboardModifiers modifiers) {
  modifiers &= ~Qt::KeypadModifier;
  return (key == Qt::Key_Delete && (modifiers == Qt::ShiftModifier || modifiers == Qt::ControlModifier)) ||
         (key == Qt::Key_Insert && (modifiers == Qt::ControlModifier || modifiers == Qt::ShiftModifier)) ||
         (key == Qt::Key_Backspace && modifiers == Qt::AltModifier) ||
         (key == Qt::Key_F3 && modifiers == Qt::NoModifier);
}

// The keys of Undo and Redo act on the document, never on the value box's
// own text (its undo is Alt+Backspace).
bool IsHistoryKey(const QKeyEvent* key) {
  const QKeySequence pressed(key->keyCombination().key() | (key->modifiers() & ~Qt::KeypadModifier));
  for (const int id : {CmUndo, CmRedo}) {
    for (const std::string_view keys : FindCommand(id)->Keys) {
      if (QKeySequence(FromBytes(keys)) == pressed) return true;
    }
  }
  return false;
}

Point ClientPoint(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

UserDialogs& DefaultDialogs() {
  static QtUserDialogs dialogs;
  return dialogs;
}

}  // namespace

EditorWidget::EditorWidget(QWidget* parent) : QWidget(parent), dialogs_(&DefaultDialogs()) {
  const QSize screen = ScreenSize();
  state_ = std::make_unique<EditorState>(*this, screen.width(), screen.height());

  valueEdit_ = new QLineEdit(this);
  valueEdit_->setObjectName(QStringLiteral("ValueEdit"));
  valueEdit_->setGeometry(TableWidth + 4, 5, 65, 16);
  valueEdit_->setMaxLength(8);
  valueEdit_->installEventFilter(this);
  connect(valueEdit_, &QLineEdit::textChanged, this,
          [this] { RunStep([this] { ValueEditNotify(*state_, ValueEditCode::TextChanged); }); });
  // Enter ends a run of typing: what follows is another step.
  connect(valueEdit_, &QLineEdit::returnPressed, this, [this] {
    bool stored = true;
    RunStep([this, &stored] { stored = ValueEditNotify(*state_, ValueEditCode::Entered); });
    if (stored) ReturnFromValueBox();
  });

  rowScrollBar_ = new QScrollBar(Qt::Vertical, this);
  rowScrollBar_->setObjectName(QStringLiteral("RowScrollBar"));
  rowScrollBar_->setGeometry(TableWidth, TableTop, 20, state_->View.ScreenHeight - 31);
  rowScrollBar_->setSingleStep(1);
  rowScrollBar_->setPageStep(state_->View.VisibleRows - 1);
  connect(rowScrollBar_, &QScrollBar::valueChanged, this, &EditorWidget::OnRowScrollBarMoved);

  setFocusPolicy(Qt::StrongFocus);
  setMouseTracking(true);
}

EditorWidget::~EditorWidget() = default;

void EditorWidget::SetupWindow() {
  QPalette background = palette();
  background.setColor(QPalette::Window, QColor(96, 96, 96));
  setPalette(background);
  // The view paints every pixel, the background only where no panel lies:
  // filling the whole window first would cost more than the rest of a paint.
  setAttribute(Qt::WA_OpaquePaintEvent);

  cursors_ = {LoadCursor("plus", {16, 14}, Qt::CrossCursor), LoadCursor("hand", {5, 0}, Qt::PointingHandCursor),
              LoadCursor("up-down", {15, 15}, Qt::SizeVerCursor), LoadCursor("cross-hair", {15, 15}, Qt::CrossCursor)};
  cursorShape_ = CursorShape::Arrow;
  unsetCursor();

  // The start-up curve: it cannot be saved until a file is opened or
  // Generate is chosen.
  EditorState& st = *state_;
  EditorDocument& doc = st.Doc;
  GenerateEngineCurve(doc, st.Session.Generator);
  ResetInteraction(st.Ui, st.Host);
  RefitTable(st.View, st.Host, doc.RowCount);
  st.Steps.Start();
  UpdateCaption();

  // Paths are UTF-8 in the core on every system.
  EditorSession& session = st.Session;
  session.WorkFolder = ReadWorkFolderSetting().toStdString();
  QDir::setCurrent(QString::fromStdString(session.WorkFolder));
  session.FileFolder = session.WorkFolder;
  files_.LoadRecentFiles();
  const ViewSettings view = ReadViewSettings();
  session.Dyno.Units = {TorqueUnitNamed(view.TorqueUnit.toStdString()), PowerUnitNamed(view.PowerUnit.toStdString())};
  session.Dyno.ShowPeaks = view.ShowPeaks;
  session.Dyno.SlipAxis = view.SlipAxis;
  session.Dyno.AllSlipCurves = view.AllSlipCurves;

  setFocus();
  timer_.start(TimerPeriodMs, this);
}

bool EditorWidget::CanClose() {
  WriteWorkFolderSetting(QString::fromStdString(state_->Session.WorkFolder));
  return files_.SaveChangesFirst();
}

void EditorWidget::BindCommands(CommandHandlers& handlers) {
  EditorState& st = *state_;
  const auto bind = [this, &handlers](int id, std::function<void()> run, std::function<bool()> enabled = {}) {
    handlers[id] = {[this, id, run = std::move(run), enabled] {
                      if (!CommandState(id, state_->Doc, state_->Session, state_->History).Enabled || (enabled && !enabled())) {
                        return;
                      }
                      RunStep([this, &run] {
                        // A command ends a run of typing; Undo then takes back that run.
                        state_->Steps.End();
                        run();
                      });
                    },
                    enabled};
  };
  bind(CmUndo, [&st] { st.Steps.Undo(); });
  bind(CmRedo, [&st] { st.Steps.Redo(); });
  bind(CmOpen, [this] { files_.OpenPhysicsFile(); });
  bind(CmImport, [this] { curves_.ImportCommand(); });
  bind(CmSave, [this] { files_.SavePhysicsFile(); });
  bind(CmSaveButton, [this] { files_.SaveOrSaveAs(); });
  bind(CmSaveAs, [this] { files_.SaveAsPhysicsFile(); });
  bind(CmExportCsv, [this] { files_.ExportCsv(); });
  bind(CmExportPicture, [this] { ExportPictureCommand(*this); });
  bind(CmImportCsv, [this] { curves_.ImportCsvCommand(); });
  bind(CmCopyTable, [this] { curves_.CopyTableCommand(); });
  bind(CmPasteTable, [this] { curves_.PasteTableCommand(); }, [] {
    // Asked at idle time: whether there is text, not the text itself.
    const QMimeData* clipboard = QGuiApplication::clipboard()->mimeData();
    return clipboard && clipboard->hasText();
  });
  bind(CmGenerate, [this] { curves_.GenerateCommand(); });
  bind(CmEditParameters, [this] { files_.EditParameters(); });
  bind(CmAddLine, [this] { curves_.AddLineCommand(); });
  bind(CmRemoveLine, [this] { curves_.RemoveLineCommand(); });
  bind(CmRescale, [this] { curves_.RescaleCommand(); });
  bind(CmResolution, [this] { curves_.ResolutionCommand(); });
  bind(CmBend, [&st] { BendCommand(st); });
  const auto ranged = [&st] { return SelectedRange(st).has_value(); };
  bind(CmAdjustSelection, [] {}, ranged);
  bind(CmScaleSelection, [this] { curves_.AdjustSelectionCommand(RangeOperation::Scale); }, ranged);
  bind(CmOffsetSelection, [this] { curves_.AdjustSelectionCommand(RangeOperation::Offset); }, ranged);
  bind(CmSetSelection, [this] { curves_.AdjustSelectionCommand(RangeOperation::Set); }, ranged);
  bind(CmStraighten, [this] { curves_.AdjustSelectionCommand(RangeOperation::Straighten); }, ranged);
  bind(CmSmooth, [this] { curves_.AdjustSelectionCommand(RangeOperation::Smooth); }, ranged);
  bind(CmNormalise, [this] { curves_.NormaliseCommand(); });
  bind(CmModeEngine, [&st] { SetFileMode(st, FileMode::Engine); });
  bind(CmModeUpgrade, [&st] { SetFileMode(st, FileMode::Upgrade); });
  bind(CmModeTire, [&st] { SetFileMode(st, FileMode::Tire); });
  bind(CmLockOnToData, [&st] { st.Session.LockOnToData = !st.Session.LockOnToData; });
  bind(CmClearRecentFiles, [this] { files_.ClearRecentFiles(); });
  for (int i = 0; i < MaxRecentFiles; ++i) bind(CmRecentFile1 + i, [this, i] { files_.OpenRecentFile(i); });
  bind(CmCompareFile, [this] { files_.CompareWithFile(); });
  bind(CmCompareSaved, [&st] { CompareWithSaved(st); });
  // The view's peaks and units are kept at once, like the recent files, not
  // only at a clean exit.
  const auto keepView = [this, &st](std::function<void()> change) {
    return [this, &st, change = std::move(change)] {
      change();
      const DynoView& view = st.Session.Dyno;
      WriteViewSettings({QString::fromLatin1(UnitName(view.Units.Torque)), QString::fromLatin1(UnitName(view.Units.Power)),
                         view.ShowPeaks, view.SlipAxis, view.AllSlipCurves});
    };
  };
  bind(CmShowPeaks, keepView([&st] { ShowPeaksCommand(st); }));
  bind(CmSlipAxis, keepView([&st] { SlipAxisCommand(st); }));
  bind(CmAllSlipCurves, keepView([&st] { AllSlipCurvesCommand(st); }));
  bind(CmTorqueNm, keepView([&st] { TorqueUnitCommand(st, TorqueUnit::Nm); }));
  bind(CmTorqueLbFt, keepView([&st] { TorqueUnitCommand(st, TorqueUnit::LbFt); }));
  bind(CmPowerHp, keepView([&st] { PowerUnitCommand(st, PowerUnit::Hp); }));
  bind(CmPowerKw, keepView([&st] { PowerUnitCommand(st, PowerUnit::Kw); }));
  bind(CmPowerPs, keepView([&st] { PowerUnitCommand(st, PowerUnit::Ps); }));
  bind(CmClearComparison, [&st] { ClearComparisonCommand(st); });
}

void EditorWidget::SetDialogs(UserDialogs* dialogs) { dialogs_ = dialogs ? dialogs : &DefaultDialogs(); }

QSize EditorWidget::minimumSizeHint() const {
  const ClientSize least = MinimumClientSize();
  return {least.width, least.height};
}

void EditorWidget::SetPrinting(bool printing) {
  printing_ = printing;
  setMaximumSize(printing ? QSize(32000, 32000) : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX));
}

void EditorWidget::UpdateCaption() {
  const EditorDocument& doc = state_->Doc;
  const FileData shown = ShownData(doc);
  const DataFile& file = FileOf(doc, shown);
  // "[*]" is where the desktop shows that the data has unsaved changes.
  const QString caption = file.Exists()
                              ? QStringLiteral("Dynoforge - %1[*]").arg(QString::fromStdString(file.Title))
                              : QStringLiteral("Dynoforge[*]");
  QWidget* frame = window();
  if (frame->windowTitle() != caption) frame->setWindowTitle(caption);
  frame->setWindowModified(HasUnsavedChanges(doc, state_->History, shown));
}

// --- EditorHost ------------------------------------------------------------

void EditorWidget::Invalidate(const Rect& area, bool) {
  // The window's background is painted for every update; the paint itself
  // never needs the white erase that printing pages skip anyway.
  update(ToQRect(area));
  // What is repainted has changed: the chart is laid out anew once the step
  // that changed it is done. A step that waits in a dialog lets the window
  // paint meanwhile: the queued layout comes before that paint.
  if (!layoutStale_) QMetaObject::invokeMethod(this, [this] { LayOutChart(); }, Qt::QueuedConnection);
  layoutStale_ = true;
}

void EditorWidget::LayOutChart() {
  if (!layoutStale_) return;
  layoutStale_ = false;
  EditorState& st = *state_;
  ComputeChartLayout(st.Chart, st.Doc, st.Session.Dyno, std::clamp(width(), 0, FarPixel),
                     std::clamp(height(), 0, FarPixel));
  FollowPickedPoint(st);
  // A moved axis or peak mark changes pixels far from the pieces repainted.
  const ChartFrame frame = FrameOf(st.Doc, st.Session.Dyno, st.Chart);
  if (lastFrame_ && *lastFrame_ != frame) update();
  lastFrame_ = frame;
}

void EditorWidget::ShowMessage(std::string_view text, std::string_view caption) {
  dialogs_->Message(window(), QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                    QString::fromLatin1(caption.data(), static_cast<qsizetype>(caption.size())));
}

void EditorWidget::ShowNotice(std::string_view text) {
  // Long enough to read, short enough not to hide the readout for good.
  if (auto* frame = qobject_cast<QMainWindow*>(window())) {
    frame->statusBar()->showMessage(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())), 6000);
  }
}

void EditorWidget::ScrollPixels(int dy, const Rect& area) { scroll(0, dy, ToQRect(area)); }

void EditorWidget::SyncRowScrollBar(const RowScrollBarState& bar) {
  syncingScrollBar_ = true;
  rowScrollBar_->setRange(bar.Minimum, bar.Maximum);
  rowScrollBar_->setSingleStep(bar.LineStep);
  rowScrollBar_->setPageStep(bar.PageStep);
  rowScrollBar_->setValue(bar.Position);
  rowScrollBar_->setEnabled(bar.Enabled);
  syncingScrollBar_ = false;
}

std::string EditorWidget::ValueBoxText() const { return valueEdit_->text().toLatin1().toStdString(); }


void EditorWidget::EmptyValueBox() {
  valueEdit_->selectAll();
  valueEdit_->del();
}

void EditorWidget::InsertValueBoxText(std::string_view text) {
  valueEdit_->insert(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

void EditorWidget::FocusValueBox() {
  valueEdit_->setFocus(Qt::OtherFocusReason);
  valueEdit_->selectAll();
}

void EditorWidget::SetCursorShape(CursorShape shape) {
  // Every mouse move names a cursor; only a change reaches the window system.
  if (shape == cursorShape_) return;
  cursorShape_ = shape;
  switch (shape) {
    case CursorShape::Arrow: unsetCursor(); break;
    case CursorShape::Hand: setCursor(cursors_[1]); break;
    case CursorShape::CrossHair: setCursor(cursors_[3]); break;
  }
}

// --- Events ----------------------------------------------------------------

void EditorWidget::paintEvent(QPaintEvent* event) {
  // The screen is never a printed page: pages are painted by the printout,
  // which also learns the page range from them, and the table on screen
  // stays where the user scrolled it while a print job or preview runs.
  QPainter painter(this);
  ChartPaintRequest request = WindowPaintRequest(*this, event->rect(), false);
  request.backdrop = palette().color(QPalette::Window);
  PaintEditorRegion(painter, *state_, event->region(), request);
  if (keyboardUsed_ && hasFocus()) DrawFocusFrame(painter, height());
  emit Painted();
}

bool EditorWidget::event(QEvent* event) {
  // Every event but a paint may be a step that changes what is laid out.
  if (event->type() == QEvent::Paint) return QWidget::event(event);
  bool handled = false;
  RunStep([&] { handled = QWidget::event(event); });
  return handled;
}

void EditorWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  EditorState& st = *state_;
  ClientSizeChanged(st.View, st.Host, st.Doc.RowCount, width(), height());
  layoutStale_ = true;
  rowScrollBar_->setGeometry(TableWidth, TableTop, 20, std::max(0, st.View.ScrollBarHeight));
}

void EditorWidget::timerEvent(QTimerEvent* event) {
  if (event->timerId() != timer_.timerId()) {
    QWidget::timerEvent(event);
    return;
  }
  // One tick at a time: a slow tick delays the next instead of piling up.
  timer_.stop();
  OnTick(*state_);
  timer_.start(TimerPeriodMs, this);
}

void EditorWidget::OnRowScrollBarMoved(int position) {
  if (!syncingScrollBar_) RunStep([&] { RowScrollNotify(state_->View, *this, position); });
}

void EditorWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnPress(*state_, ClientPoint(event), event->modifiers() & Qt::ShiftModifier);
  event->accept();
}

void EditorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnDoublePress(*state_, ClientPoint(event));
  event->accept();
}

void EditorWidget::mouseMoveEvent(QMouseEvent* event) {
  OnMove(*state_, ClientPoint(event));
  event->accept();
}

void EditorWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) OnRelease(*state_, ClientPoint(event));
  event->accept();
}

namespace {

// Shift too: it extends a range of rows.
std::optional<PickKey> PickKeyOf(const QKeyEvent& event) {
  if (event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return std::nullopt;
  switch (event.key()) {
    case Qt::Key_Up: return PickKey::Up;
    case Qt::Key_Down: return PickKey::Down;
    case Qt::Key_PageUp: return PickKey::PageUp;
    case Qt::Key_PageDown: return PickKey::PageDown;
    case Qt::Key_Home: return PickKey::Home;
    case Qt::Key_End: return PickKey::End;
    case Qt::Key_Left: return PickKey::Left;
    case Qt::Key_Right: return PickKey::Right;
    default: return std::nullopt;
  }
}

// + and - (on either keyboard), Ctrl+Up and Ctrl+Down: up or down.
std::optional<bool> StepKeyOf(const QKeyEvent& event) {
  const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
  if (event.key() == Qt::Key_Plus && (modifiers & ~Qt::ShiftModifier) == 0) return true;
  if (event.key() == Qt::Key_Minus && modifiers == 0) return false;
  if (modifiers == Qt::ControlModifier && (event.key() == Qt::Key_Up || event.key() == Qt::Key_Down)) {
    return event.key() == Qt::Key_Up;
  }
  return std::nullopt;
}

// A digit or a decimal separator begins a number.
bool StartsNumber(const QKeyEvent& event) {
  if (event.modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) return false;
  const QString text = event.text();
  return text.size() == 1 && (text[0].isDigit() || text[0] == u'.' || text[0] == u',');
}

}  // namespace

void EditorWidget::keyPressEvent(QKeyEvent* event) {
  EditorState& st = *state_;
  bool handled = false;
  if (const std::optional<bool> up = StepKeyOf(*event)) {
    // The key's own repeats are left to the timer, which repeats as a held
    // button does.
    handled = event->isAutoRepeat() ? st.Ui.KeyHeld : OnStepKeyPress(st, *up);
  } else if (const std::optional<PickKey> key = PickKeyOf(*event)) {
    handled = OnPickKey(st, *key, event->modifiers() & Qt::ShiftModifier);
  } else if (event->key() == Qt::Key_Escape && SelectedRange(st)) {
    ClearRange(st);
    handled = true;
  } else if (StartsNumber(*event) && st.Ui.ValueShown) {
    // Typing begins in the value box, over what it shows.
    valueEdit_->setFocus(Qt::OtherFocusReason);
    valueEdit_->selectAll();
    QCoreApplication::sendEvent(valueEdit_, event);
    handled = true;
  }
  if (!handled) {
    QWidget::keyPressEvent(event);
    return;
  }
  if (!keyboardUsed_) {
    keyboardUsed_ = true;
    update();
  }
  event->accept();
}

void EditorWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat() && state_->Ui.KeyHeld &&
      (event->key() == Qt::Key_Plus || event->key() == Qt::Key_Minus || event->key() == Qt::Key_Up ||
       event->key() == Qt::Key_Down)) {
    OnStepKeyRelease(*state_);
    event->accept();
    return;
  }
  QWidget::keyReleaseEvent(event);
}

void EditorWidget::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  // Tab is the keyboard too.
  if (event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason) keyboardUsed_ = true;
  if (keyboardUsed_) update();
}

void EditorWidget::focusOutEvent(QFocusEvent* event) {
  // A key let go elsewhere must not leave the button held.
  RunStep([this] { OnStepKeyRelease(*state_); });
  QWidget::focusOutEvent(event);
  if (keyboardUsed_) update();
}

void EditorWidget::OpenPath(const QString& path) {
  RunStep([this, &path] { files_.OpenFile(path); });
}

void EditorWidget::ReturnFromValueBox() {
  setFocus(Qt::OtherFocusReason);
}

void EditorWidget::wheelEvent(QWheelEvent* event) {
  // Handed to the bar itself: it steps the platform's wheel lines (three
  // rows a notch by default), gathers a touchpad's small deltas, and its
  // move reaches the table as any move of the bar does. A disabled bar
  // (every row fits) leaves the event unaccepted.
  event->ignore();
  QApplication::sendEvent(rowScrollBar_, event);
}

bool EditorWidget::eventFilter(QObject* watched, QEvent* event) {
  if (watched == valueEdit_ && (event->type() == QEvent::DragEnter || event->type() == QEvent::DragMove ||
                                event->type() == QEvent::Drop)) {
    // A file dragged from a file manager is for the frame to open, not a
    // text for the value box: ignored here, the event goes on to the frame.
    if (static_cast<QDropEvent*>(event)->mimeData()->hasUrls()) {
      event->ignore();
      return true;
    }
    return false;
  }
  if (watched == valueEdit_ && event->type() == QEvent::FocusOut) {
    RunStep([this] { ValueEditNotify(*state_, ValueEditCode::FocusLost); });
    return false;
  }
  if (watched == valueEdit_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    // The value shown before the typing comes back.
    RunStep([this] { CancelTyping(*state_); });
    ReturnFromValueBox();
    return true;
  }
  if (watched == valueEdit_ && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (IsHistoryKey(key)) {
      // Not the box's: the shortcut goes to the window's Undo or Redo.
      event->ignore();
      return true;
    }
    if (event->type() == QEvent::ShortcutOverride) {
      // Keep these keys for the value box rather than any window shortcut.
      if (IsValueBoxShortcut(key->key(), key->modifiers())) event->accept();
      return false;
    }
    if (IsValueBoxShortcut(key->key(), key->modifiers())) {
      const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
      if (key->key() == Qt::Key_Delete && modifiers == Qt::ShiftModifier) {
        valueEdit_->cut();
      } else if (key->key() == Qt::Key_Insert && modifiers == Qt::ControlModifier) {
        valueEdit_->copy();
      } else if (key->key() == Qt::Key_Insert && modifiers == Qt::ShiftModifier) {
        valueEdit_->paste();
      } else if (key->key() == Qt::Key_Delete && modifiers == Qt::ControlModifier) {
        if (valueEdit_->hasSelectedText()) valueEdit_->del();  // clears the selection only
      } else if (key->key() == Qt::Key_Backspace) {
        valueEdit_->undo();
      }  // F3, find next: there is nothing to find
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace dyno
