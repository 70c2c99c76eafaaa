#pragma once

#include <QImage>
#include <QMainWindow>
#include <QSize>

#include <map>
#include <memory>

#include "gui/app/ChartPrintout.h"
#include "gui/common/CommandHandlers.h"

class QAction;
class QEventLoop;
class QLabel;
class QPrinter;
class QToolBar;

namespace dyno {

class EditorWidget;

// One page of the print preview: a sheet of paper with a thin border showing
// a printout page scaled to the sheet, or nothing for page 0.
class PreviewPage : public QWidget {
  Q_OBJECT

 public:
  PreviewPage(ChartPrintout& printout, const QSize& printableExtent, const QSize& ppi, QWidget* parent);

  // Renders page pageNumber (0: a blank sheet). Rendering a page announces
  // the printout's page range.
  void SetPageNumber(int pageNumber);
  int PageNumber() const { return pageNumber_; }

  // The sheet as last rendered, border included.
  const QImage& Sheet() const { return sheet_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Render();

  ChartPrintout& printout_;
  QSize extent_;
  QSize ppi_;
  int pageNumber_ = 0;
  QImage sheet_;
};

// The print preview: a window of its own that takes the main frame's place,
// with a toolbar to page through the printout one or two pages at a time,
// print it, or close the preview.
class PreviewWindow : public QMainWindow {
  Q_OBJECT

 public:
  PreviewWindow(EditorWidget& window, QPrinter& printer, PrintPageSetup& setup, const QString& frameCaption,
                 QWidget* parent = nullptr);
  ~PreviewWindow() override;

  // Caption, icon and the first page laid out in the window.
  void SetupWindow();

  // Runs a nested event loop until the preview is closed.
  int RunModal();

  void Command(int id);
  bool CommandEnabled(int id) const;
  // Runs every toolbar button's enabling rule.
  void UpdateCommandStates();

  QAction* Action(int id) const;
  QToolBar* Toolbar() const { return toolbar_; }
  QLabel* PageText() const { return pageText_; }
  PreviewPage* Page1() const { return page1_; }
  PreviewPage* Page2() const { return page2_; }
  QWidget* LayoutWindow() const { return layout_; }
  ChartPrintout& Printout() { return printout_; }

  // Printer pixels of the printable page.
  QSize PrintableExtent() const { return extent_; }

  int FromPage = 1;
  int ToPage = 1;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildToolbar();
  void BindCommands();
  QAction* MakeButton(int id);
  void AddGap(int width);
  void PreviousPage();
  void NextPage();
  void OnePage();
  void TwoPages();
  void ClosePreview();
  void LayOutPages();
  void ShowPageText();

  EditorWidget& window_;
  QPrinter& printer_;
  PrintPageSetup& setup_;
  QString frameCaption_;
  QSize extent_;
  QSize ppi_;
  ChartPrintout printout_;
  QWidget* layout_ = nullptr;
  PreviewPage* page1_ = nullptr;
  PreviewPage* page2_ = nullptr;
  QToolBar* toolbar_ = nullptr;
  QLabel* pageText_ = nullptr;
  CommandHandlers handlers_;
  std::map<int, QAction*> actions_;
  QEventLoop* loop_ = nullptr;
};

}  // namespace dyno
