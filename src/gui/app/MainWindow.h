#pragma once

#include <QMainWindow>

#include <functional>
#include <map>
#include <span>
#include <string>
#include <vector>

#include "core/document/CommandRules.h"
#include "core/resources/CommandTable.h"
#include "gui/common/CommandHandlers.h"

class QAction;
class QActionGroup;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QMenu;
class QToolBar;

namespace dyno {

class EditorWidget;

// The main frame: menu bar, dockable toolbar and status bar around the
// editor window. Command states are refreshed whenever the event loop is
// about to wait and whenever a menu is about to show.
class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  explicit MainWindow(QWidget* parent = nullptr);
  ~MainWindow() override;

  // What the application adds to every main window: the handlers of the
  // commands it owns (printing, the guide, About), and whether a print job
  // is laying the window out as pages. A frame made without them has none.
  struct ApplicationHooks {
    std::function<void(CommandHandlers&, MainWindow&)> BindCommands;
    std::function<bool()> Printing;
  };
  static void SetApplicationHooks(ApplicationHooks hooks);

  EditorWidget* Client() const { return client_; }
  QToolBar* Toolbar() const { return toolbar_; }

  // The action of a command id (menu item and toolbar button share it).
  QAction* Action(int id) const;

  // Runs every command's enabling rule and updates the actions.
  void UpdateCommandStates();

  // Carries out a command as if chosen from the menu, through the handler
  // bound to it.
  void Command(int id);
  // Whether a command is available and checked: its rule over the document
  // and what its handler knows besides.
  CommandStatus Status(int id) const;

  // Opens the file at path as File > Open would once it is chosen, after
  // offering to save unsaved changes: a dropped file, the command line's.
  void OpenFile(const QString& path);

 protected:
  void closeEvent(QCloseEvent* event) override;
  // One local file dropped from a file manager is opened.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void AddMenuItems(QMenu& menu, MenuId items);
  // Brings the entries of File > Recent Files in line with the list.
  void ShowRecentFiles();
  bool DropOpens(const QDropEvent& event) const;
  void BuildToolbar();
  QAction* MakeAction(int id);

  EditorWidget* client_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  CommandHandlers handlers_;
  std::map<int, QAction*> actions_;
  std::map<int, QActionGroup*> radioGroups_;
  QLabel* readout_ = nullptr;  // the peaks of the curve shown
  std::vector<std::string> shownRecentFiles_;
  bool recentFilesShown_ = false;
};

}  // namespace dyno
