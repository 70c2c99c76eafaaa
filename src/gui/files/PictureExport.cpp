#include "gui/files/PictureExport.h"

#include <QBuffer>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QImage>
#include <QLineEdit>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <QVBoxLayout>

#include <vector>

#include "core/chart/PrintedPage.h"
#include "core/editing/EditorState.h"
#include "core/editing/ModeCommands.h"
#include "core/files/SaveFile.h"
#include "gui/chart/ChartPainter.h"
#include "gui/common/FileNames.h"
#include "gui/common/UserDialogs.h"
#include "gui/common/EditorWindow.h"
#include "gui/files/FileCommands.h"

namespace dyno {

namespace {

// The view draws a curve segment by segment. Painted through this engine onto
// an SVG generator, the segments that join end to end in one pen become one
// path, so the file carries each curve as a path a drawing program can pick
// up; everything else is passed on as it is drawn.
class PathJoiningEngine : public QPaintEngine {
 public:
  explicit PathJoiningEngine(QPaintDevice& target) : QPaintEngine(AllFeatures), target_(target) {}

  bool begin(QPaintDevice*) override { return out_.begin(&target_); }
  bool end() override {
    Flush();
    return out_.end();
  }
  Type type() const override { return User; }

  void updateState(const QPaintEngineState& now) override {
    Flush();
    const DirtyFlags dirty = now.state();
    if (dirty & DirtyPen) out_.setPen(now.pen());
    if (dirty & DirtyBrush) out_.setBrush(now.brush());
    if (dirty & DirtyBrushOrigin) out_.setBrushOrigin(now.brushOrigin());
    if (dirty & DirtyFont) out_.setFont(now.font());
    if (dirty & DirtyBackground) out_.setBackground(now.backgroundBrush());
    if (dirty & DirtyBackgroundMode) out_.setBackgroundMode(now.backgroundMode());
    if (dirty & DirtyTransform) out_.setTransform(now.transform());
    if (dirty & DirtyClipRegion) out_.setClipRegion(now.clipRegion(), now.clipOperation());
    if (dirty & DirtyClipPath) out_.setClipPath(now.clipPath(), now.clipOperation());
    if (dirty & DirtyClipEnabled) out_.setClipping(now.isClipEnabled());
    if (dirty & DirtyHints) out_.setRenderHints(now.renderHints());
    if (dirty & DirtyCompositionMode) out_.setCompositionMode(now.compositionMode());
    if (dirty & DirtyOpacity) out_.setOpacity(now.opacity());
  }

  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) Join(lines[i].p1(), lines[i].p2());
  }
  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) Join(lines[i].p1(), lines[i].p2());
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
    if (mode == PolylineMode) {
      for (int i = 0; i + 1 < count; ++i) Join(points[i], points[i + 1]);
      return;
    }
    Flush();
    out_.drawPolygon(points, count, mode == WindingMode ? Qt::WindingFill : Qt::OddEvenFill);
  }
  void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
    std::vector<QPointF> exact(points, points + count);
    drawPolygon(exact.data(), count, mode);
  }
  void drawPath(const QPainterPath& path) override {
    Flush();
    out_.drawPath(path);
  }
  void drawRects(const QRectF* rects, int count) override {
    Flush();
    out_.drawRects(rects, count);
  }
  void drawRects(const QRect* rects, int count) override {
    Flush();
    out_.drawRects(rects, count);
  }
  void drawPoints(const QPointF* points, int count) override {
    Flush();
    out_.drawPoints(points, count);
  }
  void drawEllipse(const QRectF& rect) override {
    Flush();
    out_.drawEllipse(rect);
  }
  void drawTextItem(const QPointF& at, const QTextItem& text) override {
    Flush();
    out_.drawTextItem(at, text);
  }
  void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override {
    Flush();
    out_.drawPixmap(rect, pixmap, source);
  }
  void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                 Qt::ImageConversionFlags flags) override {
    Flush();
    out_.drawImage(rect, image, source, flags);
  }
  void drawTiledPixmap(const QRectF& rect, const QPixmap& pixmap, const QPointF& offset) override {
    Flush();
    out_.drawTiledPixmap(rect, pixmap, offset);
  }

 private:
  void Join(const QPointF& from, const QPointF& to) {
    if (path_.elementCount() == 0 || path_.currentPosition() != from) {
      Flush();
      path_.moveTo(from);
    }
    path_.lineTo(to);
  }
  // Lines are never filled, whatever brush the painter holds.
  void Flush() {
    if (path_.elementCount() == 0) return;
    const QBrush brush = out_.brush();
    out_.setBrush(Qt::NoBrush);
    out_.drawPath(path_);
    out_.setBrush(brush);
    path_.clear();
  }

  QPaintDevice& target_;
  QPainter out_;
  QPainterPath path_;
};

// A device that paints through PathJoiningEngine onto target, measuring as
// target does.
class PathJoiningDevice : public QPaintDevice {
 public:
  explicit PathJoiningDevice(QPaintDevice& target) : target_(target), engine_(target) {}
  QPaintEngine* paintEngine() const override { return &engine_; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return target_.width();
      case PdmHeight: return target_.height();
      case PdmWidthMM: return target_.widthMM();
      case PdmHeightMM: return target_.heightMM();
      case PdmNumColors: return target_.colorCount();
      case PdmDepth: return target_.depth();
      case PdmDpiX: return target_.logicalDpiX();
      case PdmDpiY: return target_.logicalDpiY();
      case PdmPhysicalDpiX: return target_.physicalDpiX();
      case PdmPhysicalDpiY: return target_.physicalDpiY();
      default: return QPaintDevice::metric(metric);
    }
  }

 private:
  QPaintDevice& target_;
  mutable PathJoiningEngine engine_;
};

// The view laid out at size and painted as a printed page paints it: the
// value box, a widget of the window's own, is left empty.
void PaintPicture(QPainter& painter, EditorWindow& window, const QSize& size) {
  const EditorState& st = window.State();
  const auto picture = LayOutPicture(st.View, st.Chart, st.Doc, st.Session.Dyno, size.width(), size.height());
  ChartPaintRequest request = WindowPaintRequest(window.View(), QRect(QPoint(0, 0), size), true);
  request.clientSize = size;
  // The hover tip stands where the pointer was on the screen, not on a
  // picture laid out anew.
  request.hoverTip = false;
  PaintEditorView(painter, st, picture->View, picture->Chart, request);
}

QString FileTitleShown(const EditorDocument& doc) { return DecodedName(FileOf(doc, ShownData(doc)).Title); }

}  // namespace

ExportPictureDialog::ExportPictureDialog(const QSize& windowSize, UserDialogs& dialogs, QWidget* parent)
    : CenteredDialog(parent), dialogs_(dialogs) {
  setWindowTitle(QStringLiteral("Export Picture"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  layout->addLayout(form);
  formatBox_ = new QComboBox(this);
  formatBox_->setObjectName(QStringLiteral("formatCombo"));
  FillComboBox(*formatBox_, {QStringLiteral("PNG"), QStringLiteral("SVG")}, 0);
  widthEdit_ = new QLineEdit(QString::number(windowSize.width()), this);
  widthEdit_->setObjectName(QStringLiteral("widthEdit"));
  heightEdit_ = new QLineEdit(QString::number(windowSize.height()), this);
  heightEdit_->setObjectName(QStringLiteral("heightEdit"));
  form->addRow(QStringLiteral("Format:"), formatBox_);
  form->addRow(QStringLiteral("Width (pixels):"), widthEdit_);
  form->addRow(QStringLiteral("Height (pixels):"), heightEdit_);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->setObjectName(QStringLiteral("buttonBox"));
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
}

void ExportPictureDialog::accept() {
  int sides[2] = {0, 0};
  const std::pair<QLineEdit*, const char*> fields[] = {{widthEdit_, "Width"}, {heightEdit_, "Height"}};
  for (int k = 0; k < 2; ++k) {
    QLineEdit& edit = *fields[k].first;
    const PictureSide side = ReadPictureSide(fields[k].second, ToBytes(edit.text()));
    if (!side.Pixels) {
      dialogs_.Message(this, FromBytes(side.Refusal.Text), FromBytes(side.Refusal.Caption));
      edit.setFocus(Qt::OtherFocusReason);
      edit.selectAll();
      return;
    }
    sides[k] = *side.Pixels;
  }
  format_ = formatBox_->currentIndex() == 1 ? PictureFormat::Svg : PictureFormat::Png;
  size_ = QSize(sides[0], sides[1]);
  CenteredDialog::accept();
}

QByteArray PictureBytes(EditorWindow& window, PictureFormat format, const QSize& size) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (format == PictureFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(FileTitleShown(window.State().Doc));
    svg.setDescription(QStringLiteral("Dynoforge"));
    PathJoiningDevice device(svg);
    QPainter painter(&device);
    PaintPicture(painter, window, size);
    painter.end();
    return buffer.data();
  }
  QImage image;
  if (size == window.View().size()) {
    // The window's own pixels, its value box and scroll bar included.
    image = window.View().grab().toImage();
  } else {
    image = QImage(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    PaintPicture(painter, window, size);
  }
  image.save(&buffer, "PNG");
  return buffer.data();
}

void ExportPictureCommand(EditorWindow& window) {
  UserDialogs& dialogs = window.Dialogs();
  QWidget* parent = window.DialogParent();
  ExportPictureDialog dialog(window.View().size(), dialogs, parent);
  if (dialogs.Run(dialog) != QDialog::Accepted) return;
  const PictureFormat format = dialog.Format();
  const bool svg = format == PictureFormat::Svg;
  const EditorDocument& doc = window.State().Doc;
  // The dialog does not ask about an existing file: the question below does,
  // the same on every platform.
  const FileDialogRequest request{QStringLiteral("Select or enter the Picture File name"),
                                  svg ? QStringLiteral("SVG Pictures (*.svg)") : QStringLiteral("PNG Pictures (*.png)"),
                                  QDir::currentPath(),
                                  DecodedName(PictureFileName(FileOf(doc, ShownData(doc)).Title, format))};
  const QFileInfo chosen(ChooseSaveTarget(dialogs, parent, request));
  if (chosen.filePath().isEmpty()) return;
  if (chosen.exists() &&
      dialogs.AskOverwriteChanged(parent,
                                  QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(chosen.fileName()),
                                  QStringLiteral("FILE EXISTS!")) != UserDialogs::OverwriteChoice::Overwrite) {
    return;
  }
  const QByteArray bytes = PictureBytes(window, format, dialog.Size());
  const SaveResult saved = SaveBytesAs(EncodedName(chosen.absolutePath()), EncodedName(chosen.fileName()),
                                       std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  ShowMessages(dialogs, parent, saved.Messages);
  if (saved.Status != SaveStatus::Saved && saved.Messages.empty()) {
    dialogs.Message(parent, QStringLiteral("%1 was not written.").arg(chosen.absoluteFilePath()),
                    QStringLiteral("FILE ERROR!"));
  }
}

}  // namespace dyno
