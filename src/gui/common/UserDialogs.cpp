#include "gui/common/UserDialogs.h"

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

UserDialogs::SaveChoice QtUserDialogs::AskSaveChanges(QWidget* parent, const QString& fileName) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Dynoforge"),
                  QStringLiteral("Save changes to %1 before closing?").arg(fileName),
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

UserDialogs::OverwriteChoice QtUserDialogs::AskOverwriteChanged(QWidget* parent, const QString& text,
                                                               const QString& caption) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Cancel, parent);
  QPushButton* overwrite = box.addButton(QStringLiteral("&Overwrite"), QMessageBox::DestructiveRole);
  // Losing another program's changes takes a deliberate choice.
  box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == overwrite ? OverwriteChoice::Overwrite : OverwriteChoice::Cancel;
}

bool QtUserDialogs::AskSaveAnyway(QWidget* parent, const QString& text, const QString& caption) {
  QMessageBox box(QMessageBox::Warning, caption, text, QMessageBox::Cancel, parent);
  QPushButton* save = box.addButton(QStringLiteral("&Save Anyway"), QMessageBox::AcceptRole);
  // Values that change take a deliberate choice.
  box.setDefaultButton(QMessageBox::Cancel);
  box.exec();
  return box.clickedButton() == save;
}

QString QtUserDialogs::OpenFileName(QWidget* parent, const FileDialogRequest& request) {
  return ChooseFile(parent, request, false);
}

QString QtUserDialogs::SaveFileName(QWidget* parent, const FileDialogRequest& request) {
  return ChooseFile(parent, request, true);
}

QString QtUserDialogs::ChooseFile(QWidget* parent, const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent, request.Title, request.Folder, request.Filter);
  KeptFileDialog& kept = fileDialogs_[request.Title];
  if (!kept.State.isEmpty()) dialog.restoreState(kept.State);
  if (kept.Size.isValid()) dialog.resize(kept.Size);

  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setOption(QFileDialog::HideNameFilterDetails, request.HideFilterPatterns);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
  // The request's folder wins over the one the kept state remembers.
  dialog.setDirectory(request.Folder);
  if (!request.ProposedName.isEmpty()) dialog.selectFile(request.ProposedName);

  const bool chosen = dialog.exec() == QDialog::Accepted;
  kept.State = dialog.saveState();
  kept.Size = dialog.size();
  const QStringList files = dialog.selectedFiles();
  return chosen && !files.isEmpty() ? files.first() : QString();
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
