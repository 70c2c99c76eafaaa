#include "gui/app/MainWindow.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include "core/document/Limits.h"
#include "core/editing/DynoView.h"
#include "core/files/RecentFiles.h"
#include "core/resources/CommandTable.h"
#include "core/resources/Commands.h"
#include "core/resources/ResourceIds.h"
#include "core/editing/Selection.h"
#include "gui/chart/ChartCanvas.h"
#include "gui/common/DialogSupport.h"
#include "gui/document/EditorWidget.h"
#include "gui/resources/Images.h"

namespace dyno {

namespace {

MainWindow::ApplicationHooks& Hooks() {
  static MainWindow::ApplicationHooks hooks;
  return hooks;
}

}  // namespace

void MainWindow::SetApplicationHooks(ApplicationHooks hooks) { Hooks() = std::move(hooks); }

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("MainWindow"));
  setWindowTitle(QStringLiteral("Dynoforge"));
  setWindowIcon(ApplicationIcon());
  setAcceptDrops(true);

  client_ = new EditorWidget(this);
  client_->setObjectName(QStringLiteral("EditorWidget"));
  setCentralWidget(client_);

  // Every command's handler, bound where its work lives.
  client_->BindCommands(handlers_);
  if (Hooks().BindCommands) Hooks().BindCommands(handlers_, *this);
  handlers_[CmExit] = {[this] { close(); }, {}};

  BuildMenus();
  // Status bar text in Arial, 15 pixels high and 6 wide on average.
  statusBar()->setFont(ChartFont(15, 6, 400).Font());
  statusBar()->setSizeGripEnabled(true);
  // The bar's normal content: a hint hides it, and it returns when the hint goes.
  readout_ = new QLabel(statusBar());
  readout_->setObjectName(QStringLiteral("PeakReadout"));
  statusBar()->addWidget(readout_, 1);
  BuildToolbar();

  client_->SetupWindow();
  ShowRecentFiles();  // the list SetupWindow read

  // Idle-time enabling: refresh before the event loop waits for input.
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &MainWindow::UpdateCommandStates);
  }
}

MainWindow::~MainWindow() = default;

QAction* MainWindow::MakeAction(int id) {
  const CommandRecord& record = *FindCommand(id);
  auto* action = new QAction(FromBytes(record.Text), this);
  action->setObjectName(FromBytes(record.Name));
  action->setData(id);
  action->setStatusTip(FromBytes(record.Hint));
  QList<QKeySequence> keys;
  for (const std::string_view key : record.Keys) keys.append(QKeySequence(FromBytes(key)));
  action->setShortcuts(keys);
  connect(action, &QAction::triggered, this, [this, id] { Command(id); });
  actions_[id] = action;
  return action;
}

void MainWindow::BuildMenus() {
  for (const PopupMenuDef& popup : MainMenu()) {
    QMenu* menu = menuBar()->addMenu(FromBytes(popup.Title));
    const QString hint = FromBytes(popup.Hint);
    menu->menuAction()->setStatusTip(hint);
    connect(menu, &QMenu::aboutToShow, this, [this, hint] {
      UpdateCommandStates();
      // The popup's own hint until one of its items is highlighted.
      statusBar()->showMessage(hint);
    });
    connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
    AddMenuItems(*menu, popup.Menu);
  }
  // Grayed until their enabling rule first runs.
  for (const int id : {CmSave, CmSaveAs, CmRecentFiles, CmPrintPreview, CmPrint, CmPrintSetup, CmAdjustSelection,
                       CmScaleSelection, CmOffsetSelection, CmSetSelection, CmStraighten, CmSmooth}) {
    Action(id)->setEnabled(false);
  }
  ShowRecentFiles();
}

void MainWindow::AddMenuItems(QMenu& menu, MenuId items) {
  for (const CommandRecord* record : MenuItems(items)) {
    if (record->Separated) menu.addSeparator();
    if (record->Submenu != MenuId::None) {
      // A submenu: its own action carries the id, the hint and the enabling.
      QMenu* submenu = menu.addMenu(FromBytes(record->Text));
      QAction* action = submenu->menuAction();
      action->setObjectName(FromBytes(record->Name));
      action->setData(record->Id);
      action->setStatusTip(FromBytes(record->Hint));
      actions_[record->Id] = action;
      AddMenuItems(*submenu, record->Submenu);
    } else {
      QAction* action = MakeAction(record->Id);
      if (record->RadioGroup != 0) {
        QActionGroup*& group = radioGroups_[record->RadioGroup];
        if (!group) group = new QActionGroup(this);
        group->addAction(action);
        action->setCheckable(true);
      }
      menu.addAction(action);
    }
  }
}

void MainWindow::ShowRecentFiles() {
  const std::vector<std::string>& files = client_->State().Session.RecentFiles;
  if (recentFilesShown_ && files == shownRecentFiles_) return;
  recentFilesShown_ = true;
  shownRecentFiles_ = files;
  for (int i = 0; i < MaxRecentFiles; ++i) {
    QAction* entry = Action(CmRecentFile1 + i);
    const bool used = static_cast<std::size_t>(i) < files.size();
    // Paths are the file system's bytes; the menu shows them shortened, the
    // status bar whole.
    entry->setText(used ? QString::fromStdString(RecentFileMenuText(i, files[i])) : QString());
    entry->setStatusTip(used ? QString::fromStdString(files[i]) : QString());
    entry->setVisible(used);
  }
}

void MainWindow::OpenFile(const QString& path) {
  client_->OpenPath(path);
  // Opened from outside the menus (a drop, the command line): the menus,
  // the caption and the readout follow at once.
  UpdateCommandStates();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) {
  if (DropOpens(*event)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  }
}

void MainWindow::dragMoveEvent(QDragMoveEvent* event) {
  if (DropOpens(*event)) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

void MainWindow::dropEvent(QDropEvent* event) {
  if (!DropOpens(*event)) {
    event->ignore();
    return;
  }
  // Copy, never move: the file manager must not delete what was opened.
  event->setDropAction(Qt::CopyAction);
  event->accept();
  // Opened once the file manager has finished the drop, which a question
  // about unsaved changes would otherwise hold up.
  const QString path = event->mimeData()->urls().constFirst().toLocalFile();
  QMetaObject::invokeMethod(this, [this, path] { OpenFile(path); }, Qt::QueuedConnection);
}

bool MainWindow::DropOpens(const QDropEvent& event) const {
  // One document at a time: several files are refused rather than one of
  // them picked at random. Opening reads the file, so the source must
  // allow a copy.
  const QMimeData* dragged = event.mimeData();
  if (!dragged || !dragged->hasUrls() || !(event.possibleActions() & Qt::CopyAction)) return false;
  const QList<QUrl> urls = dragged->urls();
  if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return false;
  const QString path = urls.constFirst().toLocalFile();
  if (path.isEmpty() || QFileInfo(path).isDir()) return false;
  // A print job lays the window out as pages: no new document meanwhile.
  return !Hooks().Printing || !Hooks().Printing();
}

void MainWindow::BuildToolbar() {
  toolbar_ = new QToolBar(QStringLiteral("Toolbar"), this);
  toolbar_->setObjectName(QStringLiteral("Toolbar"));
  toolbar_->setMovable(true);
  toolbar_->setFloatable(true);
  toolbar_->setIconSize(QSize(20, 20));
  for (const int id : MainToolbar()) {
    if (id == 0) {
      auto* gap = new QWidget(toolbar_);
      gap->setFixedWidth(6);
      toolbar_->addWidget(gap);
      continue;
    }
    QAction* action = Action(id);
    // A button that stands in no menu (the disk, which saves or asks where
    // to) has an action of its own.
    if (!action) action = MakeAction(id);
    action->setIcon(QIcon(ToolbarImage(FindCommand(id)->Image)));
    action->setEnabled(false);  // until the first idle pass
    toolbar_->addAction(action);
  }
  addToolBar(Qt::TopToolBarArea, toolbar_);
}

QAction* MainWindow::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

CommandStatus MainWindow::Status(int id) const {
  const EditorState& st = client_->State();
  CommandStatus status = CommandState(id, st.Doc, st.Session, st.History);
  const auto handler = handlers_.find(id);
  if (status.Enabled && handler != handlers_.end() && handler->second.Enabled) status.Enabled = handler->second.Enabled();
  return status;
}

void MainWindow::UpdateCommandStates() {
  for (const auto& [id, action] : actions_) {
    const CommandStatus status = Status(id);
    action->setEnabled(status.Enabled);
    if (!status.Text.empty()) action->setText(FromBytes(status.Text));
    action->setCheckable(status.Checkable);
    if (status.Checkable) action->setChecked(status.Checked);
  }
  ShowRecentFiles();
  client_->UpdateCaption();
  // Every change ends in an idle pass: the peaks follow drags and typing too.
  // A selected range of rows tells itself instead.
  const std::string selection = SelectionReadout(client_->State());
  const QString readout = QString::fromStdString(
      selection.empty() ? PeakReadout(client_->Document(), client_->State().Session.Dyno) : selection);
  if (readout_ && readout != readout_->text()) readout_->setText(readout);
}

void MainWindow::Command(int id) {
  // Each handler leaves alone what its command's state grays: the print
  // commands look at the system's default printer first.
  if (const auto handler = handlers_.find(id); handler != handlers_.end()) handler->second.Run();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (client_->CanClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace dyno
