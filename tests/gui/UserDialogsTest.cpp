// The real file dialogs, answered by the test while they run.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTest>
#include <QTimer>

#include <functional>
#include <type_traits>

#include <gtest/gtest.h>

#include "gui/common/UserDialogs.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

// Runs answer on a dialog of type D as soon as one shows.
template <typename D = QFileDialog>
void WhenShows(std::type_identity_t<std::function<void(D&)>> answer) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      auto* dialog = qobject_cast<D*>(widget);
      if (!dialog || !dialog->isVisible()) continue;
      timer->stop();
      timer->deleteLater();
      answer(*dialog);
      return;
    }
  });
  timer->start(10);
}

// The names the dialog lists in its folder, once it has read the folder.
QStringList Listed(QFileDialog& dialog, int expected) {
  auto* view = dialog.findChild<QAbstractItemView*>(QStringLiteral("listView"));
  EXPECT_NE(view, nullptr);
  if (!view) return {};
  QStringList names;
  EXPECT_TRUE(QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= expected; }, 5000));
  for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
    names << view->model()->index(row, 0, view->rootIndex()).data().toString();
  }
  names.sort();
  return names;
}

const QString PhysicsFilter = QStringLiteral("Physics Files (*.ini;*.tbc) (*.[iI][nN][iI] *.[tT][bB][cC])");

class FileDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"a.ini", "B.INI", "c.Tbc", "d.txt", "e.tbc", "f.ini.bak"}) dir.Write(name, "x");
    folder = QString::fromStdString(dir.path().string());
  }
  FileDialogRequest Request(const QString& title, bool confirm = false) {
    return {.Title = title, .Filter = PhysicsFilter, .Folder = folder, .ProposedName = QStringLiteral("B.INI"),
            .HideFilterPatterns = true, .ConfirmOverwrite = confirm};
  }

  test::TempDir dir;
  QString folder;
  QtUserDialogs dialogs;
};

TEST_F(FileDialogTest, OpenShowsThePhysicsFilesInAnyLetterCaseUnderTheirDescription) {
  WhenShows([&](QFileDialog& dialog) {
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Open it"));
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptOpen);
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    EXPECT_EQ(dialog.directory().absolutePath(), folder);
    EXPECT_EQ(dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
              QStringLiteral("Physics Files (*.ini;*.tbc)"));
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text(), QStringLiteral("B.INI"));
    EXPECT_EQ(Listed(dialog, 4), QStringList({"B.INI", "a.ini", "c.Tbc", "e.tbc"}));
    static_cast<QDialog&>(dialog).accept();  // as the Open button does
  });
  EXPECT_EQ(dialogs.OpenFileName(nullptr, Request(QStringLiteral("Open it"))), folder + QStringLiteral("/B.INI"));
}

TEST_F(FileDialogTest, SaveConfirmsOverwritingOnlyWhenAskedAndCancelGivesNothing) {
  for (const bool confirm : {true, false}) {
    WhenShows([&](QFileDialog& dialog) {
      EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
      EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
      EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), !confirm);
      dialog.reject();
    });
    EXPECT_TRUE(dialogs.SaveFileName(nullptr, Request(QStringLiteral("Save it"), confirm)).isEmpty());
  }
}

TEST_F(FileDialogTest, EachDialogKeepsItsOwnSettingsWithinARun) {
  // Qt's own dialog also keeps one view mode for all its dialogs; each of
  // ours comes back as it was left, whatever another one did meanwhile.
  // Each visit leaves the dialog so; a checked one must come back so first.
  const auto visit = [&](const QString& title, QFileDialog::ViewMode mode, QSize size, bool check) {
    WhenShows([=, this](QFileDialog& dialog) {
      if (check) {
        EXPECT_EQ(dialog.viewMode(), mode) << title.toStdString();
        EXPECT_EQ(dialog.size(), size) << title.toStdString();
        EXPECT_EQ(dialog.directory().absolutePath(), folder);  // the request's folder still wins
      }
      dialog.setViewMode(mode);
      dialog.resize(size);
      dialog.reject();
    });
    const FileDialogRequest request = Request(title);
    title.startsWith("Save") ? dialogs.SaveFileName(nullptr, request) : dialogs.OpenFileName(nullptr, request);
  };
  for (const bool check : {false, true}) {
    visit(QStringLiteral("Open it"), QFileDialog::List, QSize(700, 480), check);
    visit(QStringLiteral("Save it"), QFileDialog::Detail, QSize(640, 420), check);
  }
}

// Another program's changes are lost only by a deliberate click: Return
// (and Escape) cancel, the Overwrite button overwrites.
TEST(OverwriteQuestion, ShowsTheTextAndCancelsUnlessOverwriteIsClicked) {
  QtUserDialogs dialogs;
  const auto ask = [&](const std::function<void(QMessageBox&)>& answer) {
    WhenShows<QMessageBox>([answer](QMessageBox& box) {
      EXPECT_EQ(box.windowTitle(), QStringLiteral("FILE CHANGED!"));
      EXPECT_EQ(box.text(), QStringLiteral("c.ini was changed."));
      answer(box);
    });
    return dialogs.AskOverwriteChanged(nullptr, QStringLiteral("c.ini was changed."), QStringLiteral("FILE CHANGED!"));
  };
  using Choice = UserDialogs::OverwriteChoice;
  EXPECT_EQ(ask([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }), Choice::Cancel);
  EXPECT_EQ(ask([](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }), Choice::Cancel);
  EXPECT_EQ(ask([](QMessageBox& box) {
              for (QAbstractButton* button : box.buttons()) {
                if (button->text() == QStringLiteral("&Overwrite")) button->click();
              }
            }),
            Choice::Overwrite);
}

// The print dialogs, answered as soon as they show: the print dialog offers
// the document's pages, a page range and printing to a file.
TEST(PrintDialogs, OfferThePagesARangeAndAFileAndTellWhatTheUserChose) {
  QPrinter printer;
  QtUserDialogs dialogs;
  for (const bool ok : {true, false}) {
    WhenShows<QPrintDialog>([ok](QPrintDialog& dialog) {
      EXPECT_EQ(dialog.minPage(), 1);
      EXPECT_EQ(dialog.maxPage(), 9);
      EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintPageRange));
      EXPECT_TRUE(dialog.testOption(QAbstractPrintDialog::PrintToFile));
      ok ? dialog.accept() : dialog.reject();
    });
    EXPECT_EQ(dialogs.Print(nullptr, printer, 1, 9), ok);
    WhenShows<QPageSetupDialog>([ok](QPageSetupDialog& dialog) { ok ? dialog.accept() : dialog.reject(); });
    EXPECT_EQ(dialogs.PrintSetup(nullptr, printer), ok);
  }
}

}  // namespace
}  // namespace dyno
