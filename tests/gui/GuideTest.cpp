// Help > User Guide: F1 opens the guide inside the program with its
// pictures, one window however often it is asked for; a guide that cannot
// be found is a message naming where it was looked for.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTextImageFormat>

#include <filesystem>
#include <optional>

#include <gtest/gtest.h>

#include "gui/app/DynoforgeApplication.h"
#include "gui/app/GuideWindow.h"
#include "gui/app/MainWindow.h"
#include "gui/common/Settings.h"
#include "gui/document/EditorWidget.h"
#include "support/Flow.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;

// The first picture of the document and the size its resource reads at.
struct FirstPicture {
  QTextImageFormat format;
  QSize read;
};

std::optional<FirstPicture> FirstPictureOf(QTextDocument& doc) {
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      if (!it.fragment().charFormat().isImageFormat()) continue;
      const QTextImageFormat format = it.fragment().charFormat().toImageFormat();
      // What the document holds already; asking it to load would hide a
      // picture the window never read.
      const QVariant resource = doc.resource(QTextDocument::ImageResource, QUrl(format.name()));
      QImage image = resource.value<QImage>();
      if (image.isNull() && resource.typeId() == QMetaType::QByteArray) image = QImage::fromData(resource.toByteArray());
      return FirstPicture{format, image.size()};
    }
  }
  return std::nullopt;
}

class UserGuide : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    frame_.Client()->SetDialogs(&dialogs_);
    frame_.resize(1000, 700);
    test::ShowActive(frame_);
  }
  void TearDown() override {
    DynoforgeApplication::Instance()->SetGuideFolders(UserGuideFolders());
    frame_.Client()->SetDialogs(nullptr);
    frame_.hide();
  }
  // In the frame, as the user presses it there.
  void PressF1() {
    test::ShowActive(frame_);
    QTest::keyClick(frame_.Client(), Qt::Key_F1);
    test::IdlePass();
  }

  test::ScriptedDialogs dialogs_;
  MainWindow frame_;
};

TEST_F(UserGuide, F1ShowsTheGuideWithItsPicturesInOneWindow) {
  PressF1();
  GuideWindow* guide = DynoforgeApplication::Instance()->Guide();
  ASSERT_NE(guide, nullptr);
  EXPECT_TRUE(guide->isVisible());
  EXPECT_EQ(guide->windowTitle(), QStringLiteral("Dynoforge User Guide"));
  // Found from the build folder: the source tree's guide.
  EXPECT_EQ(fs::path(guide->File().toStdString()), fs::canonical(fs::path(DYNOFORGE_DOCS) / "user-guide.md"));
  QTextDocument& doc = *guide->Browser()->document();
  EXPECT_EQ(doc.begin().text(), QStringLiteral("Dynoforge user guide"));

  const std::optional<FirstPicture> picture = FirstPictureOf(doc);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->format.name(), QStringLiteral("images/file-menu.png"));
  const QImage file(QString::fromStdString((fs::path(DYNOFORGE_DOCS) / "images/file-menu.png").string()));
  ASSERT_FALSE(file.isNull());
  EXPECT_EQ(picture->read, file.size());
  // Shown whole: as wide as it is where the window has room for that.
  EXPECT_EQ(picture->format.width(), std::min<double>(file.width(), guide->Browser()->viewport()->width()));
  EXPECT_GT(picture->format.height(), 0);
  EXPECT_TRUE(dialogs_.shown.empty());

  // Asked again, the same window comes to the front.
  guide->close();
  PressF1();
  EXPECT_EQ(DynoforgeApplication::Instance()->Guide(), guide);
  EXPECT_TRUE(guide->isVisible());
  int windows = 0;
  for (QWidget* widget : QApplication::topLevelWidgets()) windows += qobject_cast<GuideWindow*>(widget) ? 1 : 0;
  EXPECT_EQ(windows, 1);
  guide->close();
}

TEST_F(UserGuide, AGuideWithoutItsPicturesShowsNone) {
  const test::TempDir dir;
  fs::copy_file(fs::path(DYNOFORGE_DOCS) / "user-guide.md", dir.path() / "user-guide.md");
  DynoforgeApplication::Instance()->SetGuideFolders({QString::fromStdString(dir.path().string())});
  frame_.Command(CmUserGuide);
  GuideWindow* guide = DynoforgeApplication::Instance()->Guide();
  ASSERT_NE(guide, nullptr);
  const std::optional<FirstPicture> picture = FirstPictureOf(*guide->Browser()->document());
  ASSERT_TRUE(picture);
  EXPECT_TRUE(picture->read.isEmpty());
  guide->close();
}

TEST_F(UserGuide, AGuideNotFoundIsAMessageNamingWhereItWasLookedFor) {
  const test::TempDir first, second;
  const QStringList folders = {QString::fromStdString(first.path().string()),
                               QString::fromStdString(second.path().string())};
  DynoforgeApplication::Instance()->SetGuideFolders(folders);
  const GuideWindow* before = DynoforgeApplication::Instance()->Guide();
  PressF1();
  ASSERT_EQ(dialogs_.shown.size(), 1u);
  EXPECT_EQ(dialogs_.shown[0].second,
            QStringLiteral("message \"The user guide (user-guide.md) was not found. Dynoforge looked for it in:\n") +
                folders.join(QLatin1Char('\n')) + QStringLiteral("\" \"GUIDE NOT FOUND!\""));
  EXPECT_EQ(DynoforgeApplication::Instance()->Guide(), before);
}

// Where an installed program keeps the guide is where the program looks
// first, and the build tree's comes last.
TEST(GuideFolders, BesideTheProgramFirstThenTheBuildTree) {
  const QStringList folders = UserGuideFolders();
  ASSERT_GE(folders.size(), 2);
  EXPECT_EQ(folders.first(), QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/dynoforge/guide"));
  EXPECT_EQ(fs::path(folders.last().toStdString()), fs::path(DYNOFORGE_DOCS));
}

}  // namespace
}  // namespace dyno
