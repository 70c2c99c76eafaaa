#pragma once

#include <QApplication>

#include <memory>

class QPrinter;

namespace dyno {

class TSDIDecFrame;

// The application: builds the main frame and carries out the commands that
// are the application's rather than the editor window's: printing, print
// setup, print preview and About.
class TDynoforgeApp : public QApplication {
  Q_OBJECT

 public:
  TDynoforgeApp(int& argc, char** argv);
  ~TDynoforgeApp() override;

  static TDynoforgeApp* Instance();

  // Creates, places and decorates the main frame; Run shows it and runs the
  // event loop until it closes.
  TSDIDecFrame* InitMainWindow();
  int Run();

  TSDIDecFrame* MainFrame() const { return frame_.get(); }

  bool HandlesCommand(int id) const;
  bool CommandEnabled(int id);
  void Command(int id);

  // Above zero while a print job or the print preview runs.
  int Printing = 0;

 private:
  void Print();
  void PrintSetup();
  void PrintPreview();
  void About();
  bool PrinterReady();

  std::unique_ptr<TSDIDecFrame> frame_;
};

}  // namespace dyno
