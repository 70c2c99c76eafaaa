// Printing, print setup, print preview and the About box.
#include <QApplication>
#include <QPrinter>

#include "gui/app/PreviewWindow.h"
#include "gui/common/DialogSupport.h"
#include "gui/app/ChartPrintout.h"
#include "gui/app/AboutDialog.h"
#include "gui/app/DynoforgeApplication.h"
#include "gui/app/MainWindow.h"
#include "gui/common/UserDialogs.h"
#include "gui/document/EditorWidget.h"

namespace dyno {

namespace {

// Longest frame caption taken as the document title.
constexpr int TitleLimit = 259;

// Printing raised for as long as it lives; the editor window may then grow
// to the size of a page.
class PrintingScope {
 public:
  PrintingScope(DynoforgeApplication& app, EditorWidget& window) : app_(app), window_(window) {
    ++app_.Printing;
    window_.SetPrinting(true);
  }
  ~PrintingScope() {
    --app_.Printing;
    window_.SetPrinting(app_.Printing > 0);
  }
  PrintingScope(const PrintingScope&) = delete;
  PrintingScope& operator=(const PrintingScope&) = delete;

 private:
  DynoforgeApplication& app_;
  EditorWidget& window_;
};

}  // namespace

void DynoforgeApplication::SetDefaultPrinterQuery(std::function<QString()> query) {
  defaultPrinterQuery_ = query ? std::move(query) : std::function<QString()>(&DefaultPrinterEntry);
  defaultPrinterEntry_ = defaultPrinterQuery_();
}

void DynoforgeApplication::CreatePrinter() {
  printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printerSetup_ = PrintPageSetup{};
  defaultPrinterEntry_ = defaultPrinterQuery_();
}

QPrinter* DynoforgeApplication::Printer() {
  if (!printer_) CreatePrinter();
  return printer_.get();
}

void DynoforgeApplication::CheckDefaultPrinter() {
  const QString entry = defaultPrinterQuery_();
  if (entry == defaultPrinterEntry_) return;
  defaultPrinterEntry_ = entry;
  const bool stillTheDefault = printer_ && printer_->isValid() && !entry.isEmpty() && PrinterEntryOf(*printer_) == entry;
  if (printer_ && !stillTheDefault) CreatePrinter();
}

void DynoforgeApplication::Print(MainWindow& frame) {
  Printer();
  EditorWidget& window = *frame.Client();
  const QString title = ShownCaption(frame).left(TitleLimit);
  ChartPrintout printout(window, printerSetup_, title);
  printout.Scale = true;
  printout.Pages = INT_MAX;

  const PrintingScope printing(*this, window);
  // The dialog offers any page; the page range kept with the printer stays
  // the document's, which a preview open underneath goes on showing.
  const PrintDialogPages pages = printout.DialogPages();
  printer_->setPrintRange(QPrinter::AllPages);
  printer_->setFromTo(pages.SelectedFrom, pages.SelectedTo);
  printer_->setDocName(title);

  QWidget* owner = QApplication::activeWindow() ? QApplication::activeWindow() : &frame;
  UserDialogs& dialogs = window.Dialogs();
  if (!dialogs.Print(owner, *printer_, pages.First, pages.Last)) return;
  PrintDocument(printout, *printer_, dialogs, owner);
}

void DynoforgeApplication::PrintSetup(MainWindow& frame) {
  frame.Client()->Dialogs().PrintSetup(&frame, *Printer());
}

void DynoforgeApplication::PrintPreview(MainWindow& frame) {
  Printer();
  EditorWidget& window = *frame.Client();
  const PrintingScope printing(*this, window);

  auto preview = std::make_unique<PreviewWindow>(window, *printer_, printerSetup_, ShownCaption(frame));
  preview->SetupWindow();
  preview->setGeometry(frame.geometry());
  if (frame.isMaximized()) {
    preview->showMaximized();
  } else {
    preview->show();
  }
  frame.hide();

  preview->RunModal();

  // The frame comes back where the user left the preview.
  frame.setUpdatesEnabled(false);
  frame.setGeometry(preview->normalGeometry().isValid() ? preview->normalGeometry() : preview->geometry());
  if (preview->isMaximized()) {
    frame.showMaximized();
  } else {
    frame.showNormal();
  }
  frame.activateWindow();
  preview->hide();
  frame.setUpdatesEnabled(true);
  frame.update();
  window.update();
}

void DynoforgeApplication::About(MainWindow& frame) {
  AboutDialog dialog(&frame);
  frame.Client()->Dialogs().Run(dialog);
}

}  // namespace dyno
