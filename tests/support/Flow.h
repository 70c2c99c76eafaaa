#pragma once

// Window flows: scripts drive the real frame with
// scripted dialogs, as a user drives it (menus, keys, mouse, drops, recent
// files, restarts), in a folder of their own; the transcript of what the
// user saw and of every check is compared with
// <script>.transcript.
//
// Script lines ("#" starts a comment); NAME is a file in the flow's folder:
//   file NAME SOURCE        copy tests/data/files/SOURCE there (folders made)
//   text NAME WORDS...      write the words as a file (\r, \n and \t escapes)
//   mkdir NAME / remove NAME
//   fifo NAME | sparse NAME BYTES   a named pipe; a file of holes that long
//   open NAME               File > Open answered with NAME ("-" cancels)
//   <Command> [title...]    run a command by its action name (AddLine, Undo...)
//   fill [cancel] FIELD=VALUE...   answers the next dialog (a button's name
//                           alone clicks it); "\s" in a word is a space;
//                           FIELD:=KEYS types into the shown dialog (\t
//                           leaves the field, \r presses Return); ?FIELD
//                           notes a box ("?" alone: every box); @NAME takes
//                           the dialog's picture
//   save-as NAME | choose save|discard|cancel | open-answer NAME | save-answer NAME
//   overwrite-answer overwrite|cancel   answers the next question whether
//                           to save over a file another program changed
//   anyway-answer save|cancel   answers the next question whether to save a
//                           file whose values would read back otherwise
//   drop NAME [box|frame] [shift] | drop-urls URL... | drop-text TEXT [box]
//   recent N                choose entry N of File > Recent Files
//   press|hold|release|move POINT (hold: a press whose button gets no
//                           timer ticks)
//                           POINT: X Y, or torque|compression|slip I [DX DY]
//   type TEXT | key KEYS [box] | scroll ROW|line|page
//   wheel NOTCHES POINT     the mouse wheel turned NOTCHES notches towards
//                           the user (negative: away) over POINT
//   close | restart | start NAME | printing on|off
//   expect NAME APPROVED    the file's bytes against tests/data/APPROVED
//   same NAME OTHER         two files (or a file and tests/data/files/...) alike
//   settings                the settings file as it is now
//   write-settings WORDS... the settings file written by hand
//   picture NAME [window | menu PATH | page N]
//                           a picture of the frame, its window, a menu or
//                           printed page N (see Flow())
//   png FILE [NAME]         a PNG file's size, whether it holds the window's
//                           pixels, and its picture NAME
//   svg FILE                an SVG file's structure: whether it parses, its
//                           size, its title, the colours of its paths of ten
//                           lines or more (the curves) and whether the
//                           chart's title is among its texts
//   printer W H [FILE]      print to a PDF file (out.pdf) on W x H point pages
//   default-printer WORDS   the printer the system names as its default
//   print-answer [cancel] [from A to B] [copies N] [@NAME]
//                           answers the next print dialog (@: a picture of
//                           the progress dialog); notes the job as it starts
//   setup-answer            the next print setup dialog: notes the page's
//                           orientation, turns it landscape and cancels
//   printed [FILE]          the pages printed into the PDF file, and the job
//   pdf-page NAME [FILE]    the PDF file's first page rasterised at 72 pixels
//                           per inch (a point a pixel): its size, and its
//                           picture NAME
//   preview STEP...         File > Print Preview, then in the preview: next,
//                           previous, one, two, print, at X Y W H, @NAME (its
//                           picture), ended by escape, alt-c, close-box or
//                           its Close button
//   clipboard [WORDS...]    put the words on the clipboard, or show its text
//   status                  the status bar's own text (the peaks readout)
//   notice                  the message the status bar shows for a while,
//                           then cleared
//   tip                     the hover tip's text, if one shows
//   hover ACTION            the pointer onto a toolbar button: the status bar
//   size W H                the frame resized
//   caption WORDS           the frame's caption set by hand (longer than a
//                           file's name can make it)
//
// After each step the transcript tells what the user sees change: the
// dialogs and messages shown, the caption, the commands available or
// checked, the document, the value box and the row scroll bar, and stale
// pixels the window left on the screen.
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDialog>
#include <QDropEvent>
#include <QEventLoop>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPageLayout>
#include <QPageSize>
#include <QMimeData>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QPushButton>
#include <QScrollBar>
#include <QStringList>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>
#include <QXmlStreamReader>

#include <algorithm>
#include <cctype>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartLayout.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/PreviewWindow.h"
#include "gui/app/ChartPrintout.h"
#include "gui/app/DynoforgeApplication.h"
#include "gui/app/MainWindow.h"
#include "gui/common/DialogSupport.h"
#include "gui/common/Settings.h"
#include "gui/common/UserDialogs.h"
#include "gui/document/EditorWidget.h"
#include "support/Approval.h"
#include "support/ImageApproval.h"
#include "support/TempDir.h"
#include "support/DocumentDump.h"

namespace dyno::test {

namespace fs = std::filesystem;

// Lets the event loop wait once, as it does when the user is idle: that is
// when the frame refreshes which commands are enabled and checked.
inline void IdlePass() {
  QEventLoop loop;
  QTimer::singleShot(20, &loop, &QEventLoop::quit);
  loop.exec();
}

// Shows a window (a scripted dialog, say) and makes it the active one, so
// that the keyboard focus can move between its fields as a user moves it.
inline void ShowActive(QWidget& window) {
  window.show();
  QApplication::setActiveWindow(&window);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
}

// Answers the editor's dialogs from a script and records what was shown.
// A dialog that the script does not expect fails the test and is cancelled,
// so a test never waits for a person.
class ScriptedDialogs : public UserDialogs {
 public:
  // What was shown, by kind: a transcript tells each step's in this order.
  enum Kind { MessageShown, DialogShown, OpenShown, SaveShown, SaveAsked, OverwriteAsked, AnywayAsked };

  void Message(QWidget*, const QString& text, const QString& caption) override {
    Show(MessageShown, "message \"" + text + "\" \"" + caption + "\"");
  }

  SaveChoice AskSaveChanges(QWidget*, const QString& fileName) override {
    shown.push_back({SaveAsked, "asked to save changes to " + fileName});
    return Next(saveChoices, "save question", SaveChoice::Cancel);
  }

  OverwriteChoice AskOverwriteChanged(QWidget*, const QString& text, const QString& caption) override {
    Show(OverwriteAsked, "asked whether to overwrite \"" + text + "\" \"" + caption + "\"");
    return Next(overwriteChoices, "question whether to overwrite a changed file", OverwriteChoice::Cancel);
  }

  bool AskSaveAnyway(QWidget*, const QString& text, const QString& caption) override {
    Show(AnywayAsked, "asked whether to save anyway \"" + text + "\" \"" + caption + "\"");
    return Next(anywayChoices, "question whether to save anyway", false);
  }

  QString OpenFileName(QWidget*, const FileDialogRequest& request) override {
    Show(OpenShown, "open" + Described(request));
    return Next(openAnswers, "open file dialog");
  }

  QString SaveFileName(QWidget*, const FileDialogRequest& request) override {
    Show(SaveShown, "save" + Described(request));
    return Next(saveAnswers, "save file dialog");
  }

  // Each dialog script may fill in the dialog's widgets, then returns the
  // result (usually after calling dialog.accept() or dialog.reject()).
  int Run(QDialog& dialog) override {
    Show(DialogShown, "dialog \"" + dialog.windowTitle() + "\"");
    if (const auto script = Next(dialogScripts, "dialog")) return script(dialog);
    dialog.reject();
    return QDialog::Rejected;
  }

  // Each print or print setup script may change the printer's settings,
  // then returns whether the user confirmed the dialog.
  bool Print(QWidget*, QPrinter& printer, int minPage, int maxPage) override {
    printRanges.push_back({minPage, maxPage});
    const auto script = Next(printScripts, "print dialog");
    return script && script(printer);
  }

  bool PrintSetup(QWidget*, QPrinter& printer) override {
    const auto script = Next(printSetupScripts, "print setup dialog");
    return script && script(printer);
  }

  // Each thing shown, as the transcript tells it; paths in it are shortened
  // by the flow (the question names a file as the editor does).
  std::vector<std::pair<Kind, QString>> shown;
  std::deque<SaveChoice> saveChoices;
  std::deque<OverwriteChoice> overwriteChoices;
  std::deque<bool> anywayChoices;
  std::deque<QString> openAnswers;  // an empty answer cancels
  std::deque<QString> saveAnswers;
  std::deque<std::function<int(QDialog&)>> dialogScripts;
  std::deque<std::function<bool(QPrinter&)>> printScripts;
  std::deque<std::function<bool(QPrinter&)>> printSetupScripts;
  std::vector<std::pair<int, int>> printRanges;  // pages offered by each print dialog
 private:
  void Show(Kind kind, const QString& text) { shown.push_back({kind, text}); }
  static QString Described(const FileDialogRequest& r) {
    return " dialog \"" + r.Title + "\" \"" + r.Filter + "\" in " + r.Folder + " offering \"" + r.ProposedName + "\"" +
           (r.HideFilterPatterns ? " description only" : "") + (r.ConfirmOverwrite ? " confirming overwrite" : "");
  }
  template <typename T>
  static T Next(std::deque<T>& answers, const char* kind, T none = {}) {
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected " << kind;
      return none;
    }
    T answer = std::move(answers.front());
    answers.pop_front();
    return answer;
  }
};


inline QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

inline std::string Joined(const std::vector<std::string>& words, std::size_t from = 0) {
  std::string out;
  for (std::size_t i = from; i < words.size(); ++i) out += (out.empty() ? "" : " ") + words[i];
  return out;
}

class Flow {
 public:
  // Pictures the script takes are checked against those in pictures.
  explicit Flow(fs::path pictures = {}) : pictures_(std::move(pictures)) {
    // A caret that blinks would make pictures differ from run to run.
    if (!pictures_.empty()) QApplication::setCursorFlashTime(0);
    QFile::remove(SettingsFilePath());
    // Printed pages carry the date: one fixed day, so their pictures stay.
    SetPrintDate(QDate(2026, 12, 7));
    // Each flow starts with an empty clipboard, as Paste Table's enabling shows.
    QGuiApplication::clipboard()->clear();
    Restart();
  }
  ~Flow() {
    if (ownPrinter_) {
      // The application keeps its printer past the flow: another default
      // printer replaces the flow's own.
      defaultPrinter_ = QStringLiteral("after the flow");
      dialogs_.printSetupScripts.push_back([](QPrinter&) { return false; });
      frame().Command(CmPrintSetup);
      DynoforgeApplication::Instance()->SetDefaultPrinterQuery(nullptr);
    }
    if (frame_) frame_->Client()->SetDialogs(nullptr);
    if (started_) {
      started_->Client()->SetDialogs(nullptr);
      started_->hide();
    }
  }

  std::string Run(std::istream& script) {
    for (std::string line; std::getline(script, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.empty() || line[0] == '#') continue;
      Line(line);
    }
    return transcript_;
  }

 private:
  void Restart() {
    if (frame_) frame_->Client()->SetDialogs(nullptr);
    frame_ = std::make_unique<MainWindow>();
    Watch(*frame_);
    frame_->setGeometry(40, 30, 1000, 700);
    frame_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    IdlePass();
  }
  // The transcript tells all of a frame watched anew, but nothing the
  // dialogs showed before.
  void Watch(MainWindow& frame) {
    frame.Client()->SetDialogs(&dialogs_);
    seen_.clear();
    shown_ = dialogs_.shown.size();
    Look();
  }
  MainWindow& frame() { return started_ ? *started_ : *frame_; }
  EditorWidget& window() { return *frame().Client(); }

  QString Path(const std::string& name) const { return name == "-" ? QString() : Q(dir_.path() / Unescape(name)); }
  fs::path FsPath(const std::string& name) const { return dir_.path() / Unescape(name); }
  // Runs act as one step of the transcript, which then tells what changed.
  void Step(const std::string& title, const std::function<void()>& act) {
    transcript_ += "> " + title + "\n";
    act();
    frame().UpdateCommandStates();
    Look();
    LookAtTheScreen();
  }
  void Note(const std::string& line) { transcript_ += "  " + line + "\n"; }
  // A step that only tells what.
  void Tell(const std::string& title, const std::string& what) {
    Step(title, [] {});
    Note(what);
  }

  std::string Short(QString text) const {
    text.replace(Q(dir_.path()), QStringLiteral("<dir>"));
    text.replace(QDir::homePath(), QStringLiteral("<home>"));
    text.replace(QDir::tempPath(), QStringLiteral("<tmp>"));
    return text.toStdString();
  }

  // Adds what changed since the last look.
  void Look() {
    // What the dialogs showed, kind by kind.
    for (int kind = ScriptedDialogs::MessageShown; kind <= ScriptedDialogs::AnywayAsked; ++kind) {
      for (std::size_t k = shown_; k < dialogs_.shown.size(); ++k) {
        const auto& [shownKind, text] = dialogs_.shown[k];
        if (shownKind == kind) Note(shownKind == ScriptedDialogs::SaveAsked ? text.toStdString() : Short(text));
      }
    }
    shown_ = dialogs_.shown.size();

    // As the desktop shows it: "[*]" is a mark while the data is unsaved.
    Change("caption", ShownCaption(frame()).toStdString());
    std::string commands;
    for (QAction* action : frame().findChildren<QAction*>()) {
      if (action->objectName().startsWith(QStringLiteral("action"))) {
        commands += " " + action->objectName().mid(6).toStdString() + (action->isEnabled() ? "" : "-") +
                    (action->isCheckable() ? (action->isChecked() ? "*" : "o") : "");
      }
    }
    Change("commands", commands);
    if (QAction* undo = frame().Action(CmUndo)) {
      Change("undo menu", "\"" + undo->text().toStdString() + "\" \"" + frame().Action(CmRedo)->text().toStdString() + "\"");
    }
    std::string recent;
    for (int id = CmRecentFile1; id <= CmRecentFile8; ++id) {
      const QAction* entry = frame().Action(id);
      if (entry && entry->isVisible()) recent += "\n    " + Short(entry->text()) + " | " + Short(entry->statusTip());
    }
    Change("recent files", recent);
    const EditorDocument& doc = window().Document();
    const DataFile& shownFile = doc.Mode == FileMode::Tire ? doc.TireFile : doc.EngineFile;
    std::string flags = DumpFlags(doc, window().State().Session, window().State().History.Unsaved(doc));
    flags.pop_back();
    Change("document", flags + " | " + shownFile.Title + " | text " +
                           std::to_string(doc.EngineText.size()) + "/" + std::to_string(doc.TireText.size()));
    Change("rows", (doc.Mode == FileMode::Tire) ? DumpSlipCurves(doc) : DumpRows(doc));
    Change("box", "\"" + window().ValueEdit()->text().toStdString() + "\"");
    const QScrollBar& bar = *window().RowScrollBar();
    Change("scroll bar", std::string(bar.isEnabled() ? "on " : "off ") + std::to_string(bar.minimum()) + ".." +
                             std::to_string(bar.maximum()) + " at " + std::to_string(bar.value()) + " first row " +
                             std::to_string(window().State().View.FirstVisibleRow));
  }

  // What the window put on the screen must be what it shows now: a change
  // the window did not ask to repaint leaves stale pixels there. Left out:
  // the value box, whose caret blinks.
  void LookAtTheScreen() {
    if (!frame().isVisible()) return;
    QApplication::processEvents();
    const QRect area(window().mapTo(&frame(), QPoint(0, 0)), window().size());
    QImage screen = window().screen()->grabWindow(frame().winId(), area.x(), area.y(), area.width(), area.height())
                        .toImage().convertToFormat(QImage::Format_RGB32);
    QImage now = window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (QImage* image : {&screen, &now}) {
      QPainter painter(image);
      painter.fillRect(window().ValueEdit()->geometry(), Qt::black);
    }
    if (screen != now) Note("stale pixels on the screen");
  }

  void Change(const std::string& what, const std::string& now) {
    std::string& before = seen_[what];
    if (before != now) Note(what + " " + now);
    before = now;
  }


  void Line(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    std::vector<std::string> w;
    for (std::string word; in >> word;) w.push_back(word);
    const auto arg = [&](std::size_t i) { return i < w.size() ? w[i] : std::string(); };
    if (command == "file") {
      fs::create_directories(FsPath(arg(0)).parent_path());
      fs::copy_file(DataPath("files/" + arg(1)), FsPath(arg(0)), fs::copy_options::overwrite_existing);
    } else if (command == "text") {
      TempDir::WriteFile(FsPath(arg(0)), Unescape(Joined(w, 1)));
    } else if (command == "mkdir") {
      fs::create_directories(FsPath(arg(0)));
    } else if (command == "fifo") {
      mkfifo(FsPath(arg(0)).c_str(), 0644);
    } else if (command == "sparse") {
      TempDir::WriteFile(FsPath(arg(0)), "");
      fs::resize_file(FsPath(arg(0)), std::stoull(arg(1)));
    } else if (command == "remove") {
      fs::remove(FsPath(arg(0)));
    } else if (command == "open" || command == "open-answer" || command == "save-as" || command == "save-answer") {
      (command.starts_with("open") ? dialogs_.openAnswers : dialogs_.saveAnswers).push_back(Path(arg(0)));
      if (!command.ends_with("answer")) Step(line, [&] { frame().Command(command == "open" ? CmOpen : CmSaveAs); });
    } else if (command == "choose") {
      dialogs_.saveChoices.push_back(arg(0) == "save"      ? UserDialogs::SaveChoice::Save
                                     : arg(0) == "discard" ? UserDialogs::SaveChoice::Discard
                                                           : UserDialogs::SaveChoice::Cancel);
    } else if (command == "anyway-answer") {
      dialogs_.anywayChoices.push_back(arg(0) == "save");
    } else if (command == "overwrite-answer") {
      dialogs_.overwriteChoices.push_back(arg(0) == "overwrite" ? UserDialogs::OverwriteChoice::Overwrite
                                                                : UserDialogs::OverwriteChoice::Cancel);
    } else if (command == "fill") {
      const bool cancel = arg(0) == "cancel";
      dialogs_.dialogScripts.push_back(Fill(std::vector<std::string>(w.begin() + cancel, w.end()), !cancel));
    } else if (command == "picture") {
      if (arg(1) == "menu") {
        MenuPicture(arg(0), Unescape(arg(2)));
      } else if (arg(1) == "page") {
        PagePicture(arg(0), std::stoi(arg(2)));
      } else if (arg(1) == "window") {
        Picture(arg(0), window());
      } else {
        Picture(arg(0), frame());
      }
    } else if (command == "printer") {
      UsePdfPrinter(std::stod(arg(0)), std::stod(arg(1)), Path(w.size() > 2 ? arg(2) : "out.pdf"));
    } else if (command == "default-printer") {
      defaultPrinter_ = QString::fromStdString(Unescape(Joined(w)));
    } else if (command == "print-answer") {
      dialogs_.printScripts.push_back([this, w](QPrinter& printer) { return AnswerPrint(w, printer); });
    } else if (command == "setup-answer") {
      dialogs_.printSetupScripts.push_back([this](QPrinter& printer) {
        const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
        Note(landscape ? "the page is landscape" : "the page is portrait");
        printer.setPageOrientation(QPageLayout::Landscape);
        return false;
      });
    } else if (command == "printed") {
      Tell(line, Printed(w.empty() ? "out.pdf" : arg(0)));
    } else if (command == "png") {
      Tell(line, PngFile(arg(0), arg(1)));
    } else if (command == "svg") {
      Tell(line, SvgFile(arg(0)));
    } else if (command == "pdf-page") {
      Tell(line, PdfPage(arg(0), w.size() > 1 ? arg(1) : "out.pdf"));
    } else if (command == "preview") {
      Preview(line, w);
    } else if (command == "drop" || command == "drop-urls" || command == "drop-text") {
      Drop(line, command, w);
    } else if (command == "recent") {
      Step(line, [&] { frame().Action(CmRecentFile1 + std::stoi(arg(0)) - 1)->trigger(); });
    } else if (command == "press" || command == "hold" || command == "release" || command == "move") {
      // A last word "shift" holds Shift.
      std::vector<std::string> target = w;
      const Qt::KeyboardModifiers keys = !w.empty() && w.back() == "shift" ? Qt::ShiftModifier : Qt::NoModifier;
      if (keys) target.pop_back();
      const QPoint at = Where(target);
      Step(line, [&] {
        // A held button steps on the timer: while a flow holds one no tick
        // reaches the window, so what it shows does not depend on time.
        if (command == "hold") window().installEventFilter(&tickBlock_);
        if (command == "press" || command == "hold") QTest::mousePress(&window(), Qt::LeftButton, keys, at);
        if (command == "release") QTest::mouseRelease(&window(), Qt::LeftButton, keys, at);
        if (command == "release") window().removeEventFilter(&tickBlock_);
        if (command == "move") QTest::mouseMove(&window(), at);
        window().repaint();
      });
    } else if (command == "scroll") {
      // A row, or a click on the bar's arrow (line) or its groove (page).
      Step(line, [&] {
        QScrollBar& bar = *window().RowScrollBar();
        if (arg(0) == "line" || arg(0) == "page") {
          bar.triggerAction(arg(0) == "line" ? QAbstractSlider::SliderSingleStepAdd : QAbstractSlider::SliderPageStepAdd);
        } else {
          bar.setValue(std::stoi(arg(0)));
        }
      });
    } else if (command == "wheel") {
      const int notches = std::stoi(arg(0));
      const QPoint at = Where(std::vector<std::string>(w.begin() + std::min<std::size_t>(w.size(), 1), w.end()));
      Step(line, [&] {
        // One notch is 120 eighths of a degree; towards the user scrolls down.
        QWheelEvent wheel(at, window().mapToGlobal(at), QPoint(), QPoint(0, -120 * notches), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&window(), &wheel);
        window().repaint();
      });
    } else if (command == "type") {
      Step(line, [&] {
        window().ValueEdit()->setFocus();
        QTest::keyClicks(window().ValueEdit(), QString::fromStdString(Unescape(Joined(w))));
      });
    } else if (command == "key") {
      Step(line, [&] {
        QWidget* to = arg(1) == "box" ? static_cast<QWidget*>(window().ValueEdit()) : &window();
        // Keys go where the keyboard focus is, as a user's keys do.
        if (frame().isVisible()) {
          frame().activateWindow();
          to->setFocus(Qt::OtherFocusReason);
        }
        const QKeySequence keys = QKeySequence::fromString(QString::fromStdString(arg(0)));
        QTest::keySequence(to, keys);
        IdlePass();
      });
    } else if (command == "close") {
      bool closed = false;
      Step(line, [&] { closed = frame().close(); });
      Note(closed ? "closed" : "still open");
    } else if (command == "restart") {
      Step(line, [] {});
      Restart();
    } else if (command == "start") {
      // As main starts the program with a file named on its command line.
      Step(line, [] {});
      (started_ ? started_ : frame_.get())->Client()->SetDialogs(nullptr);
      frame_.reset();
      started_ = DynoforgeApplication::Instance()->Start(Path(arg(0)));
      Watch(*started_);
      Step("the window is up", [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(started_));
        IdlePass();
      });
    } else if (command == "printing") {
      DynoforgeApplication::Instance()->Printing = arg(0) == "on";
    } else if (command == "expect") {
      ExpectApproved(TempDir::Read(FsPath(arg(0))), arg(1));
    } else if (command == "same") {
      const fs::path other = arg(1).starts_with("files/") ? DataPath(arg(1)) : FsPath(arg(1));
      const bool same = TempDir::Read(FsPath(arg(0))) == TempDir::Read(other);
      Tell(line, same ? "same" : "DIFFERENT");
    } else if (command == "settings") {
      QFile file(SettingsFilePath());
      file.open(QIODevice::ReadOnly);
      QString text = QString::fromUtf8(file.readAll());
      text.replace(Q(dir_.path()), QStringLiteral("<dir>"));
      Tell(line, text.toStdString());
    } else if (command == "write-settings") {
      std::string text = Unescape(Joined(w));
      for (std::size_t at = text.find("<dir>"); at != std::string::npos; at = text.find("<dir>")) {
        text.replace(at, 5, dir_.path().string());
      }
      const fs::path settings = QFile::encodeName(SettingsFilePath()).toStdString();
      fs::create_directories(settings.parent_path());  // a flow run alone comes first
      TempDir::WriteFile(settings, text);
    } else if (command == "clipboard") {
      if (w.empty()) {
        Tell(line, QGuiApplication::clipboard()->text().toStdString());
      } else {
        QGuiApplication::clipboard()->setText(QString::fromStdString(Unescape(Joined(w))));
      }
    } else if (command == "tip") {
      Step(line, [] {});
      const InteractionState& ui = window().State().Ui;
      Note(ui.TipVisible ? "tip \"" + ui.TipText + "\"" : "no tip");
    } else if (command == "status") {
      Step(line, [] {});
      Note("reads \"" + frame().findChild<QLabel*>(QStringLiteral("PeakReadout"))->text().toStdString() + "\"");
    } else if (command == "notice") {
      Step(line, [] {});
      Note("status bar says \"" + frame().statusBar()->currentMessage().toStdString() + "\"");
      // Read once: a later notice tells only what came after.
      frame().statusBar()->clearMessage();
    } else if (command == "caption") {
      frame().setWindowTitle(QString::fromStdString(Unescape(Joined(w))));
    } else if (command == "size") {
      Step(line, [&] { frame().resize(std::stoi(arg(0)), std::stoi(arg(1))); IdlePass(); });
    } else if (command == "hover") {
      // From wherever an earlier flow left the pointer onto a toolbar button,
      // whose hint shows in the status bar.
      QToolBar* bar = frame().Toolbar();
      Step(line, [&] {
        QTest::mouseMove(frame().statusBar());
        QTest::mouseMove(bar->widgetForAction(frame().findChild<QAction*>(QString::fromStdString("action" + arg(0)))));
        IdlePass();
      });
      Note("status bar \"" + frame().statusBar()->currentMessage().toStdString() + "\"; toolbar" +
           (bar->isMovable() ? " movable" : "") + (bar->isFloatable() ? " floatable" : ""));
    } else {
      // A command, or "N Command": the command N times as one step.
      const bool repeated = std::all_of(command.begin(), command.end(), [](char c) { return std::isdigit(c); });
      const int times = repeated ? std::stoi(command) : 1;
      const QString name = QStringLiteral("action") + QString::fromStdString(repeated ? arg(0) : command);
      QAction* action = frame().findChild<QAction*>(name);
      if (!action) {
        ADD_FAILURE() << "unknown script line: " << line;
        return;
      }
      Step(line, [&] {
        for (int k = 0; k < times; ++k) frame().Command(action->data().toInt());
      });
    }
  }

  // Fills named widgets of a dialog and confirms or cancels it, unless a
  // typed key closed it (see the head comment).
  std::function<int(QDialog&)> Fill(std::vector<std::string> fields, bool ok) {
    return [this, fields, ok](QDialog& dialog) {
      bool shown = false;
      for (const std::string& field : fields) {
        const std::size_t eq = field.find('=');
        const bool typed = eq != std::string::npos && eq > 0 && field[eq - 1] == ':';
        if (!shown && (typed || field.starts_with("?"))) {
          // Focus moves between the fields of an active window only.
          ShowActive(dialog);
          shown = true;
        }
        if (field.starts_with("@")) {
          Picture(field.substr(1), dialog);
          continue;
        }
        if (field.starts_with("?")) {
          for (QLineEdit* box : dialog.findChildren<QLineEdit*>()) {
            if (field.size() == 1 || box->objectName().toStdString() == field.substr(1)) Note(Box(*box));
          }
          continue;
        }
        const QString name = QString::fromStdString(field.substr(0, typed ? eq - 1 : eq));
        const QString value = eq == std::string::npos ? QString() : QString::fromStdString(Unescape(field.substr(eq + 1)));
        QWidget* widget = dialog.findChild<QWidget*>(name);
        if (typed && widget) {
          widget->setFocus();
          if (auto* edit = qobject_cast<QLineEdit*>(widget)) edit->selectAll();
          QTest::keyClicks(widget, value);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
          edit->setText(value);
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
          list->setCurrentIndex(list->findText(value));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
          button->click();
        } else {
          ADD_FAILURE() << "no field " << name.toStdString();
        }
      }
      if (!shown || dialog.isVisible()) ok ? dialog.accept() : dialog.reject();
      return dialog.result();
    };
  }

  static std::string Box(const QLineEdit& box) {
    return box.objectName().toStdString() + " \"" + box.text().toStdString() + "\"" +
           (box.isEnabled() ? "" : " disabled") + (box.isReadOnly() ? " read-only" : "") + " max " +
           std::to_string(box.maxLength()) + (box.hasFocus() ? " focused" : "");
  }

  // A picture of a window as it is now, checked against the one in the
  // flow's picture folder (renewed by approving); none without a folder.
  void Picture(const std::string& name, QWidget& widget, bool settle = true) {
    if (pictures_.empty()) return;
    if (settle) IdlePass();
    ExpectApprovedImageFile(widget.grab().toImage(), pictures_ / (name + ".png"), "pictures/" + name + ".png");
  }

  // A menu of the menu bar ("&Edit", or "&File/Recent &Files" for a
  // submenu) as it drops down.
  void MenuPicture(const std::string& name, const std::string& path) {
    QMenu* menu = nullptr;
    QList<QAction*> items = frame().menuBar()->actions();
    for (const QString& title : QString::fromStdString(path).split('/')) {
      const auto found = std::find_if(items.begin(), items.end(), [&](QAction* a) { return a->text() == title; });
      if (found == items.end() || !(*found)->menu()) {
        ADD_FAILURE() << "no menu " << path;
        return;
      }
      menu = (*found)->menu();
      items = menu->actions();
    }
    frame().UpdateCommandStates();
    menu->popup(frame().mapToGlobal(QPoint(0, 0)));
    Picture(name, *menu);
    menu->hide();
  }

  // Pages are printed to a PDF file at 300 pixels per inch, without margins:
  // 300 x 450 points are 400 x 600 screen pixels, a page of 40 table rows.
  void UsePdfPrinter(double width, double height, const QString& file) {
    DynoforgeApplication* app = DynoforgeApplication::Instance();
    app->SetDefaultPrinterQuery([this] { return defaultPrinter_; });
    ownPrinter_ = true;
    QPrinter& printer = *app->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(file);
    printer.setResolution(300);
    printer.setPageLayout(QPageLayout(QPageSize(QSizeF(width, height), QPageSize::Point, {}, QPageSize::ExactMatch),
                                      QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
  }

  // What printing does to the window: it may grow to page size meanwhile,
  // its table stays where the user left it.
  std::string PrintingState() {
    const QSize most = window().maximumSize();
    return "printing " + std::to_string(DynoforgeApplication::Instance()->Printing) + ", window at most " +
           std::to_string(most.width()) + "x" + std::to_string(most.height()) + ", first row " +
           std::to_string(window().State().View.FirstVisibleRow);
  }

  bool AnswerPrint(const std::vector<std::string>& w, QPrinter& printer) {
    const std::pair<int, int> offered = dialogs_.printRanges.back();
    window().repaint();  // a repaint of the screen meanwhile is no printed page
    Note("print dialog offers pages " + std::to_string(offered.first) + ".." + std::to_string(offered.second) + "; " +
         PrintingState());
    for (std::size_t i = 0; i < w.size(); ++i) {
      const auto number = [&](std::size_t at) { return at < w.size() ? std::stoi(w[at]) : 0; };
      if (w[i] == "from") {
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(number(i + 1), number(i + 3));
      } else if (w[i] == "copies") {
        printer.setCopyCount(number(i + 1));
      } else if (w[i].starts_with("@")) {
        QTimer::singleShot(0, [this, name = w[i].substr(1)] {
          for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QStringLiteral("PrintingDialog") && widget->isVisible()) {
              Picture(name, *widget, false);
            }
          }
        });
      }
    }
    return std::find(w.begin(), w.end(), "cancel") == w.end();
  }

  std::string Printed(const std::string& name) {
    DynoforgeApplication* app = DynoforgeApplication::Instance();
    QFile file(Path(name));
    std::string pages = "no file";
    if (file.open(QIODevice::ReadOnly)) {
      const QByteArray bytes = file.readAll();
      int count = 0;
      for (qsizetype at = bytes.indexOf("/Type /Page"); at >= 0; at = bytes.indexOf("/Type /Page", at + 1)) {
        if (bytes.mid(at + 11, 1) != "s") ++count;
      }
      pages = std::to_string(count) + " pages";
    }
    return name + ": " + pages + ", last page " + std::to_string(app->PrinterSetup().MaxPage) + "; job \"" +
           app->Printer()->docName().toStdString() + "\"; " + PrintingState();
  }

  std::string PngFile(const std::string& file, const std::string& name) {
    QFile in(Path(file));
    if (!in.open(QIODevice::ReadOnly)) return "no file " + file;
    const QByteArray bytes = in.readAll();
    QImage image;
    if (!bytes.startsWith("\x89PNG") || !image.loadFromData(bytes, "PNG")) return file + ": no PNG";
    if (!name.empty() && !pictures_.empty()) {
      ExpectApprovedImageFile(image, pictures_ / (name + ".png"), "pictures/" + name + ".png");
    }
    const QImage shown = window().grab().toImage().convertToFormat(QImage::Format_RGB32);
    const bool same = image.convertToFormat(QImage::Format_RGB32) == shown;
    return file + ": PNG " + std::to_string(image.width()) + "x" + std::to_string(image.height()) +
           (same ? ", the window's pixels" : ", not the window's pixels");
  }

  std::string SvgFile(const std::string& file) {
    QFile in(Path(file));
    if (!in.open(QIODevice::ReadOnly)) return "no file " + file;
    QXmlStreamReader xml(&in);
    std::vector<QString> strokes{QStringLiteral("none")};
    std::string size;
    std::string title;
    std::string curves;
    int paths = 0;
    int texts = 0;
    bool chartTitle = false;
    while (!xml.atEnd()) {
      xml.readNext();
      if (xml.isStartElement()) {
        const auto attributes = xml.attributes();
        if (xml.name() == QLatin1String("svg")) {
          size = attributes.value("viewBox").toString().toStdString();
        } else if (xml.name() == QLatin1String("g")) {
          strokes.push_back(attributes.hasAttribute("stroke") ? attributes.value("stroke").toString() : strokes.back());
        } else if (xml.name() == QLatin1String("title")) {
          title = xml.readElementText().toStdString();
        } else if (xml.name() == QLatin1String("text")) {
          ++texts;
          chartTitle = xml.readElementText().contains(QStringLiteral("R. P. M. vs Torque")) || chartTitle;
        } else if (xml.name() == QLatin1String("path")) {
          ++paths;
          if (attributes.value("d").count(QLatin1Char('L')) >= 10) curves += " " + strokes.back().toStdString();
        }
      } else if (xml.isEndElement() && xml.name() == QLatin1String("g") && strokes.size() > 1) {
        strokes.pop_back();
      }
    }
    if (xml.hasError()) return file + ": does not parse: " + xml.errorString().toStdString();
    return file + ": SVG parses, view box " + size + ", title \"" + title + "\", " + std::to_string(paths) +
           " paths, curves" + (curves.empty() ? " none" : curves) + ", " + std::to_string(texts) + " texts" +
           (chartTitle ? " with the chart's title" : " without the chart's title");
  }

  // The first page of a PDF file as poppler's pdftoppm rasterises it, and
  // its header line as pdftotext reads it.
  std::string PdfPage(const std::string& name, const std::string& file) {
    const QString prefix = Path("pdf-page");
    QProcess pdftoppm;
    pdftoppm.start(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-f"),
                                                QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                                                QStringLiteral("-png"), QStringLiteral("-singlefile"), Path(file), prefix});
    if (!pdftoppm.waitForFinished(30000) || pdftoppm.exitCode() != 0) return "pdftoppm failed on " + file;
    const QImage page(prefix + QStringLiteral(".png"));
    QFile::remove(prefix + QStringLiteral(".png"));
    if (page.isNull()) return "no page in " + file;
    if (!pictures_.empty()) {
      ExpectApprovedImageFile(page, pictures_ / (name + ".png"), "pictures/" + name + ".png");
    }
    // The page's first line of text: its header.
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                                  QStringLiteral("1"), Path(file), QStringLiteral("-")});
    pdftotext.waitForFinished(30000);
    const QString header = QString::fromUtf8(pdftotext.readAllStandardOutput()).section(QLatin1Char('\n'), 0, 0);
    return file + " page 1: " + std::to_string(page.width()) + "x" + std::to_string(page.height()) +
           (page.width() > page.height() ? " landscape" : " portrait") + ", header \"" + header.toStdString() + "\"";
  }

  // The print preview; without a printer of the flow's own, on a PDF
  // printer of letter pages.
  void Preview(const std::string& line, const std::vector<std::string>& steps) {
    DynoforgeApplication* app = DynoforgeApplication::Instance();
    if (!ownPrinter_) {
      app->SetDefaultPrinterQuery([] { return QStringLiteral("Guide printer"); });
      frame().UpdateCommandStates();
      app->Printer()->setOutputFormat(QPrinter::PdfFormat);  // made when first asked for
      app->Printer()->setOutputFileName(Path("preview.pdf"));
    }
    QTimer::singleShot(0, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* preview = qobject_cast<PreviewWindow*>(widget);
        if (!preview || !preview->isVisible()) continue;
        preview->resize(frame().size());
        const auto* bar = preview->findChild<QToolBar*>(QStringLiteral("PreviewToolbar"));
        const bool fixed = bar && !bar->isMovable() && !bar->isFloatable();
        Note("preview \"" + preview->windowTitle().toStdString() + "\"" + (fixed ? ", toolbar fixed, " : ", ") +
             (frame().isVisible() ? "frame shown, " : "") + PrintingState());
        PreviewSteps(*preview, steps);
      }
    });
    // Never wait for a person: a preview still open after 10 s is closed.
    QObject guard;
    QTimer::singleShot(10000, &guard, [&] {
      Note("the preview was left open");
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<PreviewWindow*>(widget)) preview->Command(CmPreviewClose);
      }
    });
    Step(line, [&] { frame().Command(CmPrintPreview); });
    const QRect at = frame().geometry();
    Note(std::string("frame ") + (frame().isVisible() ? "shown" : "hidden") + " at " + std::to_string(at.x()) + "," +
         std::to_string(at.y()) + " " + std::to_string(at.width()) + "x" + std::to_string(at.height()) + "; " +
         PrintingState());
    if (!ownPrinter_) app->SetDefaultPrinterQuery(nullptr);
  }

  void PreviewSteps(PreviewWindow& p, const std::vector<std::string>& steps) {
    const std::map<std::string, int> buttons = {
        {"next", CmPreviewNext}, {"previous", CmPreviewPrevious}, {"one", CmPreviewOnePage}, {"two", CmPreviewTwoPages}};
    Note("opened: " + PreviewState(p));
    for (std::size_t i = 0; i < steps.size(); ++i) {
      const std::string& step = steps[i];
      if (buttons.contains(step)) {
        p.Command(buttons.at(step));
        Note(step + ": " + PreviewState(p));
      } else if (step == "print") {
        p.Action(CmPrint)->trigger();  // prints through the print command
        Note(Printed("out.pdf"));
      } else if (step == "at" && i + 4 < steps.size()) {
        p.setGeometry(std::stoi(steps[i + 1]), std::stoi(steps[i + 2]), std::stoi(steps[i + 3]), std::stoi(steps[i + 4]));
        i += 4;
      } else if (step.starts_with("@")) {
        p.UpdateCommandStates();
        Picture(step.substr(1), p);
      } else if (step == "escape" || step == "alt-c") {
        ShowActive(p);
        const bool escape = step == "escape";
        QTest::keyClick(&p, escape ? Qt::Key_Escape : Qt::Key_C, escape ? Qt::NoModifier : Qt::AltModifier);
        return;
      } else if (step == "close-box") {
        p.close();
        return;
      } else {
        ADD_FAILURE() << "unknown preview step " << step;
      }
    }
    p.Command(CmPreviewClose);
  }

  // The page text, the pages shown, the buttons (- disabled, + enabled,
  // * checked) and the gap between two pages.
  std::string PreviewState(PreviewWindow& p) {
    p.UpdateCommandStates();
    std::string out = p.PageText()->text().toStdString() + " pages " + std::to_string(p.FromPage) + ".." +
                      std::to_string(p.ToPage) + " shown " + std::to_string(p.Page1()->PageNumber());
    if (p.Page2()) {
      const int gap = p.Page2()->x() - p.Page1()->geometry().right() - 1;
      out += "+" + std::to_string(p.Page2()->PageNumber()) + " gap " + std::to_string(gap);
    }
    for (const int id : {CmPreviewPrevious, CmPreviewNext, CmPreviewOnePage, CmPreviewTwoPages, CmPrint}) {
      out += p.Action(id)->isEnabled() ? (p.Action(id)->isChecked() ? " *" : " +") : " -";
    }
    return out;
  }

  // Page n as the printer gets it, on a 500 x 700 page at screen resolution.
  void PagePicture(const std::string& name, int n) {
    DynoforgeApplication* app = DynoforgeApplication::Instance();
    app->SetDefaultPrinterQuery([] { return QStringLiteral("Guide printer"); });
    frame().UpdateCommandStates();
    app->SetDefaultPrinterQuery(nullptr);
    app->Printer();  // made, with its page setup, as printing makes it
    ChartPrintout printout(window(), app->PrinterSetup(), QStringLiteral("Dynoforge"));
    QImage page(500, 700, QImage::Format_RGB32);
    page.fill(Qt::white);
    QPainter painter(&page);
    printout.PrintPage(painter, n, page.size(), QSize(96, 96));
    painter.end();
    ExpectApprovedImageFile(page, pictures_ / (name + ".png"), "pictures/" + name + ".png");
  }

  // "X Y", or a point of the chart ("torque I", "compression I", "slip I")
  // and an offset from it.
  QPoint Where(const std::vector<std::string>& w) {
    const auto number = [&](std::size_t i) { return i < w.size() ? std::stoi(w[i]) : 0; };
    if (w.empty() || std::isdigit(static_cast<unsigned char>(w[0][0]))) return {number(0), number(1)};
    const ChartLayout& c = window().State().Chart;
    const int i = number(1);
    const int y = w[0] == "torque" ? c.TorqueY[i] : w[0] == "compression" ? c.CompressionY[i] : c.SlipY[i];
    return QPoint(c.PointX[i] + number(2), y + number(3));
  }

  // Drags data over a widget as a file manager does and drops it there.
  void Drop(const std::string& line, const std::string& command, const std::vector<std::string>& w) {
    QMimeData data;
    QWidget* target = &window();
    Qt::KeyboardModifiers modifiers;
    Qt::DropActions possible = Qt::CopyAction | Qt::MoveAction;
    QList<QUrl> urls;
    for (const std::string& word : w) {
      if (word == "box") {
        target = window().ValueEdit();
      } else if (word == "frame") {
        target = &frame();
      } else if (word == "shift") {
        modifiers = Qt::ShiftModifier;
      } else if (word == "move-only") {
        possible = Qt::MoveAction;
      } else if (command == "drop-text") {
        data.setText(QString::fromStdString(word));
      } else if (command == "drop-urls" && word.find("://") != std::string::npos) {
        urls.push_back(QUrl(QString::fromStdString(word)));
      } else {
        urls.push_back(QUrl::fromLocalFile(Path(word)));
        data.setText(Path(word));  // file managers offer the path as text too
      }
    }
    if (!urls.isEmpty()) data.setUrls(urls);
    Step(line, [&] {
      const QPoint at = target->rect().center();
      QDragEnterEvent enter(at, possible, &data, Qt::LeftButton, modifiers);
      QApplication::sendEvent(target, &enter);
      std::string result = "refused";
      if (enter.isAccepted()) {
        QDropEvent drop(at, possible, &data, Qt::LeftButton, modifiers);
        QApplication::sendEvent(target, &drop);
        IdlePass();
        result = drop.isAccepted() ? (drop.dropAction() == Qt::CopyAction ? "copied" : "taken") : "refused";
      }
      Note("drop " + result);
    });
  }

  TempDir dir_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<MainWindow> frame_;
  MainWindow* started_ = nullptr;  // owned by the application
  std::map<std::string, std::string> seen_;  // what the transcript last told
  std::size_t shown_ = 0;  // what the dialogs showed that the transcript told
  fs::path pictures_;
  struct TickBlock : QObject {
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
  } tickBlock_;
  QString defaultPrinter_;
  bool ownPrinter_ = false;  // a printer command chose the printer
  std::string transcript_;
};

}  // namespace dyno::test
