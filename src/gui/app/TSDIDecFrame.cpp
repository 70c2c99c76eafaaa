#include "gui/app/TSDIDecFrame.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QCloseEvent>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

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
  QList<QKeySequence> keys;
  for (const std::string_view key : CommandKeys(id)) keys.append(QKeySequence(FromBytes(key)));
  action->setShortcuts(keys);
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
    for (const MenuItemDef& item : popup.Items) {
      if (item.Id == 0) {
        menu->addSeparator();
        continue;
      }
      menu->addAction(MakeAction(item.Id, FromBytes(item.Text)));
    }
  }
  // Grayed until their enabling rule first runs.
  for (const int id : {CmSaveAs, CmPrintPreview, CmPrint, CmPrintSetup}) Action(id)->setEnabled(false);
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
    if (!status.Text.empty()) action->setText(FromBytes(status.Text));
    action->setCheckable(status.Checkable);
    if (status.Checkable) action->setChecked(status.Checked);
  }
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
