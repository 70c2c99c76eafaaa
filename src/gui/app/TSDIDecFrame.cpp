#include "gui/app/TSDIDecFrame.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QFile>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "core/document/Limits.h"
#include "core/files/RecentFiles.h"
#include "core/resources/CommandTable.h"
#include "core/resources/ResourceIds.h"
#include "core/resources/StringTable.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/chart/ChartCanvas.h"
#include "gui/common/DialogSupport.h"
#include "gui/document/TDynoforgeWindow.h"
#include "gui/resources/Images.h"

namespace dyno {

TSDIDecFrame::TSDIDecFrame(QWidget* parent) : QMainWindow(parent) {
  setObjectName(QStringLiteral("TSDIDecFrame"));
  setWindowTitle(QStringLiteral("Dynoforge"));
  setWindowIcon(ApplicationIcon());

  client_ = new TDynoforgeWindow(this);
  client_->setObjectName(QStringLiteral("TDynoforgeWindow"));
  setCentralWidget(client_);

  BuildMenus();
  // Status bar text in Arial, 15 pixels high and 6 wide on average.
  statusBar()->setFont(ChartFont(15, 6, 400).Font());
  statusBar()->setSizeGripEnabled(true);
  BuildToolbar();

  client_->SetupWindow();
  ShowRecentFiles();  // the list SetupWindow read

  // Idle-time enabling: refresh before the event loop waits for input.
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TSDIDecFrame::UpdateCommandStates);
  }
}

TSDIDecFrame::~TSDIDecFrame() = default;

QAction* TSDIDecFrame::MakeAction(int id, const QString& text) {
  auto* action = new QAction(text, this);
  action->setObjectName(FromBytes(CommandObjectName(id)));
  action->setData(id);
  action->setStatusTip(FromBytes(LoadString(id)));
  connect(action, &QAction::triggered, this, [this, id] { Command(id); });
  actions_[id] = action;
  return action;
}

void TSDIDecFrame::BuildMenus() {
  for (const PopupMenuDef& popup : MainMenu()) {
    QMenu* menu = menuBar()->addMenu(FromBytes(popup.Title));
    const QString hint = FromBytes(PopupMenuHint(popup));
    menu->menuAction()->setStatusTip(hint);
    connect(menu, &QMenu::aboutToShow, this, [this, hint] {
      UpdateCommandStates();
      // The popup's own hint until one of its items is highlighted.
      statusBar()->showMessage(hint);
    });
    connect(menu, &QMenu::aboutToHide, statusBar(), &QStatusBar::clearMessage);
    AddMenuItems(*menu, popup.Items);
  }
  // Grayed until their enabling rule first runs.
  for (const int id : {CmSaveAs, CmRecentFiles, CmPrintPreview, CmPrint, CmPrintSetup}) Action(id)->setEnabled(false);
  ShowRecentFiles();
}

void TSDIDecFrame::AddMenuItems(QMenu& menu, std::span<const MenuItemDef> items) {
  for (const MenuItemDef& item : items) {
    if (item.Id == 0) {
      menu.addSeparator();
    } else if (!item.Items.empty()) {
      // A submenu: its own action carries the id, the hint and the enabling.
      QMenu* submenu = menu.addMenu(FromBytes(item.Text));
      QAction* action = submenu->menuAction();
      action->setObjectName(FromBytes(CommandObjectName(item.Id)));
      action->setData(item.Id);
      action->setStatusTip(FromBytes(LoadString(item.Id)));
      actions_[item.Id] = action;
      AddMenuItems(*submenu, item.Items);
    } else {
      menu.addAction(MakeAction(item.Id, FromBytes(item.Text)));
    }
  }
}

void TSDIDecFrame::ShowRecentFiles() {
  const std::vector<std::string>& files = client_->Document().RecentFiles;
  if (recentFilesShown_ && files == shownRecentFiles_) return;
  recentFilesShown_ = true;
  shownRecentFiles_ = files;
  for (int i = 0; i < MaxRecentFiles; ++i) {
    QAction* entry = Action(CmRecentFile1 + i);
    const bool used = static_cast<std::size_t>(i) < files.size();
    // Paths are the file system's bytes; the menu shows them shortened, the
    // status bar whole.
    entry->setText(used ? QFile::decodeName(RecentFileMenuText(i, files[i]).c_str()) : QString());
    entry->setStatusTip(used ? QFile::decodeName(files[i].c_str()) : QString());
    entry->setVisible(used);
  }
}

void TSDIDecFrame::BuildToolbar() {
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
    action->setIcon(QIcon(ToolbarImage(id)));
    action->setEnabled(false);  // until the first idle pass
    toolbar_->addAction(action);
  }
  addToolBar(Qt::TopToolBarArea, toolbar_);
}

QAction* TSDIDecFrame::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

void TSDIDecFrame::UpdateCommandStates() {
  TDynoforgeApp* app = TDynoforgeApp::Instance();
  for (const auto& [id, action] : actions_) {
    if (app && app->HandlesCommand(id)) {
      action->setEnabled(app->CommandEnabled(id));
      continue;
    }
    const CommandStatus status = client_->Status(id);
    action->setEnabled(status.Enabled);
    action->setCheckable(status.Checkable);
    if (status.Checkable) action->setChecked(status.Checked);
  }
  ShowRecentFiles();
}

void TSDIDecFrame::Command(int id) {
  if (id == CmExit) {
    close();
  } else if (TDynoforgeApp* app = TDynoforgeApp::Instance(); app && app->HandlesCommand(id)) {
    app->Command(id, this);
  } else {
    client_->Command(id);
  }
  UpdateCommandStates();
}

void TSDIDecFrame::closeEvent(QCloseEvent* event) {
  if (client_->CanClose()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace dyno
