// The undo history on a bare document: which actions make steps, how
// Modified follows the clean state, the bounds on steps and memory, and the
// Undo and Redo commands' enabling and menu texts.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/document/CommandRules.h"
#include "core/document/UndoHistory.h"
#include "core/resources/ResourceIds.h"

namespace dyno {
namespace {

constexpr std::size_t MB = std::size_t{1} << 20;

class UndoHistoryTest : public ::testing::Test {
 protected:
  // One action as the editor records it.
  template <typename Work>
  bool Step(Work work, StepKind kind = StepKind::Drag) {
    history.Begin(doc, kind, {});
    work();
    return history.Commit(doc, {});
  }
  bool SetTorque(int row, double value) {
    return Step([&] { doc.Engine.Torque[row] = value; });
  }
  bool ReplaceEngineText(std::string text) {
    return Step([&] { ReplaceText(doc, KeptText::Engine, std::move(text)); }, StepKind::Import);
  }

  EditorDocument doc;
  UndoHistory history;
};

TEST_F(UndoHistoryTest, AnActionThatChangesNothingLeavesNoStepAndModifiedAsItWas) {
  doc.Modified = true;
  history.Reset(doc);
  EXPECT_FALSE(Step([&] { doc.Modified = false; }));
  EXPECT_FALSE(Step([&] { doc.Engine.Torque[3] = doc.Engine.Torque[3]; }));
  // Switching the charted curve is a view, not a change.
  EXPECT_FALSE(Step([&] { doc.CurrentSlipCurve = 2; }));
  EXPECT_EQ(history.Steps(), 0);
  EXPECT_TRUE(doc.Modified);
  EXPECT_FALSE(history.Undo(doc));
}

TEST_F(UndoHistoryTest, ValuesCompareByTheirBits) {
  doc.Engine.Torque[1] = std::numeric_limits<double>::quiet_NaN();
  EXPECT_FALSE(SetTorque(1, doc.Engine.Torque[1])) << "a NaN is itself";
  EXPECT_TRUE(SetTorque(2, -0.0)) << "-0.0 is written as such";
  EXPECT_TRUE(Step([&] { doc.SlipCurves[3].Step = -0.0; }));
  history.Undo(doc);
  EXPECT_FALSE(std::signbit(doc.SlipCurves[3].Step));
  history.Undo(doc);
  EXPECT_FALSE(std::signbit(doc.Engine.Torque[2]));
}

// Actions and what Modified then says: save marks the clean state.
enum class Op { Change, Save, Undo, Redo };
struct ModifiedCase {
  const char* Name;
  std::vector<std::pair<Op, bool>> Script;  // each operation and Modified after it
};

class ModifiedFollowsTheHistory : public UndoHistoryTest, public ::testing::WithParamInterface<ModifiedCase> {};

TEST_P(ModifiedFollowsTheHistory, Sequence) {
  history.Reset(doc);
  int change = 0;
  for (const auto& [op, modified] : GetParam().Script) {
    switch (op) {
      case Op::Change: SetTorque(0, ++change); break;
      case Op::Save: history.MarkClean(doc); break;
      case Op::Undo: ASSERT_TRUE(history.Undo(doc)); break;
      case Op::Redo: ASSERT_TRUE(history.Redo(doc)); break;
    }
    EXPECT_EQ(doc.Modified, modified) << "after operation " << static_cast<int>(op) << ", change " << change;
  }
}

const ModifiedCase ModifiedCases[] = {
    {"BackToTheOpenedState", {{Op::Change, true}, {Op::Change, true}, {Op::Undo, true}, {Op::Undo, false}, {Op::Redo, true}}},
    {"BackToTheSavedState",
     {{Op::Change, true}, {Op::Save, false}, {Op::Change, true}, {Op::Undo, false}, {Op::Undo, true}, {Op::Redo, false},
      {Op::Redo, true}}},
    {"SavedAfterUndo", {{Op::Change, true}, {Op::Change, true}, {Op::Undo, true}, {Op::Save, false}, {Op::Redo, true},
                        {Op::Undo, false}, {Op::Undo, true}}},
    // A change after an undo drops the steps that led to the saved state.
    {"SavedStateUndoneAndLeftBehind",
     {{Op::Change, true}, {Op::Save, false}, {Op::Undo, true}, {Op::Change, true}, {Op::Undo, true}}},
};

INSTANTIATE_TEST_SUITE_P(UndoHistory, ModifiedFollowsTheHistory, ::testing::ValuesIn(ModifiedCases),
                         [](const ::testing::TestParamInfo<ModifiedCase>& param) { return std::string(param.param.Name); });

TEST_F(UndoHistoryTest, ADocumentOpenedWithUnsavedChangesHasNoCleanState) {
  doc.Modified = true;  // a tire file opened over an edited engine curve
  history.Reset(doc);
  SetTorque(0, 5.0);
  history.Undo(doc);
  EXPECT_TRUE(doc.Modified);
}

TEST_F(UndoHistoryTest, ANewStepDropsTheStepsUndoneBeforeIt) {
  SetTorque(0, 1.0);
  SetTorque(0, 2.0);
  history.Undo(doc);
  EXPECT_EQ(history.NextRedo(), StepKind::Drag);
  SetTorque(0, 3.0);
  EXPECT_EQ(history.Steps(), 2);
  EXPECT_FALSE(history.NextRedo());
  history.Undo(doc);
  EXPECT_EQ(doc.Engine.Torque[0], 1.0);
}

TEST_F(UndoHistoryTest, AbandonedActionsKeepTheirChangesWithoutAStep) {
  doc.Modified = false;
  history.Begin(doc, StepKind::EditSlipCurves, {});
  doc.SlipCurves[3].Name = "New Curve";
  history.Abandon(doc);
  EXPECT_EQ(doc.SlipCurves[3].Name, "New Curve");
  EXPECT_EQ(history.Steps(), 0);
  EXPECT_FALSE(history.Recording());
}

TEST_F(UndoHistoryTest, SavingWhileAnActionRecordsKeepsItsStep) {
  history.Begin(doc, StepKind::Typing, {});
  doc.Engine.Compression[4] = -50.0;
  history.MarkClean(doc);
  EXPECT_FALSE(doc.Modified);
  EXPECT_EQ(history.NextUndo(), StepKind::Typing);
  history.Undo(doc);
  EXPECT_TRUE(doc.Modified);
  EXPECT_EQ(doc.Engine.Compression[4], 0.0);
}

TEST_F(UndoHistoryTest, KeepsTheLatestThousandSteps) {
  for (int i = 1; i <= 1001; ++i) ASSERT_TRUE(SetTorque(0, i));
  EXPECT_EQ(history.Steps(), 1000);
  while (history.Undo(doc)) {
  }
  EXPECT_EQ(history.Position(), 0);
  EXPECT_EQ(doc.Engine.Torque[0], 1.0) << "the first step is the one dropped";
  EXPECT_TRUE(doc.Modified) << "the opened state is no longer reachable";
  while (history.Redo(doc)) {
  }
  EXPECT_EQ(doc.Engine.Torque[0], 1001.0);
}

TEST_F(UndoHistoryTest, ABigTextIsSharedNotCopiedByStepsThatDoNotChangeIt) {
  doc.EngineText.assign(50 * MB, 'x');
  const char* const bytes = doc.EngineText.data();
  for (int i = 1; i <= 20; ++i) ASSERT_TRUE(SetTorque(i, i));
  EXPECT_LT(history.Bytes(), 64 * 1024u) << "twenty small steps";
  while (history.Undo(doc)) {
  }
  while (history.Redo(doc)) {
  }
  EXPECT_EQ(doc.EngineText.data(), bytes);
  EXPECT_EQ(doc.EngineText.size(), 50 * MB);
}

TEST_F(UndoHistoryTest, AStepThatReplacesATextKeepsTheOldOneWithoutACopy) {
  doc.EngineText.assign(50 * MB, 'x');
  const char* const bytes = doc.EngineText.data();
  ASSERT_TRUE(ReplaceEngineText("// Engine data generated by Dynoforge\r\n"));
  EXPECT_GE(history.Bytes(), 50 * MB);
  EXPECT_LT(history.Bytes(), 51 * MB);
  history.Undo(doc);
  EXPECT_EQ(doc.EngineText.data(), bytes) << "the same buffer came back";
  EXPECT_LT(history.Bytes(), MB) << "the step now holds the small text";
  history.Redo(doc);
  EXPECT_EQ(doc.EngineText, "// Engine data generated by Dynoforge\r\n");
  // Replacing a text by the same bytes is no change.
  EXPECT_FALSE(ReplaceEngineText(doc.EngineText));
}

TEST_F(UndoHistoryTest, StepsBeyondSixtyFourMegabytesDropTheOldest) {
  doc.EngineText.assign(33 * MB, 'a');
  ASSERT_TRUE(ReplaceEngineText(std::string(33 * MB, 'b')));
  ASSERT_TRUE(SetTorque(0, 1.0));
  ASSERT_TRUE(ReplaceEngineText(std::string(1000, 'c')));
  EXPECT_EQ(history.Steps(), 2) << "the step holding the first 33 MB text went";
  EXPECT_LE(history.Bytes(), UndoHistory::MaxBytes);
  history.Undo(doc);
  history.Undo(doc);
  EXPECT_EQ(doc.EngineText.size(), 33 * MB);
  EXPECT_EQ(doc.EngineText.back(), 'b');
  EXPECT_EQ(doc.Engine.Torque[0], 0.0);
  EXPECT_FALSE(history.Undo(doc));
}

TEST_F(UndoHistoryTest, UndoAndRedoAreOfferedNamingTheirStep) {
  const auto status = [&](int id) { return QueryCommand(id, doc, history); };
  EXPECT_FALSE(status(CmUndo).Enabled);
  EXPECT_EQ(status(CmUndo).Text, "&Undo");
  EXPECT_FALSE(status(CmRedo).Enabled);
  EXPECT_EQ(status(CmRedo).Text, "&Redo");

  SetTorque(0, 1.0);
  Step([&] { doc.Engine.Torque[0] = 2.0; }, StepKind::ChangeResolution);
  EXPECT_TRUE(status(CmUndo).Enabled);
  EXPECT_EQ(status(CmUndo).Text, "&Undo Change Resolution");
  history.Undo(doc);
  EXPECT_EQ(status(CmUndo).Text, "&Undo Drag");
  EXPECT_TRUE(status(CmRedo).Enabled);
  EXPECT_EQ(status(CmRedo).Text, "&Redo Change Resolution");

  // A run of typing can be taken back while it goes on; what it would undo
  // cannot be redone once it changed anything.
  history.Begin(doc, StepKind::Typing, {});
  EXPECT_EQ(status(CmUndo).Text, "&Undo Typing");
  EXPECT_FALSE(status(CmRedo).Enabled);
  EXPECT_TRUE(status(CmOpen).Text.empty()) << "other commands keep their menu text";
  EXPECT_FALSE(QueryCommand(CmUndo, doc).Enabled) << "without a history";
}

}  // namespace
}  // namespace dyno
