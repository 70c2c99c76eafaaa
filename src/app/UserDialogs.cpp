#include "app/UserDialogs.h"

#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>

namespace dyno {

void QtUserDialogs::Message(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box.exec();
}

UserDialogs::SaveChoice QtUserDialogs::AskSaveChanges(QWidget* parent) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Dynoforge"), QStringLiteral("Save changes before closing?"),
                  QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
  box.setDefaultButton(QMessageBox::Save);
  switch (box.exec()) {
    case QMessageBox::Save:
      return SaveChoice::Save;
    case QMessageBox::Discard:
      return SaveChoice::Discard;
    default:
      return SaveChoice::Cancel;
  }
}

QString QtUserDialogs::OpenFileName(QWidget* parent, const FileDialogRequest& request) {
  QString start = request.Folder;
  if (!request.ProposedName.isEmpty()) start += QLatin1Char('/') + request.ProposedName;
  return QFileDialog::getOpenFileName(parent, request.Title, start, request.Filter);
}

QString QtUserDialogs::SaveFileName(QWidget* parent, const FileDialogRequest& request) {
  QString start = request.Folder;
  if (!request.ProposedName.isEmpty()) start += QLatin1Char('/') + request.ProposedName;
  return QFileDialog::getSaveFileName(parent, request.Title, start, request.Filter);
}

int QtUserDialogs::Run(QDialog& dialog) { return dialog.exec(); }

bool QtUserDialogs::Print(QWidget* parent, QPrinter& printer, int minPage, int maxPage) {
  QPrintDialog dialog(&printer, parent);
  dialog.setMinMax(minPage, maxPage);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
  return dialog.exec() == QDialog::Accepted;
}

bool QtUserDialogs::PrintSetup(QWidget* parent, QPrinter& printer) {
  QPageSetupDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

}  // namespace dyno
