// The View menu through the real window: peaks, units and the compared
// curve, their settings across a restart, and the pictures they draw.
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QSettings>
#include <QTest>

#include <filesystem>
#include <memory>

#include <gtest/gtest.h>

#include "core/resources/ResourceIds.h"
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

namespace dyno {
namespace {

namespace fs = std::filesystem;

QString Q(const fs::path& path) { return QString::fromStdString(path.string()); }

class ViewMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    QFile::remove(SettingsFilePath());
    Start(1000, 700);
  }
  // No later test starts in the units chosen here.
  void TearDown() override {
    if (frame) frame->Client()->SetDialogs(nullptr);
    QFile::remove(SettingsFilePath());
  }

  void Start(int width, int height) {
    frame = std::make_unique<TSDIDecFrame>();
    frame->Client()->SetDialogs(&dialogs);
    frame->setGeometry(40, 30, width, height);
    frame->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame.get()));
    trace = std::make_unique<test::WindowTrace>(*frame, dialogs);
    trace->Shorten(Q(dir.path()), QStringLiteral("<dir>"));
    trace->Shorten(QDir::homePath(), QStringLiteral("<home>"));
  }

  TDynoforgeWindow& window() { return *frame->Client(); }
  const DynoView& view() { return window().Document().Dyno; }
  QString Copy(const char* data, const char* name) {
    fs::copy_file(test::DataPath(data), dir.path() / name, fs::copy_options::overwrite_existing);
    return Q(dir.path() / name);
  }
  void Run(const std::string& title, int command) {
    trace->Step(title, [&] { frame->Command(command); });
    const std::string readout = frame->findChild<QLabel*>(QStringLiteral("PeakReadout"))->text().toStdString();
    if (readout != readout_) trace->Step("status bar reads \"" + readout + "\"", [] {});
    readout_ = readout;
  }
  void Answer(int command, const QString& path) {
    dialogs.openAnswers.push_back(path);
    Run((command == CmOpen ? "open " : "compare with ") + QFileInfo(path).fileName().toStdString(), command);
  }
  void Repaint() {
    window().update();
    window().repaint();
  }

  test::TempDir dir;
  test::ScriptedDialogs dialogs;
  std::unique_ptr<TSDIDecFrame> frame;
  std::unique_ptr<test::WindowTrace> trace;
  std::string readout_;
};

TEST_F(ViewMenu, PeaksUnitsAndComparisonsThroughTheViewMenu) {
  Answer(CmOpen, Copy("files/engine-typical.ini", "engine.ini"));
  Run("show peaks", CmShowPeaks);
  Run("torque in lb-ft", CmTorqueLbFt);
  Run("power in kW", CmPowerKw);

  // What Compare refuses it refuses as Open does, and nothing changes.
  const QString refused[] = {Copy("files/engine-no-rows.ini", "no-rows.ini"), Q(dir.path() / "gone.ini"),
                             Copy("files/engine-empty.ini", "empty.ini")};
  for (const QString& path : refused) Answer(CmCompareFile, path);
  Answer(CmCompareFile, Copy("files/tire-typical.tbc", "front.tbc"));
  const std::vector<test::ScriptedDialogs::Shown> compareSaid(dialogs.messages.begin(), dialogs.messages.begin() + 3);
  EXPECT_FALSE(view().Comparison);
  dialogs.openAnswers.push_back(QString());
  Run("compare cancelled", CmCompareFile);
  EXPECT_EQ(dialogs.messages.size(), 4u);

  Answer(CmCompareFile, Copy("files/car-upgrade.ini", "car_upgrade.ini"));
  ASSERT_TRUE(view().Comparison);
  EXPECT_EQ(view().Comparison->Curve.EngineRowCount, 9);
  // Edits, undo and the modes leave the comparison as it is.
  Run("add line", CmAddLine);
  Run("undo", CmUndo);
  Run("upgrade mode", CmModeUpgrade);
  Run("tire mode", CmModeTire);
  Run("engine mode", CmModeEngine);
  EXPECT_EQ(view().Comparison->Title, "car_upgrade.ini");
  Run("compare with saved", CmCompareSaved);
  EXPECT_EQ(view().Comparison->Title, "engine.ini (saved)");
  Run("clear comparison", CmClearComparison);
  EXPECT_FALSE(view().Comparison);

  // Saved after an edit: Compare With Saved shows the file as saved.
  Run("add line", CmAddLine);
  dialogs.saveAnswers.push_back(Q(dir.path() / "longer.ini"));
  Run("save as longer.ini", CmSaveAs);
  Run("compare with saved", CmCompareSaved);
  EXPECT_EQ(view().Comparison->Curve.EngineRowCount, 22);
  // Another file opened: nothing is compared, and what is saved is that file.
  Answer(CmOpen, Copy("files/engine-lf.ini", "other.ini"));
  EXPECT_FALSE(view().Comparison);
  EXPECT_EQ(view().Saved->Title, "other.ini (saved)");

  // Open says the same of the files Compare refused.
  const std::size_t before = dialogs.messages.size();
  for (const QString& path : refused) Answer(CmOpen, path);
  ASSERT_EQ(dialogs.messages.size(), before + 3);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(dialogs.messages[before + i].text, compareSaid[i].text);
    EXPECT_EQ(dialogs.messages[before + i].caption, compareSaid[i].caption);
  }
  EXPECT_FALSE(view().Saved);  // a file without rows leaves nothing to compare with
  test::ExpectApproved(trace->Text(), "window/dyno-view-flow.txt");
}

TEST_F(ViewMenu, TheChoicesSurviveARestart) {
  frame->Command(CmTorqueLbFt);
  frame->Command(CmPowerPs);
  frame->Command(CmShowPeaks);
  frame->close();
  {
    const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    EXPECT_EQ(settings.value("DynoforgeSettings/TorqueUnit").toString(), "lb-ft");
    EXPECT_EQ(settings.value("DynoforgeSettings/PowerUnit").toString(), "PS");
    EXPECT_EQ(settings.value("DynoforgeSettings/ShowPeaks").toString(), "1");
    EXPECT_TRUE(settings.contains("DynoforgeSettings/PATH"));
  }
  Start(1000, 700);
  EXPECT_EQ(view().Units, (DisplayUnits{TorqueUnit::LbFt, PowerUnit::Ps}));
  EXPECT_TRUE(view().ShowPeaks);
  test::IdlePass();
  EXPECT_TRUE(frame->Action(CmTorqueLbFt)->isChecked());
  EXPECT_FALSE(frame->Action(CmTorqueNm)->isChecked());
  EXPECT_TRUE(frame->Action(CmPowerPs)->isChecked());
  frame->close();

  // Values written by hand that are no unit are the defaults.
  {
    QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    settings.setValue("DynoforgeSettings/TorqueUnit", "furlong");
    settings.setValue("DynoforgeSettings/PowerUnit", "");
    settings.setValue("DynoforgeSettings/ShowPeaks", "yes");
  }
  Start(1000, 700);
  EXPECT_EQ(view().Units, DisplayUnits{});
  EXPECT_FALSE(view().ShowPeaks);
}

TEST_F(ViewMenu, Pictures) {
  Answer(CmOpen, Q(test::DataPath("files/engine-typical.ini")));
  frame->Command(CmShowPeaks);
  Repaint();
  test::ExpectApprovedImage(window().grab().toImage(), "dyno-peaks");
  frame->Command(CmShowPeaks);
  frame->Command(CmTorqueLbFt);
  frame->Command(CmPowerKw);
  Repaint();
  test::ExpectApprovedImage(window().grab().toImage(), "dyno-lb-ft-kw");

  // 500 compared rows on a plot narrower than that.
  frame->Command(CmTorqueNm);
  frame->Command(CmPowerHp);
  frame->resize(800, 600);
  Answer(CmCompareFile, Q(test::DataPath("files/engine-600-rows.ini")));
  Repaint();
  const ChartLayout& chart = window().State().Chart;
  EXPECT_GT(chart.ComparePointCount, chart.PlotWidth);
  test::ExpectApprovedImage(window().grab().toImage(), "dyno-comparison");

  // A printed page shows what the window shows.
  frame->Command(CmShowPeaks);
  frame->Command(CmTorqueLbFt);
  TDynoforgeApp& app = *TDynoforgeApp::Instance();
  ASSERT_TRUE(app.CommandEnabled(CmPrint));
  TApxPrintout printout(window(), *app.Printer(), app.PrinterSetup(), QStringLiteral("Dynoforge"));
  QImage page(500, 700, QImage::Format_RGB32);
  page.fill(Qt::white);
  QPainter painter(&page);
  printout.PrintPage(painter, 1, page.size(), QSize(96, 96));
  painter.end();
  test::ExpectApprovedImage(page, "dyno-printed-page");
}

}  // namespace
}  // namespace dyno
