#include "gui/common/DialogSupport.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QWidget>

#include <algorithm>

#include "core/files/TypedNumber.h"
#include "core/files/NumberText.h"
#include "gui/common/UserDialogs.h"

namespace dyno {

void CenterOnScreen(QWidget& widget) {
  const QScreen* screen = widget.screen() ? widget.screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QSize size = screen->size();
  const QRect outer = widget.frameGeometry();
  widget.move((size.width() - outer.width()) / 2, (size.height() - outer.height()) / 2);
}

void CenteredDialog::done(int result) {
  closing_ = true;
  QDialog::done(result);
  closing_ = false;
}

void CenteredDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  CenterOnScreen(*this);
}

bool CenteredDialog::FocusLeftField(const QEvent* event) const {
  if (event->type() != QEvent::FocusOut || closing_ || !isVisible()) return false;
  const Qt::FocusReason reason = static_cast<const QFocusEvent*>(event)->reason();
  return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

void SetLimitedText(QLineEdit& edit, const QString& text, int limit) {
  edit.setMaxLength(std::max(limit, static_cast<int>(text.size())));
  edit.setText(text);
}

QString ShownCaption(const QWidget& window) {
  return QString(window.windowTitle())
      .replace(QStringLiteral("[*]"), window.isWindowModified() ? QStringLiteral("*") : QString());
}

std::optional<double> TypedValue(QLineEdit& edit, const QString& field, UserDialogs& dialogs, QWidget* parent) {
  const std::string text = ToBytes(edit.text());
  const std::optional<double> value = ReadTypedNumber(text);
  if (!value) {
    const UserMessage refusal = NotANumberMessage(ToBytes(field), text);
    dialogs.Message(parent, FromBytes(refusal.Text), FromBytes(refusal.Caption));
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
  }
  return value;
}

double EditValue(const QLineEdit& edit, int limit) { return DecimalToDouble(ToBytes(edit.text().left(limit))); }

QString FromBytes(std::string_view bytes) {
  return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string ToBytes(const QString& text) { return text.toLatin1().toStdString(); }

QDialogButtonBox* MakeButtonRow(QWidget* parent, std::initializer_list<QPushButton*> buttons) {
  auto* row = new QDialogButtonBox(parent);
  row->setObjectName(QStringLiteral("buttonBox"));
  // Buttons of one role keep the order they were added in.
  for (QPushButton* button : buttons) row->addButton(button, QDialogButtonBox::ActionRole);
  return row;
}

void FillComboBox(QComboBox& box, const QStringList& entries, int selected) {
  box.clear();
  box.addItems(entries);
  box.setCurrentIndex(std::clamp(selected, 0, static_cast<int>(entries.size()) - 1));
}

}  // namespace dyno
