// The About box (its look is a picture; filling in the other dialogs is the
// dialogs flow): centred on the screen, it shows what the build names.
#include <QLabel>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "gui/app/AboutDialog.h"

namespace dyno {
namespace {

TEST(AboutDialog, TheAboutBoxShowsTheBuildsTextsCentredOnTheScreen) {
  EXPECT_EQ(AboutDialog::CentredPosition(QSize(1024, 768), QRect(0, 0, 307, 129)), QPoint(358, 319));
  EXPECT_EQ(AboutDialog::CentredPosition(QSize(1024, 768), QRect(0, 0, 1101, 801)), QPoint(-38, -16));
  AboutDialog about;
  EXPECT_EQ(about.VersionText()->text(), QStringLiteral("Dynoforge Version 1.88"));
  about.move(0, 0);
  about.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&about));
  EXPECT_EQ(about.frameGeometry().topLeft(), AboutDialog::CentredPosition(about.screen()->size(), about.frameGeometry()));
  AboutDialog bare(nullptr, nullptr);
  EXPECT_EQ(bare.VersionText()->text(), QStringLiteral("Version"));
  const ProgramVersionInfo special{"Dynoforge", "", "", "Test build"};
  AboutDialog nightly(nullptr, &special);
  EXPECT_EQ(nightly.VersionText()->text(), QStringLiteral("Version"));
  EXPECT_EQ(nightly.SpecialBuildText()->text(), QStringLiteral("Test build"));
  EXPECT_TRUE(nightly.NoticeText()->text().isEmpty());
}

}  // namespace
}  // namespace dyno
