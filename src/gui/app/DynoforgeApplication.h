#pragma once

#include <QApplication>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

#include "gui/app/ChartPrintout.h"
#include "gui/app/GuideWindow.h"
#include "gui/common/CommandHandlers.h"

class QPrinter;

namespace dyno {

class MainWindow;

// The application: builds the main frame and carries out the commands that
// are the application's rather than the editor window's: printing, print
// setup, print preview and About.
class DynoforgeApplication : public QApplication {
  Q_OBJECT

 public:
  DynoforgeApplication(int& argc, char** argv);
  ~DynoforgeApplication() override;

  static DynoforgeApplication* Instance();

  // Creates, places and decorates the main frame; Run shows it and runs the
  // event loop until it closes.
  MainWindow* InitMainWindow();
  int Run(const QString& file = QString());
  void ShowMainWindow();
  // What Run does before the event loop: the main frame, shown, and file
  // (from the command line; none when empty) opened as soon as the loop runs.
  MainWindow* Start(const QString& file);

  MainWindow* MainFrame() const { return frame_.get(); }

  // Binds the application's commands for frame: printing, print setup,
  // print preview, the user guide and About.
  void BindCommands(CommandHandlers& handlers, MainWindow& frame);
  // Whether the print commands are available: grayed until the main window
  // first painted, and while the printer object made is no printer.
  bool PrinterReady() const;

  // Above zero while a print job or the print preview runs.
  int Printing = 0;

  // The printer object, made when first asked for (a print command asks),
  // replaced when the system's default printer changes.
  QPrinter* Printer();
  // The page numbers kept with it.
  PrintPageSetup& PrinterSetup() { return printerSetup_; }

  // What names the system's default printer (DefaultPrinterEntry), or an
  // empty text when there is none. Tests put in their own.
  void SetDefaultPrinterQuery(std::function<QString()> query);

  // The folders the user guide is looked for in (UserGuideFolders); tests
  // put in their own. The guide's window while one is open.
  void SetGuideFolders(const QStringList& folders) { guideFolders_ = folders; }
  GuideWindow* Guide() const { return guide_; }

 private:
  void Print(MainWindow& frame);
  void PrintSetup(MainWindow& frame);
  void PrintPreview(MainWindow& frame);
  void About(MainWindow& frame);
  void UserGuide(MainWindow& frame);
  void CreatePrinter();
  // Before every print command: when the default printer changed since the
  // last look, the printer object is replaced unless it is that printer.
  void CheckDefaultPrinter();

  std::unique_ptr<MainWindow> frame_;
  std::unique_ptr<QPrinter> printer_;
  bool printerDeferred_ = false;  // until the main window first painted
  PrintPageSetup printerSetup_;
  std::function<QString()> defaultPrinterQuery_;
  QString defaultPrinterEntry_;
  QStringList guideFolders_;
  QPointer<GuideWindow> guide_;  // one for all, belongs to the frame it was opened from
};

}  // namespace dyno
