#pragma once

#include <QByteArray>
#include <QSize>
#include <QString>

#include <map>

class QDialog;
class QPrinter;
class QWidget;

namespace dyno {

// What a file dialog is asked to show.
struct FileDialogRequest {
  QString Title;
  QString Filter;        // Qt filter text, e.g. "INI Files (*.ini)"
  QString Folder;        // where it starts
  QString ProposedName;  // the file name offered, may be empty
  // Show the filter by its description only: the text before its last
  // parenthesised pattern list, so "Physics Files (*.ini;*.tbc) (*.ini
  // *.tbc)" reads "Physics Files (*.ini;*.tbc)".
  bool HideFilterPatterns = false;
  bool ConfirmOverwrite = false;  // saving: ask before replacing an existing file
};

// Every message box and dialog the editor shows goes through here, so that
// tests can answer them without a person and without blocking.
class UserDialogs {
 public:
  enum class SaveChoice { Save, Discard, Cancel };
  enum class OverwriteChoice { Overwrite, Cancel };

  virtual ~UserDialogs() = default;

  // An OK-only message box without icon.
  virtual void Message(QWidget* parent, const QString& text, const QString& caption) = 0;

  // "Save changes to <fileName> before closing?" with Save, Discard and
  // Cancel.
  virtual SaveChoice AskSaveChanges(QWidget* parent, const QString& fileName) = 0;

  // Whether to save over a file another program has changed since it was
  // opened or saved: text (which says so, and how to see the other
  // version) with Overwrite and Cancel, Cancel the default.
  virtual OverwriteChoice AskOverwriteChanged(QWidget* parent, const QString& text, const QString& caption) = 0;

  // The question whether to save a file whose values, opened again, would
  // read otherwise (text lists them): true for Save Anyway, false for Cancel.
  virtual bool AskSaveAnyway(QWidget* parent, const QString& text, const QString& caption) = 0;

  // The chosen path, or an empty text when cancelled. Opening accepts only
  // an existing file; saving, any name in an existing folder.
  virtual QString OpenFileName(QWidget* parent, const FileDialogRequest& request) = 0;
  virtual QString SaveFileName(QWidget* parent, const FileDialogRequest& request) = 0;

  // Runs a modal dialog and returns its result (QDialog::Accepted or Rejected).
  virtual int Run(QDialog& dialog) = 0;

  // The print dialog for printer, offering pages minPage to maxPage; true
  // when the user chose to print (the printer then holds the choices).
  virtual bool Print(QWidget* parent, QPrinter& printer, int minPage, int maxPage) = 0;

  // The print setup dialog for printer; true when the user confirmed it.
  virtual bool PrintSetup(QWidget* parent, QPrinter& printer) = 0;
};

// The real ones. The file dialogs are the platform's own where it has one.
// Each file dialog, told apart by its title, keeps its settings (view,
// history, sidebar, size) from one use to the next within a run; the folder
// and the proposed name come from each request.
class QtUserDialogs : public UserDialogs {
 public:
  void Message(QWidget* parent, const QString& text, const QString& caption) override;
  SaveChoice AskSaveChanges(QWidget* parent, const QString& fileName) override;
  OverwriteChoice AskOverwriteChanged(QWidget* parent, const QString& text, const QString& caption) override;
  bool AskSaveAnyway(QWidget* parent, const QString& text, const QString& caption) override;
  QString OpenFileName(QWidget* parent, const FileDialogRequest& request) override;
  QString SaveFileName(QWidget* parent, const FileDialogRequest& request) override;
  int Run(QDialog& dialog) override;
  bool Print(QWidget* parent, QPrinter& printer, int minPage, int maxPage) override;
  bool PrintSetup(QWidget* parent, QPrinter& printer) override;

 private:
  struct KeptFileDialog {
    QByteArray State;
    QSize Size;
  };
  QString ChooseFile(QWidget* parent, const FileDialogRequest& request, bool save);

  std::map<QString, KeptFileDialog> fileDialogs_;
};

}  // namespace dyno
