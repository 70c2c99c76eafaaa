#pragma once

#include <QDialog>
#include <QPrinter>
#include <QStringList>

#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "gui/common/UserDialogs.h"

namespace dyno::test {

// Answers the editor's dialogs from a script and records what was shown.
// A dialog that the script does not expect fails the test and is cancelled,
// so a test never waits for a person.
class ScriptedDialogs : public UserDialogs {
 public:
  struct Shown {
    QString text;
    QString caption;
  };

  void Message(QWidget*, const QString& text, const QString& caption) override { messages.push_back({text, caption}); }

  SaveChoice AskSaveChanges(QWidget*) override {
    ++saveQuestions;
    if (saveChoices.empty()) {
      ADD_FAILURE() << "unexpected save question";
      return SaveChoice::Cancel;
    }
    const SaveChoice choice = saveChoices.front();
    saveChoices.pop_front();
    return choice;
  }

  QString OpenFileName(QWidget*, const FileDialogRequest& request) override {
    openRequests.push_back(request);
    return Next(openAnswers, "open");
  }

  QString SaveFileName(QWidget*, const FileDialogRequest& request) override {
    saveRequests.push_back(request);
    return Next(saveAnswers, "save");
  }

  // Each dialog script may fill in the dialog's widgets, then returns the
  // result (usually after calling dialog.accept() or dialog.reject()).
  int Run(QDialog& dialog) override {
    dialogTitles.push_back(dialog.windowTitle());
    if (dialogScripts.empty()) {
      ADD_FAILURE() << "unexpected dialog " << dialog.windowTitle().toStdString();
      dialog.reject();
      return QDialog::Rejected;
    }
    auto script = std::move(dialogScripts.front());
    dialogScripts.pop_front();
    return script(dialog);
  }

  // Each print or print setup script may change the printer's settings,
  // then returns whether the user confirmed the dialog.
  bool Print(QWidget*, QPrinter& printer, int minPage, int maxPage) override {
    printRanges.push_back({minPage, maxPage});
    return NextPrinterScript(printScripts, printer, "print");
  }

  bool PrintSetup(QWidget*, QPrinter& printer) override {
    ++printSetups;
    return NextPrinterScript(printSetupScripts, printer, "print setup");
  }

  std::vector<Shown> messages;
  std::deque<SaveChoice> saveChoices;
  int saveQuestions = 0;
  std::deque<QString> openAnswers;  // an empty answer cancels
  std::deque<QString> saveAnswers;
  std::vector<FileDialogRequest> openRequests;
  std::vector<FileDialogRequest> saveRequests;
  std::deque<std::function<int(QDialog&)>> dialogScripts;
  QStringList dialogTitles;
  std::deque<std::function<bool(QPrinter&)>> printScripts;
  std::deque<std::function<bool(QPrinter&)>> printSetupScripts;
  std::vector<std::pair<int, int>> printRanges;  // pages offered by each print dialog
  int printSetups = 0;

 private:
  static bool NextPrinterScript(std::deque<std::function<bool(QPrinter&)>>& scripts, QPrinter& printer,
                                const char* kind) {
    if (scripts.empty()) {
      ADD_FAILURE() << "unexpected " << kind << " dialog";
      return false;
    }
    auto script = std::move(scripts.front());
    scripts.pop_front();
    return script(printer);
  }

  static QString Next(std::deque<QString>& answers, const char* kind) {
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected " << kind << " file dialog";
      return {};
    }
    QString answer = answers.front();
    answers.pop_front();
    return answer;
  }
};

}  // namespace dyno::test
