// Every kind of undo step, on an opened engine or tire file: undone, the
// document is as it was field by field and saves to the same bytes; redone,
// it is as the action left it.

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "core/chart/RowScrolling.h"
#include "core/curves/Generator.h"
#include "core/curves/Rescale.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "core/editing/ModeCommands.h"
#include "core/editing/UndoCommands.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "support/EditorFixture.h"
#include "support/Printf.h"
#include "support/SameDocument.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

using test::Printf;

// An engine file: the sample curve's rows between lines the editor keeps.
std::string EngineFileText() {
  EditorDocument curve;
  test::FillSampleEngineCurve(curve);
  std::string text = "// Touring car\r\n[ENGINE]\r\n";
  for (int i = 0; i < curve.RowCount; ++i) {
    text += Printf("RPMTorque=( %.1f, %.1f, %.1f)\r\n", curve.Engine.Rpm[i], curve.Engine.Compression[i],
                   curve.Engine.Torque[i]);
  }
  return text + "FuelEstimate=0.950   // fudge factor\r\nLifetimeAvg=12000   // average lifetime in seconds\r\n"
                "[CONTROLS]\r\nUpshiftAlgorithm=(0.98, 0.0)\r\n";
}

// A tire file of two curves of 40 samples; sample 5 of the first has more
// decimals than the table shows.
std::string TireFileText() {
  std::string text = "[COMPOUND]\r\nName=\"Test\"\r\n";
  for (int k = 0; k < 2; ++k) {
    text += Printf("[SLIPCURVE]\r\nName=\"Curve %d\"\r\nStep=0.00250\r\nDropoffFunction=3.0\r\nData:\r\n", k);
    for (int i = 0; i < 40; ++i) {
      text += k == 0 && i == 5 ? std::string("0.1234567") : Printf("%0.6f", 0.5 + 0.3 * std::sin(i * 0.2 + k));
      text += i % 10 == 9 ? "\r\n" : " ";
    }
    text += "\r\n";
  }
  return text + "[TAIL]\r\nKept=1\r\n";
}

// The cases below act on the fixture from outside.
class UndoSteps : public test::EditorFixture {
 public:
  using EditorFixture::Click;
  using EditorFixture::CompressionCell;
  using EditorFixture::DownButton;
  using EditorFixture::host;
  using EditorFixture::st;
  using EditorFixture::Tick;
  using EditorFixture::TireCell;
  using EditorFixture::TireHeader;
  using EditorFixture::TorqueCell;
  using EditorFixture::TorquePoint;
  using EditorFixture::UpButton;

  void OpenEngine() {
    ASSERT_EQ(ReadEngineRows(st.Doc, dir.Write("engine.ini", EngineFileText())).Result, ReadResult::Read);
    st.Doc.EngineLoaded = true;
    ReadEngineParameters(st.Doc);
    Opened();
  }
  void OpenTire() {
    SetFileMode(st, FileMode::Tire);
    ASSERT_EQ(ReadTireFile(st.Doc, dir.Write("tires.tbc", TireFileText())).Result, ReadResult::Read);
    Opened();
  }
  void Opened() {
    Layout();
    st.Doc.Modified = false;
    StartHistory(st);
  }

  // The bytes Save As writes for the document as it is.
  std::string Saved() {
    const std::string name = "saved" + std::to_string(++saves);
    const std::string folder = dir.path().string();
    const SaveResult result = st.Doc.TireMode ? WriteTireFile(st.Doc, "", "", folder, name)
                                              : WriteEngineFile(st.Doc, "", "", folder, name);
    EXPECT_EQ(result.Status, SaveStatus::Saved);
    return test::TempDir::Read(dir.path() / name);
  }

  // As the window runs a command: one step around the core's work.
  void Command(StepKind kind, const std::function<void()>& work) {
    BeginStep(st, kind);
    work();
    EndStep(st);
  }

  test::TempDir dir;
  int saves = 0;
};

struct StepCase {
  const char* Name;
  bool Tire;
  StepKind Kind;
  std::function<void(UndoSteps&)> Action;
  std::function<void(UndoSteps&)> Prepare = [](UndoSteps&) {};  // before the document is taken
};

void PrintTo(const StepCase& c, std::ostream* out) { *out << c.Name; }

// A command: its core work as the window runs it, one step around it.
StepCase Core(const char* name, bool tire, StepKind kind, std::function<void(EditorDocument&)> work) {
  return {name, tire, kind, [kind, work](UndoSteps& t) { t.Command(kind, [&] { work(t.st.Doc); }); }};
}

class EveryStep : public UndoSteps, public ::testing::WithParamInterface<StepCase> {};

const StepCase StepCases[] = {
    {"Drag", false, StepKind::Drag,
     [](UndoSteps& t) {
       const Point p = t.TorquePoint(20);
       EvLButtonDown(t.st, p);
       EvMouseMove(t.st, {p.x, p.y - 20});
       EvMouseMove(t.st, {p.x, p.y - 40});
       EvLButtonUp(t.st, {p.x, p.y - 40});
     }},
    {"Typing", false, StepKind::Typing,
     [](UndoSteps& t) {
       t.Click(t.CompressionCell(3));
       t.host.ClearByUser();
       t.host.Type("-77.5");
       ValueEditNotify(t.st, ValueEditCode::FocusLost);
     }},
    {"UpDown", false, StepKind::UpDown,
     [](UndoSteps& t) {
       t.Click(t.TorqueCell(5));
       EvLButtonDown(t.st, t.UpButton());
       t.Tick(14);
       EvLButtonUp(t.st, t.UpButton());
     }},
    {"Bend", true, StepKind::Bend,
     [](UndoSteps& t) {
       EvLButtonDown(t.st, t.DownButton());
       t.Tick(12);
       EvLButtonUp(t.st, t.DownButton());
     },
     [](UndoSteps& t) { BendCommand(t.st); }},
    // A cell shown while the box holds text stores its value as shown.
    {"EditCell", true, StepKind::EditCell, [](UndoSteps& t) { t.Click(t.TireCell(0, 5)); },
     [](UndoSteps& t) { t.Click(t.TireCell(1, 5)); }},
    {"GenerateEngine", false, StepKind::Generate,
     [](UndoSteps& t) {
       BeginStep(t.st, StepKind::Generate);
       GenerateNewEngine(t.st.Doc);
       RefitTable(t.st.View, t.st.Host, t.st.Doc.RowCount);
       MarkDocumentClean(t.st);
     }},
    Core("GenerateTire", true, StepKind::Generate,
         [](EditorDocument& doc) {
           doc.TireParsed = false;
           ResetSlipCurves(doc);
         }),
    Core("Rescale", false, StepKind::Rescale,
         [](EditorDocument& doc) {
           RescaleValues values = BeginRescale(doc);
           values.CurrentHp *= 1.5;
           values.NewCompression *= 0.5;
           ApplyRescale(doc, values);
         }),
    Core("ChangeResolution", false, StepKind::ChangeResolution,
         [](EditorDocument& doc) {
           BeginChangeResolution(doc);
           EXPECT_TRUE(ChangeResolution(doc, 100.0).Changed);
         }),
    Core("AddLineEngine", false, StepKind::AddLine, [](EditorDocument& doc) { AddLine(doc); }),
    Core("AddLineTire", true, StepKind::AddLine, [](EditorDocument& doc) { AddLine(doc); }),
    Core("RemoveLineEngine", false, StepKind::RemoveLine, [](EditorDocument& doc) { RemoveLine(doc); }),
    Core("RemoveLineTire", true, StepKind::RemoveLine, [](EditorDocument& doc) { RemoveLine(doc); }),
    {"Import", false, StepKind::Import,
     [](UndoSteps& t) {
       const std::string other = t.dir.Write("other.ini", "RPMTorque=( 0.0, -5.0, 0.0)\r\nRPMTorque=( 1000.0, -6.0, "
                                                          "50.0)\r\nFuelEstimate=0.5   // imported\r\n");
       t.Command(StepKind::Import, [&] { ReadEngineRows(t.st.Doc, other); });
     }},
    Core("EditParameters", false, StepKind::EditParameters,
         [](EditorDocument& doc) {
           ParameterTexts texts;
           LoadParameterTexts(doc.Parameters, texts);
           texts.Texts[ParameterTextIndex(EngineParameterIndex("LifetimeAvg"), 0)] = "9000";
           ApplyParameterTexts(doc, texts);
         }),
    Core("EditSlipCurves", true, StepKind::EditSlipCurves,
         [](EditorDocument& doc) {
           const int count = AddSlipCurve(doc, doc.SlipCurveCount);
           StoreSlipHeader(doc.SlipCurves[0], "Dry front", "0.003", "2.5");
           ApplySlipCurveCount(doc, count);
         }),
};

TEST_P(EveryStep, IsUndoneAndRedoneExactly) {
  const StepCase& c = GetParam();
  c.Tire ? OpenTire() : OpenEngine();
  c.Prepare(*this);
  const std::string savedBefore = Saved();
  const EditorDocument before = st.Doc;

  c.Action(*this);
  ASSERT_EQ(st.History.Steps(), 1);
  EXPECT_EQ(st.History.NextUndo(), c.Kind);
  const EditorDocument after = st.Doc;
  ASSERT_NE(test::DocumentDifferences(before, after), std::vector<std::string>{}) << "the action changed nothing";
  // Generate makes a new engine that counts as unchanged.
  const bool newEngine = c.Kind == StepKind::Generate && !c.Tire;
  EXPECT_EQ(st.Doc.Modified, !newEngine);

  UndoCommand(st);
  EXPECT_EQ(test::DocumentDifferences(st.Doc, before), std::vector<std::string>{});
  EXPECT_EQ(st.Doc.Modified, newEngine);
  EXPECT_EQ(Saved(), savedBefore);
  EXPECT_EQ(st.History.NextRedo(), c.Kind);

  RedoCommand(st);
  EXPECT_EQ(test::DocumentDifferences(st.Doc, after), std::vector<std::string>{});
  EXPECT_EQ(st.Doc.Modified, !newEngine);
  EXPECT_EQ(st.History.NextUndo(), c.Kind);
}

INSTANTIATE_TEST_SUITE_P(UndoSteps, EveryStep, ::testing::ValuesIn(StepCases),
                         [](const ::testing::TestParamInfo<StepCase>& param) { return std::string(param.param.Name); });

TEST_F(UndoSteps, ARunOfTypingEndsWithEnterTheFocusOrAnotherPick) {
  OpenEngine();
  const double original = Torque(3);
  Click(TorqueCell(3));
  host.ClearByUser();
  host.Type("350");
  EXPECT_EQ(st.History.Steps(), 0) << "the run goes on";
  EXPECT_EQ(st.History.NextUndo(), StepKind::Typing);
  EndTyping(st);  // Enter
  host.Type("1");
  ValueEditNotify(st, ValueEditCode::FocusLost);
  host.Backspace();
  host.Backspace();
  Click(TorqueCell(4));
  EXPECT_EQ(st.History.Steps(), 3);
  EXPECT_EQ(Torque(3), 35.0);
  UndoCommand(st);
  EXPECT_EQ(Torque(3), 3501.0);
  UndoCommand(st);
  EXPECT_EQ(Torque(3), 350.0);
  UndoCommand(st);
  EXPECT_EQ(Torque(3), original);
  EXPECT_FALSE(st.Doc.Modified);
}

TEST_F(UndoSteps, UndoAndRedoShowTheViewOfTheirStep) {
  OpenEngine();
  Layout(800, 300);  // fewer table rows than the curve has
  const double original = Torque(14);
  RowScrollNotify(st.View, host, 12);
  Click(TorqueCell(2));
  ASSERT_EQ(st.Ui.SelectedIndex, 14);
  host.ClearByUser();
  host.Type("300");
  EndTyping(st);
  // Since then: another mode, the table at its top, nothing selected.
  SetFileMode(st, FileMode::Tire);
  host.invalidations.clear();

  UndoCommand(st);
  EXPECT_EQ(Torque(14), original);
  EXPECT_TRUE(st.Doc.EngineMode);
  EXPECT_FALSE(st.Doc.TireMode);
  EXPECT_EQ(st.Doc.RowCount, 41);
  EXPECT_EQ(st.View.FirstVisibleRow, 12);
  EXPECT_EQ(host.scrollBar.Position, 12);
  EXPECT_TRUE(host.scrollBar.Enabled);
  EXPECT_EQ(st.Ui.SelectedIndex, 14);
  EXPECT_TRUE(st.Ui.TorqueSelected);
  EXPECT_TRUE(host.valueBox.empty());
  EXPECT_FALSE(st.Ui.ValueShown);
  EXPECT_TRUE(host.Invalidated(st.View.ClientFrom(0, 0)));

  SetFileMode(st, FileMode::Upgrade);
  RedoCommand(st);
  EXPECT_EQ(Torque(14), 300.0);
  EXPECT_TRUE(st.Doc.EngineMode);
  EXPECT_EQ(st.View.FirstVisibleRow, 12);
  EXPECT_TRUE(st.Ui.TorqueSelected);
}

TEST_F(UndoSteps, UndoWhileTheButtonIsDownEndsWhatThePressDid) {
  OpenEngine();
  const double torque = Torque(20);
  const Point p = TorquePoint(20);
  EvLButtonDown(st, p);
  EvMouseMove(st, {p.x, p.y - 30});
  ASSERT_NE(Torque(20), torque);
  UndoCommand(st);
  EXPECT_EQ(Torque(20), torque);
  EXPECT_FALSE(st.Ui.Dragging);
  EvMouseMove(st, {p.x, p.y - 60});
  EvLButtonUp(st, {p.x, p.y - 60});
  EXPECT_EQ(Torque(20), torque);
  EXPECT_EQ(st.History.NextRedo(), StepKind::Drag);

  const double compression = st.Doc.Engine.Compression[5];
  Click(CompressionCell(5));
  EvLButtonDown(st, UpButton());
  Tick();
  ASSERT_NE(st.Doc.Engine.Compression[5], compression);
  UndoCommand(st);
  Tick(20);
  EvLButtonUp(st, UpButton());
  EXPECT_EQ(st.Doc.Engine.Compression[5], compression);
  EXPECT_FALSE(st.Doc.Modified);
}

TEST_F(UndoSteps, ModesScrollingAndPicksAreNoSteps) {
  OpenEngine();
  Layout(800, 300);
  SetFileMode(st, FileMode::Tire);
  Click(TireHeader(2));
  SetFileMode(st, FileMode::Upgrade);
  SetFileMode(st, FileMode::Engine);
  RowScrollNotify(st.View, host, 5);
  Click(TorqueCell(1));
  Click(TorquePoint(10));
  BendCommand(st);
  EXPECT_FALSE(st.History.NextUndo());
  EXPECT_FALSE(st.Doc.Modified);
}

}  // namespace
}  // namespace dyno
