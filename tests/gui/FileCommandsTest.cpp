// Open and Save As through the real window, with scripted dialogs.
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "core/files/EngineParameters.h"
#include "core/files/NumberText.h"
#include "core/files/SaveFile.h"
#include "core/resources/ResourceIds.h"
#include "gui/app/TSDIDecFrame.h"
#include "gui/document/TDynoforgeWindow.h"
#include "support/QtTestSupport.h"
#include "support/ScriptedDialogs.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace dyno {
namespace {

// The rows of the engine file, the one at 1000 RPM with the given torque.
std::string EngineRows(int first, int last, const char* torqueAt1000 = "150.0") {
  const char* rows[] = {"RPMTorque=( 0.0, -10.0, 0.0)\r\n", "RPMTorque=( 1000.0, -20.0, ",
                        "RPMTorque=( 2000.0, -25.0, 180.0)\r\n", "RPMTorque=( 3000.0, -30.0, 210.0)\r\n",
                        "RPMTorque=( 4000.0, -35.0, 190.0)\r\n"};
  std::string text;
  for (int i = first; i <= last; ++i) text += i == 1 ? std::string(rows[1]) + torqueAt1000 + ")\r\n" : rows[i];
  return text;
}

const std::string EngineHead = "// Touring car engine\r\n[ENGINE]\r\n";
const std::string EngineTail =
    "\r\n"
    "FuelConsumption=5.900e-05   // affected by throttle position and engine speed\r\n"
    "IdleRPMLogic=(950.0, 1200.0)   // keep it idling\r\n"
    "RevLimitRange=(7800.0, 50.0, 4)\r\n"
    "RevLimitSetting=3\r\n"
    "LifetimeAvg=12000   // average lifetime in seconds\r\n"
    "[CONTROLS]\r\n"
    "UpshiftAlgorithm=(0.98, 0.0)\r\n";

// An engine file as modders keep them: a header comment, a section, rows
// interrupted by a comment, parameters with and without comments, and a
// section the editor does not know.
const std::string EngineFile = EngineHead + EngineRows(0, 2) + "// torque peak\r\n" + EngineRows(3, 4) + EngineTail;

// The same file as Save As writes it back: all rows where the first row
// stood, the comment that stood between them after them.
std::string EngineFileAsSaved(const char* torqueAt1000 = "150.0") {
  return EngineHead + EngineRows(0, 4, torqueAt1000) + "// torque peak\r\n" + EngineTail;
}

const std::string UpgradeFile =
    "UpgradeType=\"Engine\"\r\n"
    "{\r\n"
    "  Level=\"Sport\"\r\n"
    "  HDV=RPMTorque=( 0.0, -10.0, 0.0)\r\n"
    "  HDV=RPMTorque=( 1000.0, -20.0, 160.0)\r\n"
    "  HDV=RPMTorque=( 2000.0, -25.0, 190.0)\r\n"
    "  HDV=FuelConsumption=1.0\r\n"
    "}\r\n";

std::string SampleLine(int first, int count) {
  std::string line;
  for (int i = 0; i < count; ++i) {
    line += "0." + std::to_string(100000 + (first + i) * 1000).substr(0, 6);
    line += i + 1 < count ? " " : "\r\n";
  }
  return line;
}

// Two curves of 20 samples between a header comment and a trailing section.
const std::string TireFile = "// road tyre\r\n"
                             "[SLIPCURVE]\r\n"
                             "Name=\"Lat\"\r\n"
                             "Step=0.002\r\n"
                             "DropoffFunction=3.0\r\n"
                             "Data:\r\n" +
                             SampleLine(0, 10) + SampleLine(10, 10) +
                             "\r\n"
                             "[SLIPCURVE]\r\n"
                             "Name=\"Long\"\r\n"
                             "Step=0.004\r\n"
                             "DropoffFunction=2.0\r\n"
                             "Data:\r\n" +
                             SampleLine(20, 10) + SampleLine(30, 10) +
                             "\r\n"
                             "[COMPOUND]\r\n"
                             "Name=\"Soft\"\r\n";

// The frame as the application builds it; dialogs answered from a script.
class FileCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.Client()->SetDialogs(&dialogs);
    frame.resize(900, 700);
    frame.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
  }
  void TearDown() override { frame.Client()->SetDialogs(nullptr); }

  EditorState& st() { return frame.Client()->State(); }
  EditorDocument& doc() { return st().Doc; }
  void Run(int id) { frame.Command(id); }
  QString Caption() const { return frame.windowTitle(); }

  static QString Q(const std::string& path) { return QString::fromStdString(path); }
  std::string Path(const std::string& name) const { return (dir.path() / name).string(); }

  // Opens the file at path through the Open command.
  void Open(const std::string& path) {
    dialogs.openAnswers.push_back(Q(path));
    Run(CmOpen);
  }
  // Saves under path through the Save As command.
  void SaveAs(const std::string& path) {
    dialogs.saveAnswers.push_back(Q(path));
    Run(CmSaveAs);
  }

  test::TempDir dir;
  test::ScriptedDialogs dialogs;
  TSDIDecFrame frame;
};

// --- Open --------------------------------------------------------------------

TEST_F(FileCommandsTest, OpenAsksForAPhysicsFileWhereTheLastOneWas) {
  doc().FileFolder = dir.path().string();
  doc().FileTitle = "last.ini";
  dialogs.openAnswers = {QString()};
  Run(CmOpen);
  ASSERT_EQ(dialogs.openRequests.size(), 1u);
  const FileDialogRequest& request = dialogs.openRequests[0];
  EXPECT_EQ(request.Title, QStringLiteral("Select the Physics File in Subject Folder"));
  EXPECT_TRUE(request.Filter.startsWith(QStringLiteral("Physics Files (*.ini;*.tbc) (")));
  EXPECT_TRUE(request.HideFilterPatterns);
  EXPECT_EQ(request.Folder, Q(dir.path().string()));
  EXPECT_EQ(request.ProposedName, QStringLiteral("last.ini"));
  EXPECT_EQ(QDir::currentPath(), Q(dir.path().string()));

  // A folder that has gone leaves the dialog where the process is.
  doc().FileFolder = Path("gone");
  dialogs.openAnswers = {QString()};
  Run(CmOpen);
  EXPECT_EQ(dialogs.openRequests[1].Folder, Q(dir.path().string()));
}

TEST_F(FileCommandsTest, CancellingOpenChangesNothingButSaysSo) {
  const std::string before = doc().FilePath;
  dialogs.openAnswers = {QString()};
  Run(CmOpen);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Aborted by user!"));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_EQ(doc().FilePath, before);
  EXPECT_TRUE(doc().EngineMode);
  EXPECT_EQ(doc().RowCount, 41);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge"));
}

TEST_F(FileCommandsTest, OpeningAnEngineFileReadsRowsAndParameters) {
  doc().Modified = true;
  st().View.FirstVisibleRow = 3;
  frame.Client()->ValueEdit()->setText(QStringLiteral("123.4"));
  Open(dir.Write("Engine.ini", EngineFile));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(doc().EngineMode);
  EXPECT_TRUE(doc().EngineLoaded);
  EXPECT_FALSE(doc().UpgradeLoaded);
  EXPECT_FALSE(doc().Modified);
  EXPECT_EQ(doc().RowCount, 5);
  EXPECT_EQ(doc().Engine.Torque[3], 210.0);
  EXPECT_EQ(st().View.FirstVisibleRow, 0);
  EXPECT_TRUE(frame.Client()->ValueEdit()->text().isEmpty());
  EXPECT_FALSE(st().Ui.ValueShown);
  EXPECT_EQ(doc().FilePath, Path("Engine.ini"));
  EXPECT_EQ(doc().FileTitle, "Engine.ini");
  EXPECT_EQ(doc().FileFolder, dir.path().string());
  EXPECT_EQ(doc().WorkFolder, dir.path().string());
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
  EXPECT_EQ(doc().EngineText, EngineFile);

  const EngineParameterSet& set = doc().Parameters;
  EXPECT_EQ(set.Find("FuelConsumption")->Values[0], 5.9e-05);
  EXPECT_EQ(set.Find("IdleRPMLogic")->Values[1], 1200.0);
  EXPECT_EQ(set.Find("IdleRPMLogic")->Comment, "// keep it idling");
  EXPECT_EQ(set.Find("RevLimitSetting")->Values[0], 3.0);
  EXPECT_EQ(set.Find("EngineInertia")->Values[0], 0.256);  // not in the file: the default stays
  EXPECT_TRUE(frame.Client()->Status(CmEditParameters).Enabled);
  EXPECT_TRUE(frame.Client()->Status(CmSaveAs).Enabled);
}

TEST_F(FileCommandsTest, AnUpgradeFileOpensInUpgradeModeWithoutItsParameters) {
  Open(dir.Write("my_upgrade.ini", UpgradeFile));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(doc().UpgradeMode);
  EXPECT_TRUE(doc().UpgradeLoaded);
  EXPECT_EQ(doc().RowCount, 3);
  EXPECT_EQ(doc().Parameters.Find("FuelConsumption")->Values[0], 5.631e-05);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - my_upgrade.ini"));
  EXPECT_FALSE(frame.Client()->Status(CmEditParameters).Enabled);
  EXPECT_TRUE(frame.Client()->Status(CmSaveAs).Enabled);

  // An ordinary engine file afterwards is Engine mode again; the upgrade
  // origin stays recorded.
  Open(dir.Write("Engine.ini", EngineFile));
  EXPECT_TRUE(doc().EngineMode);
  EXPECT_TRUE(doc().UpgradeLoaded);
  EXPECT_EQ(doc().Parameters.Find("FuelConsumption")->Values[0], 5.9e-05);
}

TEST_F(FileCommandsTest, ANameHoldingTbcAnywhereIsATireFile) {
  Open(dir.Write("ENGINE.TBC.INI", TireFile));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(doc().TireMode);
  EXPECT_TRUE(doc().TireLoaded);
  EXPECT_FALSE(doc().EngineLoaded);
  EXPECT_EQ(doc().SlipCurveCount, 2);
  EXPECT_EQ(doc().SlipCurves[1].Name, "\"Long\"");
  EXPECT_EQ(doc().RowCount, 237);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - ENGINE.TBC.INI"));
}

TEST_F(FileCommandsTest, OpeningATireFileKeepsModifiedAndFitsTheScrollBar) {
  // A curve longer than the built-in one: the table must scroll to its end.
  std::string longCurve = "[SLIPCURVE]\r\nName=long\r\nStep=0.001\r\nDropoffFunction=1.0\r\nData:\r\n";
  for (int i = 0; i < 26; ++i) longCurve += SampleLine(0, 10);
  longCurve += "\r\n";
  doc().Modified = true;
  Open(dir.Write("long.tbc", longCurve));
  EXPECT_TRUE(doc().TireMode);
  EXPECT_EQ(doc().RowCount, 260);
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(frame.Client()->RowScrollBar()->maximum(), 260 - st().View.VisibleRows);
}

TEST_F(FileCommandsTest, AnEngineFileWithoutRowsLeavesNoRowsAndTheOldCaption) {
  Open(dir.Write("Engine.ini", EngineFile));
  Open(dir.Write("norows.ini", "[ENGINE]\r\nFuelConsumption=1.0\r\n"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No torque data found in this file!"));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_EQ(doc().RowCount, 0);
  EXPECT_EQ(doc().Engine.EngineRowCount, 0);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
  EXPECT_EQ(doc().FileTitle, "norows.ini");  // the names were taken before reading
  EXPECT_EQ(doc().Parameters.Find("FuelConsumption")->Values[0], 5.9e-05);
}

TEST_F(FileCommandsTest, ATireFileWithoutCurvesIsReported) {
  Open(dir.Write("empty.tbc", "// nothing here\r\n"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("No tire data found in this file!"));
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
  EXPECT_TRUE(doc().TireMode);
  EXPECT_TRUE(doc().TireLoaded);
  EXPECT_EQ(doc().SlipCurveCount, 0);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge"));
}

TEST_F(FileCommandsTest, AnEngineFileAfterATireFileStartsAtRowZeroInEngineMode) {
  Open(dir.Write("road.tbc", TireFile));
  ASSERT_TRUE(doc().TireMode);
  st().View.FirstVisibleRow = 100;
  Open(dir.Write("Engine.ini", EngineFile));
  EXPECT_TRUE(doc().EngineMode);
  EXPECT_EQ(doc().RowCount, 5);
  EXPECT_EQ(st().View.FirstVisibleRow, 0);
  EXPECT_FALSE(frame.Client()->RowScrollBar()->isEnabled());  // five rows fit
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
  // The tire file stays read: its mode shows its curves again.
  Run(CmModeTire);
  EXPECT_EQ(doc().SlipCurveCount, 2);
}

TEST_F(FileCommandsTest, AFileThatCannotBeReadIsReportedWithItsFullPath) {
  for (const char* name : {"gone.ini", "gone.tbc"}) {
    dialogs.messages.clear();
    Open(Path(name));
    ASSERT_EQ(dialogs.messages.size(), 1u) << name;
    EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable to open file the selected file: ") + Q(Path(name)));
    EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE NOT LOADED!"));
    EXPECT_EQ(doc().FilePath, Path(name));
  }
  EXPECT_TRUE(doc().TireMode);  // entered before reading
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge"));
}

TEST_F(FileCommandsTest, APathLongerThanTheDocumentHoldsIsRefusedUntouched) {
  fs::path deep = dir.path();
  while (deep.string().size() < 250) deep /= "folder_of_a_deep_tree";
  fs::create_directories(deep);
  const std::string path = (deep / "Engine.ini").string();
  { std::ofstream(path, std::ios::binary) << EngineFile; }
  ASSERT_GT(path.size(), static_cast<std::size_t>(MaxPathLength));
  const std::string pathBefore = doc().FilePath;
  Open(path);
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text, QStringLiteral("Unable to open file the selected file: ") + Q(path));
  EXPECT_EQ(doc().FilePath, pathBefore);
  EXPECT_FALSE(doc().EngineLoaded);
  EXPECT_EQ(doc().RowCount, 41);
}

// --- Save As -------------------------------------------------------------------

TEST_F(FileCommandsTest, SaveAsAsksWithOverwriteConfirmationAndCancelsSilently) {
  Open(dir.Write("Engine.ini", EngineFile));
  doc().Modified = true;
  dialogs.saveAnswers = {QString()};
  Run(CmSaveAs);
  ASSERT_EQ(dialogs.saveRequests.size(), 1u);
  const FileDialogRequest& request = dialogs.saveRequests[0];
  EXPECT_EQ(request.Title, QStringLiteral("Select or enter the Physics File name"));
  EXPECT_EQ(request.Filter, dialogs.openRequests[0].Filter);
  EXPECT_TRUE(request.HideFilterPatterns);
  EXPECT_TRUE(request.ConfirmOverwrite);
  EXPECT_EQ(request.Folder, Q(dir.path().string()));
  EXPECT_EQ(request.ProposedName, QStringLiteral("Engine.ini"));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(test::TempDir::Read(Path("Engine.ini")), EngineFile);
}

TEST_F(FileCommandsTest, ANameWithAFolderPartSavesThereAndTitlesTheFileByItsLastPart) {
  Open(dir.Write("Engine.ini", EngineFile));
  fs::create_directory(dir.path() / "out");
  SaveAs(Path("out/Copy.ini"));
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(test::TempDir::Read(Path("out/Copy.ini")), EngineFileAsSaved());
  EXPECT_EQ(doc().SaveFolder, Path("out"));
  EXPECT_EQ(doc().SaveTitle, "Copy.ini");
  EXPECT_EQ(doc().FileTitle, "Copy.ini");
  EXPECT_EQ(doc().FileFolder, dir.path().string());
  EXPECT_EQ(doc().FilePath, Path("Engine.ini"));
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Copy.ini"));
  // The next Save As starts where this one saved.
  dialogs.saveAnswers = {QString()};
  Run(CmSaveAs);
  EXPECT_EQ(dialogs.saveRequests[1].Folder, Q(Path("out")));
  EXPECT_EQ(dialogs.saveRequests[1].ProposedName, QStringLiteral("Copy.ini"));
}

TEST_F(FileCommandsTest, AFailedSaveKeepsModifiedTitleAndCaption) {
  Open(dir.Write("Engine.ini", EngineFile));
  doc().Modified = true;
  SaveAs(Path("missing/Copy.ini"));
  ASSERT_EQ(dialogs.messages.size(), 1u);
  EXPECT_EQ(dialogs.messages[0].text,
            QStringLiteral("There was an error opening the output file: ") + Q(Path("missing/Copy.ini")) + ".");
  EXPECT_EQ(dialogs.messages[0].caption, QStringLiteral("FILE ERROR!"));
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(doc().FileTitle, "Engine.ini");
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));

  fs::path deep = dir.path();
  while (deep.string().size() < 260) deep /= "folder_of_a_deep_tree";
  fs::create_directories(deep);
  SaveAs((deep / "Copy.ini").string());
  ASSERT_EQ(dialogs.messages.size(), 2u);
  EXPECT_EQ(dialogs.messages[1].text,
            QStringLiteral("The file name is longer than 259 characters: ") + Q((deep / "Copy.ini").string()));
  EXPECT_EQ(dialogs.messages[1].caption, QStringLiteral("FILE ERROR!"));
  EXPECT_FALSE(fs::exists(deep / "Copy.ini"));
  EXPECT_TRUE(doc().Modified);
}

// --- End to end ------------------------------------------------------------------

// Fills one box of the Edit Engine Parameters dialog and confirms it.
std::function<int(QDialog&)> EditParameter(const QString& name, const QString& text) {
  return [name, text](QDialog& dialog) {
    QLineEdit* box = dialog.findChild<QLineEdit*>(name);
    EXPECT_NE(box, nullptr);
    if (box) box->setText(text);
    dialog.accept();
    return dialog.result();
  };
}

TEST_F(FileCommandsTest, AnEditedEngineFileIsSavedAsTheComposedTextAndReadsBackTheSame) {
  Open(dir.Write("Engine.ini", EngineFile));
  dialogs.dialogScripts.push_back([](QDialog& dialog) {
    EXPECT_EQ(dialog.findChild<QLineEdit*>("IdleRPMLogicEdit2")->text(), QStringLiteral("1200.0"));
    EXPECT_EQ(dialog.findChild<QLineEdit*>("FuelConsumptionEdit")->text(), QStringLiteral("5.900e-05"));
    return EditParameter(QStringLiteral("IdleRPMLogicEdit2"), QStringLiteral("1350.0"))(dialog);
  });
  Run(CmEditParameters);
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(doc().Parameters.Find("IdleRPMLogic")->Values[1], 1350.0);

  SaveAs(Path("Edited.ini"));
  EXPECT_TRUE(dialogs.messages.empty());
  const std::string saved = test::TempDir::Read(Path("Edited.ini"));
  EXPECT_EQ(saved, doc().EngineText);
  EXPECT_EQ(saved.rfind("// Engine data generated by Dynoforge\r\n"
                        "RPMTorque=( 0.0, -10.0, 0.0)\r\n"
                        "RPMTorque=( 1000.0, -20.0, 150.0)\r\n",
                        0),
            0u);
  EXPECT_NE(saved.find("\r\nIdleRPMLogic=(950, 1350)   // keep it idling\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\nRevLimitSetting=3   \r\n"), std::string::npos);
  EXPECT_EQ(saved.find("UpshiftAlgorithm=("), std::string::npos);  // the composed text has only rows and parameters
  EXPECT_EQ(test::TempDir::Read(Path("Engine.ini")), EngineFile);
  EXPECT_FALSE(fs::exists(Path("Engine.in_")));
  EXPECT_FALSE(doc().Modified);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Edited.ini"));

  // Opened again, the saved file gives the same rows, and the parameters as
  // the file writes them (0.003962, say, is written with five decimals).
  const EngineCurve curve = doc().Engine;
  const EngineParameterSet parameters = doc().Parameters;
  Open(Path("Edited.ini"));
  EXPECT_EQ(doc().RowCount, 5);
  EXPECT_EQ(doc().Engine.Torque, curve.Torque);
  EXPECT_EQ(doc().Engine.Compression, curve.Compression);
  for (int i = 0; i < EngineParameterCount; ++i) {
    const EngineParameter& written = parameters.Items[i];
    for (int v = 0; v < written.ValueCount(); ++v) {
      EXPECT_EQ(doc().Parameters.Items[i].Values[v], DecimalToDouble(FormatParameterValue(written.Values[v], v)))
          << written.Key() << " " << v;
    }
    EXPECT_EQ(doc().Parameters.Items[i].Comment, written.Comment) << i;
  }
  EXPECT_EQ(doc().Parameters.Find("IdleRPMLogic")->Values[1], 1350.0);
}

TEST_F(FileCommandsTest, SavingOverTheOpenedEngineFileBacksItUpFirst) {
  const std::string path = dir.Write("Engine.ini", EngineFile);
  Open(path);
  dialogs.dialogScripts.push_back(EditParameter(QStringLiteral("LifetimeAvgEdit"), QStringLiteral("9000")));
  Run(CmEditParameters);
  SaveAs(path);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(test::TempDir::Read(Path("Engine.in_")), EngineFile);
  const std::string saved = test::TempDir::Read(path);
  EXPECT_EQ(saved, doc().EngineText);
  EXPECT_NE(saved.find("\r\nLifetimeAvg=9000   // average lifetime in seconds\r\n"), std::string::npos);
  EXPECT_FALSE(doc().Modified);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - Engine.ini"));
}

TEST_F(FileCommandsTest, AnEngineFileSavedWithoutEditingKeepsEveryOtherLine) {
  Open(dir.Write("Engine.ini", EngineFile));
  doc().Engine.Torque[1] = 155.0;  // as a drag would leave it
  RecomputePower(doc(), 1);
  doc().Modified = true;
  SaveAs(Path("Dragged.ini"));
  EXPECT_EQ(test::TempDir::Read(Path("Dragged.ini")), EngineFileAsSaved("155.0"));
}

TEST_F(FileCommandsTest, AnUpgradeFileIsSavedWithEveryRowAsAnHdvRow) {
  const std::string path = dir.Write("V8_Upgrade.ini", UpgradeFile);
  Open(path);
  doc().Engine.Torque[2] = 200.0;
  RecomputePower(doc(), 2);
  doc().Modified = true;
  SaveAs(path);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(test::TempDir::Read(Path("V8_Upgrade.in_")), UpgradeFile);
  const std::string expected =
      "UpgradeType=\"Engine\"\r\n"
      "{\r\n"
      "  Level=\"Sport\"\r\n"
      "HDV=RPMTorque=( 0.0, -10.0, 0.0)\r\n"
      "HDV=RPMTorque=( 1000.0, -20.0, 160.0)\r\n"
      "HDV=RPMTorque=( 2000.0, -25.0, 200.0)\r\n"
      "  HDV=FuelConsumption=1.0\r\n"
      "}\r\n";
  EXPECT_EQ(test::TempDir::Read(path), expected);
  EXPECT_FALSE(doc().Modified);
  EXPECT_EQ(Caption(), QStringLiteral("Dynoforge - V8_Upgrade.ini"));

  Open(path);
  EXPECT_TRUE(doc().UpgradeMode);
  EXPECT_EQ(doc().RowCount, 3);
  EXPECT_EQ(doc().Engine.Torque[2], 200.0);
}

TEST_F(FileCommandsTest, ATireFileWithEditedHeadersAndAnAddedCurveIsSavedAndReadBack) {
  const std::string path = dir.Write("road.tbc", TireFile);
  Open(path);
  dialogs.dialogScripts.push_back([](QDialog& dialog) {
    QTest::mouseClick(dialog.findChild<QPushButton*>("addCurveButton"), Qt::LeftButton);  // Add
    dialog.findChild<QLineEdit*>("nameEdit1")->setText(QStringLiteral("Lateral"));
    dialog.findChild<QLineEdit*>("stepEdit2")->setText(QStringLiteral("0.005"));
    dialog.findChild<QLineEdit*>("dropoffEdit3")->setText(QStringLiteral("1.5"));
    dialog.accept();
    return dialog.result();
  });
  Run(CmEditParameters);
  EXPECT_TRUE(doc().Modified);
  ASSERT_EQ(doc().SlipCurveCount, 3);
  EXPECT_EQ(doc().SlipCurves[2].Name, "New Curve");
  EXPECT_EQ(doc().SlipCurves[2].SampleCount, doc().RowCount);

  SaveAs(path);
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_EQ(test::TempDir::Read(Path("road.tb_")), TireFile);
  const std::string saved = test::TempDir::Read(path);
  EXPECT_EQ(saved.rfind("// road tyre\r\n[SLIPCURVE]\r\nName=Lateral\r\nStep=0.00200\r\nDropoffFunction=3.0\r\nData:\r\n"
                        "0.100000 0.101000",
                        0),
            0u);
  EXPECT_NE(saved.find("[SLIPCURVE]\r\nName=\"Long\"\r\nStep=0.00500\r\nDropoffFunction=2.0\r\nData:\r\n"),
            std::string::npos);
  EXPECT_NE(saved.find("[SLIPCURVE]\r\nName=New Curve\r\nStep=0.00400\r\nDropoffFunction=1.5\r\nData:\r\n"
                       "0.120000 0.121000"),
            std::string::npos);
  EXPECT_TRUE(saved.ends_with("\r\n\r\n[COMPOUND]\r\nName=\"Soft\"\r\n"));
  EXPECT_FALSE(doc().Modified);

  Open(path);
  ASSERT_EQ(doc().SlipCurveCount, 3);
  EXPECT_EQ(doc().SlipCurves[0].Name, "Lateral");
  EXPECT_EQ(doc().SlipCurves[1].Step, 0.005);
  EXPECT_EQ(doc().SlipCurves[2].DropoffFunction, 1.5);
  EXPECT_EQ(doc().SlipCurves[2].SampleCount, 237);
  EXPECT_EQ(doc().SlipCurves[2].Samples[19], doc().SlipCurves[1].Samples[19]);
  EXPECT_EQ(doc().SlipCurves[2].Samples[20], 0.0);
}

// --- Closing with unsaved changes ----------------------------------------------

TEST_F(FileCommandsTest, ChoosingSaveWhenClosingClosesOnlyOnceTheFileIsWritten) {
  Open(dir.Write("Engine.ini", EngineFile));
  doc().Modified = true;

  // The save dialog cancelled: the window stays.
  dialogs.saveChoices = {UserDialogs::SaveChoice::Save};
  dialogs.saveAnswers = {QString()};
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(frame.isVisible());

  // The file cannot be written: the window stays, the changes too.
  dialogs.saveChoices = {UserDialogs::SaveChoice::Save};
  dialogs.saveAnswers = {Q(Path("missing/Engine.ini"))};
  EXPECT_FALSE(frame.close());
  EXPECT_TRUE(doc().Modified);
  EXPECT_EQ(dialogs.messages.size(), 1u);

  // Written: the window closes.
  dialogs.saveChoices = {UserDialogs::SaveChoice::Save};
  dialogs.saveAnswers = {Q(Path("Saved.ini"))};
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(dialogs.saveQuestions, 3);
  EXPECT_EQ(test::TempDir::Read(Path("Saved.ini")), EngineFileAsSaved());
}

TEST_F(FileCommandsTest, OpeningAndSavingLeaveNothingToAskAbout) {
  Open(dir.Write("Engine.ini", EngineFile));
  EXPECT_TRUE(frame.close());
  EXPECT_EQ(dialogs.saveQuestions, 0);
}

}  // namespace
}  // namespace dyno
