#include "gui/app/AboutDialog.h"

#include <QDialogButtonBox>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/common/DialogSupport.h"
#include "gui/resources/Images.h"

namespace dyno {

namespace {

constexpr int TextLimit = 255;
constexpr int VersionWordLimit = 127;

// Dialog units of the dialog's font: a quarter of its average character
// width across, an eighth of its height down.
class DialogUnits {
 public:
  explicit DialogUnits(const QFont& font) {
    const QFontMetrics metrics(font);
    const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    baseX_ = (metrics.horizontalAdvance(letters) / 26 + 1) / 2;
    baseY_ = metrics.height();
  }
  QRect Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }
  QSize Size(int width, int height) const { return QSize(X(width), Y(height)); }

 private:
  int X(int units) const { return (units * baseX_ + 2) / 4; }
  int Y(int units) const { return (units * baseY_ + 4) / 8; }

  int baseX_ = 6;
  int baseY_ = 13;
};

QLabel* MakeStatic(QWidget* parent, const QString& text, QRect place, Qt::Alignment align, const char* name) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->setGeometry(place);
  label->setAlignment(align | Qt::AlignTop);
  label->setWordWrap(true);
  return label;
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent, const ProgramVersionInfo* version)
    : QDialog(parent), versionInfo_(version) {
  setObjectName(QStringLiteral("aboutDialog"));
  setWindowTitle(QStringLiteral("About Dynoforge"));
  setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
  const DialogUnits du(font());
  setFixedSize(du.Size(204, 65));

  MakeStatic(this, QStringLiteral("Dynoforge"), du.Rect(2, 4, 200, 8), Qt::AlignHCenter, "titleLabel");
  version_ = MakeStatic(this, QStringLiteral("Version"), du.Rect(2, 14, 200, 8), Qt::AlignHCenter, "versionLabel");
  notice_ = MakeStatic(this, QString(), du.Rect(2, 27, 200, 17), Qt::AlignHCenter, "noticeLabel");
  special_ = MakeStatic(this, QString(), du.Rect(136, 55, 66, 8), Qt::AlignRight, "specialBuildLabel");

  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("iconLabel"));
  icon->setPixmap(ApplicationIcon().pixmap(32, 32));
  icon->move(du.Rect(2, 2, 0, 0).topLeft());
  icon->adjustSize();

  // The OK button alone, at its place under the notice.
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->setObjectName(QStringLiteral("buttonBox"));
  buttons->setCenterButtons(true);
  const QRect okPlace = du.Rect(82, 48, 40, 14);
  QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
  ok->setText(QStringLiteral("OK"));
  ok->setFixedSize(okPlace.size());
  ok->setDefault(true);
  buttons->setGeometry(okPlace);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  SetupWindow();
}

QPoint AboutDialog::CentredPosition(const QSize& screen, const QRect& outer) {
  const int width = outer.right() - outer.left() + 1;
  const int height = outer.bottom() - outer.top() + 1;
  return {(screen.width() - width) / 2, (screen.height() - height) / 2};
}

void AboutDialog::SetupWindow() {
  // Without version texts, or without one of them, a label keeps what it
  // was made with.
  if (versionInfo_ == nullptr) return;
  const ProgramVersionInfo& info = *versionInfo_;
  if (!info.ProductName.empty() && !info.ProductVersion.empty()) {
    const QString word = version_->text().left(VersionWordLimit);
    version_->setText(QStringLiteral("%1 %2 %3")
                          .arg(FromBytes(info.ProductName), word, FromBytes(info.ProductVersion))
                          .left(TextLimit));
  }
  if (!info.LegalCopyright.empty()) notice_->setText(FromBytes(info.LegalCopyright).left(TextLimit));
  if (!info.SpecialBuild.empty()) special_->setText(FromBytes(info.SpecialBuild).left(TextLimit));
}

void AboutDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
  if (screen) move(CentredPosition(screen->size(), frameGeometry()));
}

}  // namespace dyno
