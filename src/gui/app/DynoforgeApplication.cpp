#include "gui/app/DynoforgeApplication.h"

#include <QDir>
#include <QGuiApplication>
#include <QPrinter>
#include <QScreen>

#include "core/resources/ResourceIds.h"
#include "gui/app/AppStyle.h"
#include "gui/app/GuideWindow.h"
#include "gui/app/MainWindow.h"
#include "gui/common/UserDialogs.h"
#include "gui/document/EditorWidget.h"

// The images are compiled into the shell library, which needs asking for.
static void InitImages() { Q_INIT_RESOURCE(images); }

namespace dyno {

DynoforgeApplication::DynoforgeApplication(int& argc, char** argv)
    : QApplication(argc, argv), defaultPrinterQuery_(&DefaultPrinterEntry), guideFolders_(UserGuideFolders()) {
  InitImages();
  setStyle(new AppStyle(style()->name()));
  setApplicationName(QStringLiteral("Dynoforge"));
  setApplicationVersion(QStringLiteral(DYNOFORGE_VERSION));
  MainWindow::SetApplicationHooks({[this](CommandHandlers& handlers, MainWindow& frame) { BindCommands(handlers, frame); },
                                   [this] { return Printing != 0; }});
}

DynoforgeApplication::~DynoforgeApplication() { MainWindow::SetApplicationHooks({}); }

DynoforgeApplication* DynoforgeApplication::Instance() { return qobject_cast<DynoforgeApplication*>(QCoreApplication::instance()); }

MainWindow* DynoforgeApplication::InitMainWindow() {
  frame_ = std::make_unique<MainWindow>();
  const QScreen* screen = QGuiApplication::primaryScreen();
  const QSize size = screen ? screen->size() : QSize(1024, 768);
  frame_->move(40, 30);
  frame_->resize(size.width() - 80, size.height() - 60);
  return frame_.get();
}

int DynoforgeApplication::Run(const QString& file) {
  Start(file);
  return exec();
}

MainWindow* DynoforgeApplication::Start(const QString& file) {
  MainWindow* frame = InitMainWindow();
  ShowMainWindow();
  // Queued: the window is on the screen before any message about the file,
  // and a message leaves it running.
  if (!file.isEmpty()) QMetaObject::invokeMethod(frame, [frame, file] { frame->OpenFile(file); }, Qt::QueuedConnection);
  return frame;
}

void DynoforgeApplication::ShowMainWindow() {
  // The print commands stay grayed until the window is on the screen.
  printerDeferred_ = true;
  EditorWidget* client = frame_->Client();
  connect(client, &EditorWidget::Painted, this, [this] { printerDeferred_ = false; }, Qt::SingleShotConnection);
  frame_->show();
}

bool DynoforgeApplication::PrinterReady() const {
  // Asking the system for its printers loads the print support and may
  // wait on a print server (tens of milliseconds): not in the idle pass.
  // A new printer object is always valid, the default printer or, with
  // none, a PDF file, so only one made already can say no.
  return !printerDeferred_ && (!printer_ || printer_->isValid());
}

void DynoforgeApplication::BindCommands(CommandHandlers& handlers, MainWindow& frame) {
  const auto printing = [this, &frame](void (DynoforgeApplication::*run)(MainWindow&)) {
    return CommandHandler{[this, &frame, run] {
                            CheckDefaultPrinter();
                            if (PrinterReady()) (this->*run)(frame);
                          },
                          [this] { return PrinterReady(); }};
  };
  handlers[CmPrint] = printing(&DynoforgeApplication::Print);
  handlers[CmPrintSetup] = printing(&DynoforgeApplication::PrintSetup);
  handlers[CmPrintPreview] = printing(&DynoforgeApplication::PrintPreview);
  handlers[CmAbout] = {[this, &frame] { About(frame); }, {}};
  handlers[CmUserGuide] = {[this, &frame] { UserGuide(frame); }, {}};
}

void DynoforgeApplication::UserGuide(MainWindow& frame) {
  const QString file = FindUserGuide(guideFolders_);
  if (file.isEmpty()) {
    QString text = QStringLiteral("The user guide (%1) was not found. Dynoforge looked for it in:")
                       .arg(QLatin1String(UserGuideFileName));
    for (const QString& folder : guideFolders_) text += QLatin1Char('\n') + QDir::toNativeSeparators(folder);
    frame.Client()->Dialogs().Message(&frame, text, QStringLiteral("GUIDE NOT FOUND!"));
    return;
  }
  // One guide window, brought back to the front where it is open already.
  if (!guide_) guide_ = new GuideWindow(&frame);
  if (guide_->File() != file) guide_->Load(file);
  guide_->show();
  guide_->raise();
  guide_->activateWindow();
}

}  // namespace dyno
