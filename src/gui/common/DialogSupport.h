#pragma once

#include <QDialog>
#include <QString>

#include <string>
#include <string_view>

#include <initializer_list>
#include <optional>

class QComboBox;
class QDialogButtonBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace dyno {

// Places a top-level widget in the middle of its screen: x = (screen width -
// width) / 2 and y likewise, rounded toward zero.
void CenterOnScreen(QWidget& widget);

// A modal dialog of the editor: centred on the screen when it opens.
class CenteredDialog : public QDialog {
  Q_OBJECT

 public:
  using QDialog::QDialog;

  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

  // True when event tells that the user moved the focus out of a field, to
  // another control of this dialog. Another window taking the focus (a
  // message box among them) and the dialog closing do not count.
  bool FocusLeftField(const QEvent* event) const;

 private:
  bool closing_ = false;
};

// Puts text into an edit box that accepts at most limit typed characters.
// A longer value written by the program is shown whole rather than cut.
void SetLimitedText(QLineEdit& edit, const QString& text, int limit);

// The decimal value of an edit box's text, or of at most its first limit
// characters.
double EditValue(const QLineEdit& edit, int limit = -1);

class UserDialogs;

// The number a person typed into a field, read as ReadTypedNumber reads it
// (a decimal point or comma, digit grouping); nothing when the text is no
// number: the refusal, naming field and the text, is then shown over parent
// and the field takes the focus again, its text selected.
std::optional<double> TypedValue(QLineEdit& edit, const QString& field, UserDialogs& dialogs, QWidget* parent);

// A window's caption as the desktop shows it: the "[*]" placeholder becomes a
// "*" while the window is marked modified and goes otherwise.
QString ShownCaption(const QWidget& window);

// Latin-1 text and back: the file formats are 8-bit.
QString FromBytes(std::string_view bytes);
std::string ToBytes(const QString& text);

// The buttons of a dialog, at its bottom right in the order given, whatever
// order the platform gives its standard buttons. Each button's own clicked
// signal carries out its action.
QDialogButtonBox* MakeButtonRow(QWidget* parent, std::initializer_list<QPushButton*> buttons);

// A read-only drop-down list of the given texts with index selected.
void FillComboBox(QComboBox& box, const QStringList& entries, int selected);

}  // namespace dyno
