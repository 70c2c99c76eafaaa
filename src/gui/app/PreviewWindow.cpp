#include "gui/app/PreviewWindow.h"

#include <QAbstractEventDispatcher>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QEventLoop>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QResizeEvent>
#include <QToolBar>
#include <QToolButton>
#include <algorithm>

#include "core/app/PreviewLayout.h"
#include "core/resources/Commands.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/DynoforgeApplication.h"
#include "gui/app/MainWindow.h"
#include "gui/common/DialogSupport.h"
#include "gui/document/EditorWidget.h"
#include "gui/resources/Images.h"

namespace dyno {

namespace {

QRect ToQRect(const Rect& r) { return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1)); }

// A preview sheet is drawn at most this many times its size before it is
// reduced to it.
constexpr qreal MaxSupersampling = 3.0;

}  // namespace

// --- PreviewPage -------------------------------------------------------------

PreviewPage::PreviewPage(ChartPrintout& printout, const QSize& printableExtent, const QSize& ppi, QWidget* parent)
    : QWidget(parent), printout_(printout), extent_(printableExtent), ppi_(ppi) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void PreviewPage::SetPageNumber(int pageNumber) {
  pageNumber_ = pageNumber;
  Render();
  update();
}

void PreviewPage::Render() {
  // At least one pixel, so that a page not yet laid out still announces the
  // page range.
  const QSize size = this->size().expandedTo(QSize(1, 1));
  sheet_ = QImage(size, QImage::Format_RGB32);
  sheet_.fill(Qt::white);
  QPainter painter(&sheet_);
  const QSize paper = size - QSize(2, 2);
  if (pageNumber_ > 0 && printout_.HasPage(pageNumber_) && !paper.isEmpty() && !extent_.isEmpty()) {
    // The page is drawn larger, up to its size on screen, and then reduced
    // smoothly, so one-pixel lines stay visible as they would on paper.
    const QSize screen = printout_.PageClientSize(extent_, ppi_);
    const qreal factor = std::clamp(std::min(static_cast<qreal>(screen.width()) / paper.width(),
                                             static_cast<qreal>(screen.height()) / paper.height()),
                                    1.0, MaxSupersampling);
    const QSize drawn(static_cast<int>(paper.width() * factor), static_cast<int>(paper.height() * factor));
    QImage page(drawn, QImage::Format_RGB32);
    page.fill(Qt::white);
    {
      QPainter pagePainter(&page);
      // Printer pixels onto the sheet, as the page would come out of the printer.
      pagePainter.scale(static_cast<qreal>(drawn.width()) / extent_.width(),
                        static_cast<qreal>(drawn.height()) / extent_.height());
      printout_.PrintPage(pagePainter, pageNumber_, extent_, ppi_);
    }
    painter.drawImage(1, 1,
                      drawn == paper ? page : page.scaled(paper, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  }
  painter.setPen(Qt::black);
  painter.drawRect(0, 0, size.width() - 1, size.height() - 1);
}

void PreviewPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, sheet_);
}

void PreviewPage::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Render();
}

// --- PreviewWindow ------------------------------------------------------------

PreviewWindow::PreviewWindow(EditorWidget& window, QPrinter& printer, PrintPageSetup& setup,
                               const QString& frameCaption, QWidget* parent)
    : QMainWindow(parent),
      window_(window),
      printer_(printer),
      setup_(setup),
      frameCaption_(frameCaption),
      extent_(printer.width(), printer.height()),
      ppi_(printer.logicalDpiX(), printer.logicalDpiY()),
      printout_(window, setup, QStringLiteral("Print Preview")) {
  setObjectName(QStringLiteral("PreviewWindow"));

  layout_ = new QWidget(this);
  layout_->setObjectName(QStringLiteral("PreviewLayout"));
  QPalette workspace = layout_->palette();
  workspace.setColor(QPalette::Window, workspace.color(QPalette::Dark));
  layout_->setPalette(workspace);
  layout_->setAutoFillBackground(true);
  layout_->installEventFilter(this);
  setCentralWidget(layout_);

  BindCommands();
  BuildToolbar();

  // Idle-time enabling, as in the main frame.
  if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &PreviewWindow::UpdateCommandStates);
  }
}

PreviewWindow::~PreviewWindow() = default;

QAction* PreviewWindow::MakeButton(int id) {
  const CommandRecord& record = *FindCommand(id);
  // Print shows the main toolbar's printer.
  const QPixmap image = id == CmPrint ? ToolbarImage(record.Image) : PreviewImage(record.Image);
  auto* action = new QAction(QIcon(image), FromBytes(record.Text), this);
  action->setObjectName(FromBytes(record.Name));
  action->setData(id);
  QList<QKeySequence> keys;
  for (const std::string_view key : record.Keys) keys.append(QKeySequence(FromBytes(key)));
  if (!keys.isEmpty()) action->setShortcuts(keys);
  connect(action, &QAction::triggered, this, [this, id] { Command(id); });
  actions_[id] = action;
  toolbar_->addAction(action);
  // Each button as large as its own bitmap.
  if (auto* button = qobject_cast<QToolButton*>(toolbar_->widgetForAction(action))) {
    button->setIconSize(image.size());
  }
  return action;
}

void PreviewWindow::BindCommands() {
  handlers_[CmPreviewPrevious] = {[this] { PreviousPage(); }, [this] { return FromPage != 1; }};
  handlers_[CmPreviewNext] = {[this] { NextPage(); }, [this] { return ToPage != setup_.MaxPage; }};
  handlers_[CmPreviewOnePage] = {[this] { OnePage(); }, {}};
  handlers_[CmPreviewTwoPages] = {[this] { TwoPages(); }, [this] { return extent_.width() <= extent_.height(); }};
  handlers_[CmPreviewClose] = {[this] { ClosePreview(); }, {}};
  // Printed as from the main frame, which looks at the printer first.
  handlers_[CmPrint] = {[this] {
                          DynoforgeApplication* app = DynoforgeApplication::Instance();
                          MainWindow* frame = qobject_cast<MainWindow*>(window_.window());
                          if (!frame && app) frame = app->MainFrame();
                          if (frame) frame->Command(CmPrint);
                        },
                        [] {
                          const DynoforgeApplication* app = DynoforgeApplication::Instance();
                          return app && app->PrinterReady();
                        }};
}

void PreviewWindow::AddGap(int width) {
  auto* gap = new QWidget(toolbar_);
  gap->setFixedWidth(width);
  toolbar_->addWidget(gap);
}

void PreviewWindow::BuildToolbar() {
  toolbar_ = new QToolBar(QStringLiteral("Preview"), this);
  toolbar_->setObjectName(QStringLiteral("PreviewToolbar"));
  toolbar_->setMovable(false);
  toolbar_->setFloatable(false);
  QFont gadgetFont = toolbar_->font();
  gadgetFont.setPointSize(10);
  toolbar_->setFont(gadgetFont);
  toolbar_->setIconSize(QSize(39, 20));

  MakeButton(CmPreviewPrevious);
  MakeButton(CmPreviewNext);
  AddGap(6);
  QAction* one = MakeButton(CmPreviewOnePage);
  QAction* two = MakeButton(CmPreviewTwoPages);
  auto* pages = new QActionGroup(this);
  pages->setExclusive(true);
  for (QAction* action : {one, two}) {
    action->setCheckable(true);
    pages->addAction(action);
  }
  one->setChecked(true);
  AddGap(12);

  pageText_ = new QLabel(QStringLiteral("Page 1"), toolbar_);
  pageText_->setObjectName(QStringLiteral("pageText"));
  pageText_->setFont(gadgetFont);
  pageText_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  pageText_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  pageText_->setMargin(2);
  pageText_->setFixedWidth(10 * pageText_->fontMetrics().averageCharWidth() + 2 * pageText_->frameWidth() + 4);
  toolbar_->addWidget(pageText_);
  AddGap(20);
  MakeButton(CmPrint);
  AddGap(20);
  MakeButton(CmPreviewClose);

  addToolBar(Qt::TopToolBarArea, toolbar_);
}

void PreviewWindow::SetupWindow() {
  setWindowTitle(frameCaption_ + QStringLiteral(" (Preview)"));
  setWindowIcon(ApplicationIcon());

  // The first page's rendering announces the real page range.
  setup_.MaxPage = 1;
  page1_ = new PreviewPage(printout_, extent_, ppi_, layout_);
  page1_->setObjectName(QStringLiteral("PreviewPage1"));
  LayOutPages();
  page1_->SetPageNumber(FromPage);
  page1_->show();
  ShowPageText();
  UpdateCommandStates();
}

int PreviewWindow::RunModal() {
  QEventLoop loop;
  loop_ = &loop;
  const int result = loop.exec();
  loop_ = nullptr;
  return result;
}

QAction* PreviewWindow::Action(int id) const {
  const auto it = actions_.find(id);
  return it == actions_.end() ? nullptr : it->second;
}

bool PreviewWindow::CommandEnabled(int id) const {
  const auto handler = handlers_.find(id);
  return handler != handlers_.end() && (!handler->second.Enabled || handler->second.Enabled());
}

void PreviewWindow::UpdateCommandStates() {
  for (const auto& [id, action] : actions_) action->setEnabled(CommandEnabled(id));
}

void PreviewWindow::Command(int id) {
  if (!CommandEnabled(id)) return;
  handlers_.at(id).Run();
  // The buttons show the pages now shown.
  if (QAction* two = Action(CmPreviewTwoPages)) two->setChecked(page2_ != nullptr);
  if (QAction* one = Action(CmPreviewOnePage)) one->setChecked(page2_ == nullptr);
  UpdateCommandStates();
}

void PreviewWindow::PreviousPage() {
  if (FromPage <= setup_.MinPage) return;
  --FromPage;
  --ToPage;
  page1_->SetPageNumber(FromPage);
  if (page2_) page2_->SetPageNumber(ToPage);
  ShowPageText();
}

void PreviewWindow::NextPage() {
  if (ToPage >= setup_.MaxPage) return;
  ++FromPage;
  ++ToPage;
  page1_->SetPageNumber(FromPage);
  if (page2_) page2_->SetPageNumber(ToPage);
  ShowPageText();
}

void PreviewWindow::OnePage() {
  if (page2_) {
    delete page2_;
    page2_ = nullptr;
    LayOutPages();
  }
  ToPage = FromPage;
  ShowPageText();
}

void PreviewWindow::TwoPages() {
  if (page2_) return;
  page2_ = new PreviewPage(printout_, extent_, ppi_, layout_);
  page2_->setObjectName(QStringLiteral("PreviewPage2"));
  LayOutPages();
  if (setup_.MaxPage == FromPage) {
    if (FromPage < 2) {
      page2_->SetPageNumber(0);  // a single page: the second sheet stays blank
    } else {
      --FromPage;
      ToPage = FromPage + 1;
      page1_->SetPageNumber(FromPage);
      page2_->SetPageNumber(ToPage);
    }
  } else {
    ToPage = FromPage + 1;
    page2_->SetPageNumber(ToPage);
  }
  page2_->show();
  ShowPageText();
}

void PreviewWindow::ClosePreview() {
  if (loop_) loop_->exit(0);
}

void PreviewWindow::LayOutPages() {
  if (!page1_) return;
  const Rect first = FirstPreviewPage(layout_->width(), layout_->height(), extent_.width(), extent_.height());
  page1_->setGeometry(ToQRect(first));
  if (page2_) page2_->setGeometry(ToQRect(SecondPreviewPage(first)));
}

void PreviewWindow::ShowPageText() {
  const bool onePage = page2_ == nullptr || FromPage == ToPage;
  pageText_->setText(onePage ? QStringLiteral("Page %1").arg(FromPage) : QStringLiteral("Page %1 - %2").arg(FromPage).arg(ToPage));
}

void PreviewWindow::closeEvent(QCloseEvent* event) {
  // The close box ends the preview like Close; the window stays until the
  // application has put the frame back, so the program never finds itself
  // without a window.
  event->ignore();
  ClosePreview();
}

bool PreviewWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == layout_ && event->type() == QEvent::Resize) LayOutPages();
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace dyno
