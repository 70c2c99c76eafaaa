#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "core/resources/ResourceIds.h"
#include "gui/app/TDynoforgeAboutDlg.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/common/Settings.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"

namespace dyno {
namespace {

TEST(AboutBoxPlace, CentresTheOuterRectangleOnTheScreen) {
  EXPECT_EQ(TDynoforgeAboutDlg::CentredPosition(QSize(1024, 768), QRect(0, 0, 308, 130)), QPoint(358, 319));
  // Wherever it was before.
  EXPECT_EQ(TDynoforgeAboutDlg::CentredPosition(QSize(1024, 768), QRect(500, 700, 308, 130)), QPoint(358, 319));
  // Halves are rounded toward zero, also for a box larger than the screen.
  EXPECT_EQ(TDynoforgeAboutDlg::CentredPosition(QSize(1024, 768), QRect(0, 0, 307, 131)), QPoint(358, 318));
  EXPECT_EQ(TDynoforgeAboutDlg::CentredPosition(QSize(1024, 768), QRect(0, 0, 1101, 801)), QPoint(-38, -16));
}

TEST(AboutBox, ShowsNameVersionAndNoticeFromTheVersionResource) {
  TDynoforgeAboutDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("About Dynoforge"));
  EXPECT_EQ(dialog.VersionText()->text(), QStringLiteral("Dynoforge Version 1.88"));
  EXPECT_EQ(dialog.VersionText()->objectName(), QStringLiteral("versionLabel"));
  EXPECT_EQ(dialog.NoticeText()->text(), QStringLiteral("Copyright (C) 2026 The Dynoforge developers"));
  EXPECT_EQ(dialog.NoticeText()->objectName(), QStringLiteral("noticeLabel"));
  EXPECT_EQ(dialog.SpecialBuildText()->text(), QString());
  EXPECT_EQ(dialog.SpecialBuildText()->objectName(), QStringLiteral("specialBuildLabel"));
  EXPECT_TRUE(dialog.SpecialBuildText()->alignment() & Qt::AlignRight);
  EXPECT_TRUE(dialog.VersionText()->alignment() & Qt::AlignHCenter);

  // The fixed title line above them, the icon and the default OK button.
  QStringList texts;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) texts << label->text();
  EXPECT_TRUE(texts.contains(QStringLiteral("Dynoforge")));
  const auto* icon = dialog.findChild<QLabel*>(QStringLiteral("iconLabel"));
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(icon->pixmap().size(), QSize(32, 32));
  auto* ok = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(QDialogButtonBox::Ok);
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->text(), QStringLiteral("OK"));
  EXPECT_TRUE(ok->isDefault());
  // Controls keep their places: the notice under the version line, the OK
  // button between the notice and the special-build line.
  EXPECT_LT(dialog.VersionText()->geometry().bottom(), dialog.NoticeText()->geometry().top());
  const QRect okPlace(ok->mapTo(&dialog, QPoint(0, 0)), ok->size());
  EXPECT_LT(dialog.NoticeText()->geometry().bottom(), okPlace.top() + 1);
  EXPECT_GT(dialog.SpecialBuildText()->geometry().left(), okPlace.right());
  ok->click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AboutBox, KeepsItsOwnTextsWithoutVersionInformation) {
  TDynoforgeAboutDlg dialog(nullptr, nullptr);
  EXPECT_EQ(dialog.VersionText()->text(), QStringLiteral("Version"));
  EXPECT_EQ(dialog.NoticeText()->text(), QString());
  EXPECT_EQ(dialog.SpecialBuildText()->text(), QString());
}

TEST(AboutBox, ShowsASpecialBuildWhenTheResourceHasOne) {
  const ProgramVersionInfo version{"Dynoforge", "", "", "Test build"};
  TDynoforgeAboutDlg dialog(nullptr, &version);
  EXPECT_EQ(dialog.VersionText()->text(), QStringLiteral("Version"));  // no product version: left alone
  EXPECT_EQ(dialog.NoticeText()->text(), QString());
  EXPECT_EQ(dialog.SpecialBuildText()->text(), QStringLiteral("Test build"));
}

TEST(AboutBox, OpensCentredOnTheScreen) {
  TDynoforgeAboutDlg dialog;
  dialog.move(0, 0);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
  const QSize screen = dialog.screen()->size();
  EXPECT_EQ(dialog.frameGeometry().topLeft(), TDynoforgeAboutDlg::CentredPosition(screen, dialog.frameGeometry()));
  EXPECT_NE(dialog.frameGeometry().topLeft(), QPoint(0, 0));
}

TEST(AboutBox, AboutCommandRunsItModallyOverTheFrame) {
  QFile::remove(SettingsFilePath());
  test::ScriptedDialogs dialogs;
  TSDIDecFrame frame;
  frame.Client()->SetDialogs(&dialogs);
  const QWidget* parent = nullptr;
  QString version;
  dialogs.dialogScripts.push_back([&](QDialog& dialog) {
    parent = dialog.parentWidget();
    version = dialog.findChild<QLabel*>(QStringLiteral("versionLabel"))->text();
    dialog.accept();
    return QDialog::Accepted;
  });
  frame.Command(CmAbout);
  EXPECT_EQ(dialogs.dialogTitles, QStringList{QStringLiteral("About Dynoforge")});
  EXPECT_EQ(parent, &frame);
  EXPECT_EQ(version, QStringLiteral("Dynoforge Version 1.88"));
  frame.Client()->SetDialogs(nullptr);
}

}  // namespace
}  // namespace dyno
