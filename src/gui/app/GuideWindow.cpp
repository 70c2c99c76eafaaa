#include "gui/app/GuideWindow.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QPixmap>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "gui/resources/Images.h"

namespace dyno {

namespace {

// The size of a picture the document has read: Qt keeps an image, or the
// file's bytes until it first draws them.
QSize PictureSize(const QVariant& resource) {
  if (resource.canConvert<QImage>()) {
    const QImage image = resource.value<QImage>();
    if (!image.isNull()) return image.size();
  }
  if (resource.canConvert<QPixmap>()) {
    const QPixmap pixmap = resource.value<QPixmap>();
    if (!pixmap.isNull()) return pixmap.size();
  }
  if (resource.typeId() == QMetaType::QByteArray) return QImage::fromData(resource.toByteArray()).size();
  return {};
}

}  // namespace

QStringList UserGuideFolders() {
  const QDir program(QCoreApplication::applicationDirPath());
  QStringList folders;
#ifdef DYNOFORGE_GUIDE_FROM_PROGRAM
  folders << QDir::cleanPath(program.filePath(QStringLiteral(DYNOFORGE_GUIDE_FROM_PROGRAM)));
#endif
  folders << program.filePath(QStringLiteral("guide"));
#ifdef DYNOFORGE_SOURCE_DOCS
  folders << QDir::cleanPath(QStringLiteral(DYNOFORGE_SOURCE_DOCS));
#endif
  return folders;
}

QString FindUserGuide(const QStringList& folders) {
  for (const QString& folder : folders) {
    const QFileInfo file(QDir(folder).filePath(QLatin1String(UserGuideFileName)));
    if (file.isFile() && file.isReadable()) return file.absoluteFilePath();
  }
  return {};
}

GuideWindow::GuideWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
  setObjectName(QStringLiteral("UserGuide"));
  setWindowTitle(QStringLiteral("Dynoforge User Guide"));
  setWindowIcon(ApplicationIcon());
  browser_ = new QTextBrowser(this);
  browser_->setObjectName(QStringLiteral("GuideText"));
  // Offline: a link out of the guide opens in the desktop's browser, if at all.
  browser_->setOpenExternalLinks(true);
  browser_->document()->setUndoRedoEnabled(false);
  // The guide is always longer than the window: a bar that came and went
  // would change the width the pictures are fitted to.
  browser_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  browser_->viewport()->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  // Closed as a dialog is; F1 in the editor brings it back.
  auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(close, &QShortcut::activated, this, &QWidget::close);
  resize(820, 700);
}

void GuideWindow::Load(const QString& file) {
  file_ = file;
  browser_->setSource(QUrl::fromLocalFile(file), QTextDocument::MarkdownResource);
  FitPictures();
  browser_->verticalScrollBar()->setValue(0);
}

bool GuideWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == browser_->viewport() && event->type() == QEvent::Resize) FitPictures();
  return QWidget::eventFilter(watched, event);
}

void GuideWindow::FitPictures() {
  QTextDocument& doc = *browser_->document();
  const int room = static_cast<int>(browser_->viewport()->width() - 2 * doc.documentMargin()) - 4;
  struct Picture {
    int position;
    int length;
    QTextImageFormat format;
  };
  std::vector<Picture> pictures;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (fragment.isValid() && fragment.charFormat().isImageFormat()) {
        pictures.push_back({fragment.position(), fragment.length(), fragment.charFormat().toImageFormat()});
      }
    }
  }
  for (Picture& picture : pictures) {
    // Reading the picture here, not first when it is drawn: its size decides
    // the layout.
    const QSize natural = PictureSize(doc.resource(QTextDocument::ImageResource, QUrl(picture.format.name())));
    if (natural.isEmpty()) continue;
    const int width = room > 0 ? std::min(natural.width(), room) : natural.width();
    const int height = natural.height() * width / natural.width();
    if (picture.format.width() == width && picture.format.height() == height) continue;
    picture.format.setWidth(width);
    picture.format.setHeight(height);
    QTextCursor cursor(&doc);
    cursor.setPosition(picture.position);
    cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
    cursor.setCharFormat(picture.format);
  }
}

}  // namespace dyno
