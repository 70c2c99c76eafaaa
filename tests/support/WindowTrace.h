#pragma once

// A transcript of what a user sees of the editor window while commands run:
// the dialogs and messages shown, the caption, the commands that became
// available or checked, the document's state, the value box and the row
// scroll bar. Paths are written relative to the folders the test names.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QLineEdit>
#include <QScrollBar>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "core/editing/EditorState.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/DocumentDump.h"
#include "support/ScriptedDialogs.h"

namespace dyno::test {

class WindowTrace {
 public:
  // Paths under each folder are written as its name. What the dialogs
  // showed before is not this trace's.
  WindowTrace(TSDIDecFrame& frame, ScriptedDialogs& dialogs, std::vector<std::pair<QString, QString>> folders)
      : frame_(frame),
        dialogs_(dialogs),
        folders_(std::move(folders)),
        messages_(dialogs.messages.size()),
        titles_(dialogs.dialogTitles.size()),
        opens_(dialogs.openRequests.size()),
        saves_(dialogs.saveRequests.size()),
        questions_(dialogs.saveQuestions) {
    Look();
  }

  // Runs act as one step of the transcript.
  void Step(const std::string& title, const std::function<void()>& act) {
    text_ += "> " + title + "\n";
    act();
    frame_.UpdateCommandStates();
    Look();
    LookAtTheScreen();
  }

  // A line of the test's own.
  void Say(const std::string& line) { Note(line); }

  const std::string& Text() const { return text_; }

 private:
  std::string Short(QString text) const {
    for (const auto& [folder, name] : folders_) text.replace(folder, name);
    return text.toStdString();
  }

  void Note(const std::string& line) { text_ += "  " + line + "\n"; }

  // Adds what changed since the last look.
  void Look() {
    for (; messages_ < dialogs_.messages.size(); ++messages_) {
      Note("message \"" + Short(dialogs_.messages[messages_].text) + "\" \"" + Short(dialogs_.messages[messages_].caption) + "\"");
    }
    for (; titles_ < static_cast<std::size_t>(dialogs_.dialogTitles.size()); ++titles_) Note("dialog \"" + Short(dialogs_.dialogTitles[titles_]) + "\"");
    const auto requests = [&](const std::vector<FileDialogRequest>& all, std::size_t& seen, const char* kind) {
      for (; seen < all.size(); ++seen) {
        const FileDialogRequest& r = all[seen];
        Note(std::string(kind) + " dialog \"" + Short(r.Title) + "\" \"" + Short(r.Filter) + "\" in " + Short(r.Folder) +
             " offering \"" + Short(r.ProposedName) + "\"" + (r.HideFilterPatterns ? " description only" : "") +
             (r.ConfirmOverwrite ? " confirming overwrite" : ""));
      }
    };
    requests(dialogs_.openRequests, opens_, "open");
    requests(dialogs_.saveRequests, saves_, "save");
    if (dialogs_.saveQuestions != questions_) Note("asked to save changes"), questions_ = dialogs_.saveQuestions;

    Change("caption", frame_.windowTitle().toStdString());
    std::string commands;
    for (QAction* action : frame_.findChildren<QAction*>()) {
      if (action->objectName().startsWith(QStringLiteral("action"))) {
        commands += " " + action->objectName().mid(6).toStdString() + (action->isEnabled() ? "" : "-") +
                    (action->isCheckable() ? (action->isChecked() ? "*" : "o") : "");
      }
    }
    Change("commands", commands);
    if (QAction* undo = frame_.Action(CmUndo)) {
      Change("undo menu", "\"" + undo->text().toStdString() + "\" \"" + frame_.Action(CmRedo)->text().toStdString() + "\"");
    }
    std::string recent;
    for (int id = CmRecentFile1; id <= CmRecentFile8; ++id) {
      const QAction* entry = frame_.Action(id);
      if (entry && entry->isVisible()) recent += "\n    " + Short(entry->text()) + " | " + Short(entry->statusTip());
    }
    Change("recent files", recent);
    TDynoforgeWindow& window = *frame_.Client();
    const EditorDocument& doc = window.Document();
    Change("document", DumpFlags(doc).substr(0, DumpFlags(doc).size() - 1) + " | " + doc.FileTitle + " | text " +
                           std::to_string(doc.EngineText.size()) + "/" + std::to_string(doc.TireText.size()));
    Change("rows", doc.TireMode ? DumpSlipCurves(doc) : DumpRows(doc));
    Change("box", "\"" + window.ValueEdit()->text().toStdString() + "\"");
    const QScrollBar& bar = *window.RowScrollBar();
    Change("scroll bar", std::string(bar.isEnabled() ? "on " : "off ") + std::to_string(bar.minimum()) + ".." +
                             std::to_string(bar.maximum()) + " at " + std::to_string(bar.value()) + " first row " +
                             std::to_string(window.State().View.FirstVisibleRow));
  }

  // What the window put on the screen must be what it shows now: a change
  // the window did not ask to repaint leaves stale pixels there. Left out:
  // the value box, whose caret blinks, and the two pixel columns of the
  // table's left edge, which the widest RPM texts touch but a repaint after
  // reading a file does not cover.
  void LookAtTheScreen() {
    TDynoforgeWindow& window = *frame_.Client();
    if (!frame_.isVisible()) return;
    QApplication::processEvents();
    const QRect area(window.mapTo(&frame_, QPoint(0, 0)), window.size());
    QImage screen = window.screen()->grabWindow(frame_.winId(), area.x(), area.y(), area.width(), area.height())
                        .toImage().convertToFormat(QImage::Format_RGB32);
    QImage now = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QImage* image : {&screen, &now}) {
      QPainter painter(image);
      painter.fillRect(window.ValueEdit()->geometry(), Qt::black);
      painter.fillRect(0, 0, 2, image->height(), Qt::black);
    }
    if (screen != now) {
      Note("stale pixels on the screen");
      if (std::getenv("DYNOFORGE_STALE")) {
        screen.save(QString::fromLatin1(std::getenv("DYNOFORGE_STALE")) + QString::number(++stale_) + "-screen.png");
        now.save(QString::fromLatin1(std::getenv("DYNOFORGE_STALE")) + QString::number(stale_) + "-now.png");
      }
    }
  }

  void Change(const std::string& what, const std::string& now) {
    std::string& before = seen_[what];
    if (before != now) Note(what + " " + now);
    before = now;
  }

  TSDIDecFrame& frame_;
  ScriptedDialogs& dialogs_;
  std::vector<std::pair<QString, QString>> folders_;
  std::map<std::string, std::string> seen_;
  std::size_t messages_ = 0, titles_ = 0, opens_ = 0, saves_ = 0;
  int questions_ = 0;
  int stale_ = 0;
  std::string text_;
};

}  // namespace dyno::test
