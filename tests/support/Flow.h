#pragma once

// Window flows: scripts drive the real frame with
// scripted dialogs, as a user drives it (menus, keys, mouse, drops, recent
// files, restarts), in a folder of their own; the transcript of what the
// user saw (tests/support/WindowTrace.h) and of every check is compared with
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
//                           alone clicks it); "\s" in a word is a space
//   save-as NAME | choose save|discard|cancel | open-answer NAME | save-answer NAME
//   drop NAME [box|frame] [shift] | drop-urls URL... | drop-text TEXT [box]
//   recent N                choose entry N of File > Recent Files
//   drag POINT DY | click X Y | press|hold|release|move POINT (hold: a
//                           press whose button gets no timer ticks)
//                           POINT: X Y, or torque|compression|slip I [DX DY]
//   type TEXT | key KEYS [box] | scroll ROW
//   close | restart | start NAME | printing on|off
//   expect NAME APPROVED    the file's bytes against tests/data/APPROVED
//   same NAME OTHER         two files (or a file and tests/data/files/...) alike
//   settings                the settings file as it is now
//   write-settings WORDS... the settings file written by hand
//   picture NAME [window | menu PATH | preview [two] [next] | page N]
//                           a picture of the frame, its window, a menu, the
//                           print preview or printed page N (see Flow())
//   clipboard [WORDS...]    put the words on the clipboard, or show its text
//   status                  the status bar's own text (the peaks readout)
//   size W H                the frame resized
#include <sys/stat.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartLayout.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TApxPreviewWin.h"
#include "gui/app/TApxPrintout.h"
#include "gui/app/TDynoforgeApp.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/Approval.h"
#include "support/ImageApproval.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"
#include "support/WindowTrace.h"

namespace dyno::test {


namespace fs = std::filesystem;

inline QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

// "\r" and "\n" stand for line ends, "\t" for a tab, "\s" for a space.
inline std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : 0;
    if (text[i] == '\\' && (next == 'r' || next == 'n' || next == 't' || next == 's')) {
      out += next == 'r' ? '\r' : next == 'n' ? '\n' : next == 't' ? '\t' : ' ';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

inline std::vector<std::string> Words(std::istream& in) {
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

inline std::string Joined(const std::vector<std::string>& words, std::size_t from = 0) {
  std::string out;
  for (std::size_t i = from; i < words.size(); ++i) out += (out.empty() ? "" : " ") + words[i];
  return out;
}

// Fills named widgets of a dialog and confirms or cancels it.
// "@NAME" takes the dialog's picture as it is at that point.
inline std::function<int(QDialog&)> Fill(std::vector<std::string> fields, bool ok,
                                         std::function<void(const std::string&, QWidget&)> picture) {
  return [fields, ok, picture](QDialog& dialog) {
    for (const std::string& field : fields) {
      if (field.starts_with("@")) {
        picture(field.substr(1), dialog);
        continue;
      }
      const std::size_t eq = field.find('=');
      const QString name = QString::fromStdString(field.substr(0, eq));
      const QString value = eq == std::string::npos ? QString() : QString::fromStdString(Unescape(field.substr(eq + 1)));
      if (auto* edit = dialog.findChild<QLineEdit*>(name)) {
        edit->setText(value);
      } else if (auto* list = dialog.findChild<QComboBox*>(name)) {
        list->setCurrentIndex(list->findText(value));
      } else if (auto* button = dialog.findChild<QPushButton*>(name)) {
        button->click();
      } else {
        ADD_FAILURE() << "no field " << name.toStdString();
      }
    }
    ok ? dialog.accept() : dialog.reject();
    return dialog.result();
  };
}

class Flow {
 public:
  // Pictures the script takes are checked against those in pictures.
  explicit Flow(fs::path pictures = {}) : pictures_(std::move(pictures)) {
    // A caret that blinks would make pictures differ from run to run.
    if (!pictures_.empty()) QApplication::setCursorFlashTime(0);
    QFile::remove(SettingsFilePath());
    // Each flow starts with an empty clipboard, as Paste Table's enabling shows.
    QGuiApplication::clipboard()->clear();
    Restart();
  }
  ~Flow() {
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
    return done_ + trace_->Text();
  }

 private:
  void Restart() {
    if (frame_) {
      done_ += trace_->Text();
      frame_->Client()->SetDialogs(nullptr);
    }
    frame_ = std::make_unique<TSDIDecFrame>();
    Watch(*frame_);
    frame_->setGeometry(40, 30, 1000, 700);
    frame_->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    IdlePass();
  }
  void Watch(TSDIDecFrame& frame) {
    frame.Client()->SetDialogs(&dialogs_);
    trace_ = std::make_unique<WindowTrace>(
        frame, dialogs_,
        std::vector<std::pair<QString, QString>>{{Q(dir_.path()), QStringLiteral("<dir>")},
                                                 {QDir::homePath(), QStringLiteral("<home>")},
                                                 {QDir::tempPath(), QStringLiteral("<tmp>")}});
  }
  TSDIDecFrame& frame() { return started_ ? *started_ : *frame_; }
  TDynoforgeWindow& window() { return *frame().Client(); }

  QString Path(const std::string& name) const { return name == "-" ? QString() : Q(dir_.path() / Unescape(name)); }
  fs::path FsPath(const std::string& name) const { return dir_.path() / Unescape(name); }
  void Step(const std::string& title, const std::function<void()>& act) { trace_->Step(title, act); }
  void Note(const std::string& line) { trace_->Say(line); }

  void Line(const std::string& line) {
    std::istringstream in(line);
    std::string command;
    in >> command;
    const std::vector<std::string> w = Words(in);
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
    } else if (command == "open") {
      dialogs_.openAnswers.push_back(Path(arg(0)));
      Step(line, [&] { frame().Command(CmOpen); });
    } else if (command == "open-answer") {
      dialogs_.openAnswers.push_back(Path(arg(0)));
    } else if (command == "save-answer") {
      dialogs_.saveAnswers.push_back(Path(arg(0)));
    } else if (command == "save-as") {
      dialogs_.saveAnswers.push_back(Path(arg(0)));
      Step(line, [&] { frame().Command(CmSaveAs); });
    } else if (command == "choose") {
      dialogs_.saveChoices.push_back(arg(0) == "save"      ? UserDialogs::SaveChoice::Save
                                     : arg(0) == "discard" ? UserDialogs::SaveChoice::Discard
                                                           : UserDialogs::SaveChoice::Cancel);
    } else if (command == "fill") {
      const bool cancel = arg(0) == "cancel";
      dialogs_.dialogScripts.push_back(Fill(std::vector<std::string>(w.begin() + cancel, w.end()), !cancel,
                                            [this](const std::string& name, QWidget& dialog) { Picture(name, dialog); }));
    } else if (command == "picture") {
      if (arg(1) == "menu") {
        MenuPicture(arg(0), Unescape(arg(2)));
      } else if (arg(1) == "preview") {
        PreviewPicture(arg(0), std::vector<std::string>(w.begin() + 2, w.end()));
      } else if (arg(1) == "page") {
        PagePicture(arg(0), std::stoi(arg(2)));
      } else if (arg(1) == "window") {
        Picture(arg(0), window());
      } else {
        Picture(arg(0), frame());
      }
    } else if (command == "drop" || command == "drop-urls" || command == "drop-text") {
      Drop(line, command, w);
    } else if (command == "recent") {
      Step(line, [&] { frame().Action(CmRecentFile1 + std::stoi(arg(0)) - 1)->trigger(); });
    } else if (command == "drag") {
      Step(line, [&] { DragPoint(Where({arg(0), arg(1)}), std::stoi(arg(2))); });
    } else if (command == "click") {
      Step(line, [&] {
        QTest::mouseClick(&window(), Qt::LeftButton, {}, QPoint(std::stoi(arg(0)), std::stoi(arg(1))));
        IdlePass();
      });
    } else if (command == "press" || command == "hold" || command == "release" || command == "move") {
      const QPoint at = Where(w);
      Step(line, [&] {
        // A held button steps on the timer: while a flow holds one no tick
        // reaches the window, so what it shows does not depend on time.
        if (command == "hold") window().installEventFilter(&tickBlock_);
        if (command == "press" || command == "hold") QTest::mousePress(&window(), Qt::LeftButton, {}, at);
        if (command == "release") QTest::mouseRelease(&window(), Qt::LeftButton, {}, at);
        if (command == "release") window().removeEventFilter(&tickBlock_);
        if (command == "move") QTest::mouseMove(&window(), at);
        window().repaint();
      });
    } else if (command == "scroll") {
      Step(line, [&] { window().RowScrollBar()->setValue(std::stoi(arg(0))); });
    } else if (command == "type") {
      Step(line, [&] {
        window().ValueEdit()->setFocus();
        QTest::keyClicks(window().ValueEdit(), QString::fromStdString(Unescape(Joined(w))));
      });
    } else if (command == "key") {
      Step(line, [&] {
        QWidget* to = arg(1) == "box" ? static_cast<QWidget*>(window().ValueEdit()) : &window();
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
      done_ += trace_->Text();
      (started_ ? started_ : frame_.get())->Client()->SetDialogs(nullptr);
      frame_.reset();
      started_ = TDynoforgeApp::Instance()->Start(Path(arg(0)));
      Watch(*started_);
      Step("the window is up", [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(started_));
        IdlePass();
      });
    } else if (command == "printing") {
      TDynoforgeApp::Instance()->Printing = arg(0) == "on";
    } else if (command == "expect") {
      ExpectApproved(TempDir::Read(FsPath(arg(0))), arg(1));
    } else if (command == "same") {
      const fs::path other = arg(1).starts_with("files/") ? DataPath(arg(1)) : FsPath(arg(1));
      const bool same = TempDir::Read(FsPath(arg(0))) == TempDir::Read(other);
      Step(line, [] {});
      Note(same ? "same" : "DIFFERENT");
    } else if (command == "settings") {
      QFile file(SettingsFilePath());
      file.open(QIODevice::ReadOnly);
      QString text = QString::fromUtf8(file.readAll());
      text.replace(Q(dir_.path()), QStringLiteral("<dir>"));
      Step(line, [] {});
      Note(text.toStdString());
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
        Step(line, [] {});
        Note(QGuiApplication::clipboard()->text().toStdString());
      } else {
        QGuiApplication::clipboard()->setText(QString::fromStdString(Unescape(Joined(w))));
      }
    } else if (command == "status") {
      Step(line, [] {});
      Note("reads \"" + frame().findChild<QLabel*>(QStringLiteral("PeakReadout"))->text().toStdString() + "\"");
    } else if (command == "size") {
      Step(line, [&] { frame().resize(std::stoi(arg(0)), std::stoi(arg(1))); IdlePass(); });
    } else if (command == "menus") {
      Step(line, [] {});
      Note(Menus());
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

  // A picture of a window as it is now, checked against the one in the
  // flow's picture folder (renewed by approving); none without a folder.
  void Picture(const std::string& name, QWidget& widget) {
    if (pictures_.empty()) return;
    IdlePass();
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

  // The print preview of the document on a printer of its own (a PDF file of
  // letter pages), closed again after its picture.
  void PreviewPicture(const std::string& name, const std::vector<std::string>& steps) {
    TDynoforgeApp* app = TDynoforgeApp::Instance();
    app->SetDefaultPrinterQuery([] { return QStringLiteral("Guide printer"); });
    frame().UpdateCommandStates();
    if (app->Printer()) {
      app->Printer()->setOutputFormat(QPrinter::PdfFormat);
      app->Printer()->setOutputFileName(Path("preview.pdf"));
    }
    QTimer::singleShot(0, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* preview = qobject_cast<TApxPreviewWin*>(widget);
        if (!preview || !preview->isVisible()) continue;
        preview->resize(frame().size());
        for (const std::string& step : steps) preview->Command(step == "two" ? CmPreviewTwoPages : CmPreviewNext);
        preview->UpdateCommandStates();
        Picture(name, *preview);
        preview->Command(CmPreviewClose);
      }
    });
    frame().Command(CmPrintPreview);
    app->SetDefaultPrinterQuery(nullptr);
  }

  // Page n as the printer gets it, on a 500 x 700 page at screen resolution.
  void PagePicture(const std::string& name, int n) {
    TDynoforgeApp* app = TDynoforgeApp::Instance();
    app->SetDefaultPrinterQuery([] { return QStringLiteral("Guide printer"); });
    frame().UpdateCommandStates();
    app->SetDefaultPrinterQuery(nullptr);
    if (!app->Printer()) return ADD_FAILURE() << "no printer";
    TApxPrintout printout(window(), *app->Printer(), app->PrinterSetup(), QStringLiteral("Dynoforge"));
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
    window().grab();  // lays the chart out
    const ChartLayout& c = window().State().Chart;
    const int i = number(1);
    const int y = w[0] == "torque" ? c.TorqueY[i] : w[0] == "compression" ? c.CompressionY[i] : c.SlipY[i];
    return QPoint(c.PointX[i] + number(2), y + number(3));
  }

  void DragPoint(QPoint p, int dy) {
    QTest::mousePress(&window(), Qt::LeftButton, {}, p);
    QTest::mouseMove(&window(), p + QPoint(0, dy));
    QTest::mouseRelease(&window(), Qt::LeftButton, {}, p + QPoint(0, dy));
    IdlePass();
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
      text_ = result;
    });
    Note("drop " + text_);
  }

  // The menus, the toolbar and the status bar as built.
  std::string Menus() {
    std::string out;
    const auto describe = [&](QAction* a) {
      out += "  " + a->text().toStdString() + " [" + a->objectName().toStdString() + "] " +
             a->shortcut().toString().toStdString() + (a->isEnabled() ? "" : " disabled") +
             (a->isVisible() ? "" : " hidden") + (a->isCheckable() ? (a->isChecked() ? " checked" : " unchecked") : "") +
             " | " + a->statusTip().toStdString() + "\n";
    };
    const std::function<void(QMenu*, const std::string&)> list = [&](QMenu* menu, const std::string& indent) {
      for (QAction* item : menu->actions()) {
        out += indent;
        if (item->isSeparator()) {
          out += "  --\n";
        } else {
          describe(item);
          if (item->menu()) list(item->menu(), indent + "  ");
        }
      }
    };
    for (QAction* popup : frame().menuBar()->actions()) {
      out += popup->text().toStdString() + " | " + popup->statusTip().toStdString() + "\n";
      list(popup->menu(), "");
    }
    QToolBar* bar = frame().Toolbar();
    out += "toolbar \"" + bar->windowTitle().toStdString() + "\"" + (bar->isMovable() ? " movable" : "") +
           (bar->isFloatable() ? " floatable" : "") + "\n";
    for (QAction* action : bar->actions()) {
      const QSize size = action->icon().availableSizes().value(0);
      out += action->objectName().isEmpty()
                 ? "  gap " + std::to_string(bar->widgetForAction(action)->width()) + "\n"
                 : "  " + action->objectName().toStdString() + " " + std::to_string(size.width()) + "x" +
                       std::to_string(size.height()) + "\n";
    }
    const QFont font = frame().statusBar()->font();
    out += "status bar " + font.family().toStdString() + " " + std::to_string(font.pixelSize()) + "px\n";
    // A toolbar button's hint shows in the status bar when the pointer comes
    // onto it (from wherever an earlier flow left it).
    QTest::mouseMove(frame().statusBar());
    QTest::mouseMove(bar->widgetForAction(frame().Action(CmAddLine)));
    IdlePass();
    return out + "hovering Add: " + frame().statusBar()->currentMessage().toStdString() + "\n";
  }

  TempDir dir_;
  ScriptedDialogs dialogs_;
  std::unique_ptr<TSDIDecFrame> frame_;
  TSDIDecFrame* started_ = nullptr;  // owned by the application
  std::unique_ptr<WindowTrace> trace_;
  fs::path pictures_;
  struct TickBlock : QObject {
    bool eventFilter(QObject*, QEvent* event) override { return event->type() == QEvent::Timer; }
  } tickBlock_;
  std::string done_;  // the transcript before the last restart
  std::string text_;
};

}  // namespace dyno::test
