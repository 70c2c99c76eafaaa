// The undo history on a bare document: which actions make steps, how the
// unsaved state follows the clean state, and the bounds on steps and memory. (The
// Undo and Redo menu texts are in the window flows' transcripts.)

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "core/document/UndoHistory.h"
#include "support/CaseTables.h"

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

TEST_F(UndoHistoryTest, OnlyAChangeOfSomeValuesBitsMakesAStep) {
  ASSERT_TRUE(SetTorque(1, std::numeric_limits<double>::quiet_NaN()));
  history.Reset(doc, FileData::Tire);  // a tire file opened over an edited engine curve
  EXPECT_FALSE(SetTorque(1, doc.Engine.Torque[1])) << "a NaN is itself";
  EXPECT_FALSE(Step([&] { doc.CurrentSlipCurve = 2; })) << "the charted curve is a view";
  EXPECT_EQ(history.Steps(), 0);
  EXPECT_TRUE(history.Unsaved(doc, FileData::Engine)) << "as it was";
  EXPECT_FALSE(history.Unsaved(doc, FileData::Tire)) << "just opened";
  EXPECT_TRUE(Step([&] { doc.SlipCurves[3].Step = -0.0; })) << "-0.0 is written as such";
  EXPECT_TRUE(history.Unsaved(doc, FileData::Tire));
  history.Undo(doc);
  EXPECT_FALSE(std::signbit(doc.SlipCurves[3].Step));
  EXPECT_FALSE(history.Unsaved(doc, FileData::Tire));
  EXPECT_TRUE(history.Unsaved(doc, FileData::Engine)) << "no state of this history is on disk";
}

// A step still recording counts with what it has changed so far, in the
// file whose data it changed: a drag shows unsaved changes while it runs,
// and one that ends where it began leaves none.
TEST_F(UndoHistoryTest, TheRecordingStepCountsWhileItRuns) {
  history.Reset(doc);
  history.Begin(doc, StepKind::Drag, {});
  EXPECT_FALSE(history.Unsaved(doc));
  double& sample = doc.SlipCurves[2].Samples[7];
  const double was = sample;
  sample = was + 0.5;
  EXPECT_TRUE(history.Unsaved(doc, FileData::Tire));
  EXPECT_FALSE(history.Unsaved(doc, FileData::Engine));
  sample = was;
  EXPECT_FALSE(history.Unsaved(doc));
  ReplaceText(doc, KeptText::Engine, "[ENGINE]\r\n");
  EXPECT_TRUE(history.Unsaved(doc, FileData::Engine)) << "a text replaced";
  EXPECT_FALSE(history.Unsaved(doc, FileData::Tire));
  ReplaceText(doc, KeptText::Engine, "");
  EXPECT_FALSE(history.Commit(doc, {}));
  EXPECT_FALSE(history.Unsaved(doc));
}

// Whether there are unsaved changes after each action (undo-unsaved cases):
// save marks the clean state.
TEST(UnsavedFollowsTheHistory, AfterEachAction) {
  test::RunCases(
      "undo-unsaved",
      [](const std::string& rule, std::istream& in, std::ostream& out) {
        ASSERT_EQ(rule, "after");
        EditorDocument doc;
        UndoHistory history;
        history.Reset(doc);
        int change = 0;
        for (std::string action; in >> action; out << (history.Unsaved(doc) ? "unsaved" : "saved")) {
          if (change > 0) out << " ";
          if (action == "change") {
            history.Begin(doc, StepKind::Drag, {});
            doc.Engine.Torque[0] = ++change;
            history.Commit(doc, {});
          } else if (action == "save") {
            history.MarkClean(doc, FileData::Engine);
          } else {
            ASSERT_TRUE(action == "undo" ? history.Undo(doc) : history.Redo(doc)) << action;
          }
        }
        out << "\n";
      },
      true);
}

TEST_F(UndoHistoryTest, KeepsTheLatestThousandSteps) {
  for (int i = 1; i <= 1001; ++i) ASSERT_TRUE(SetTorque(0, i));
  EXPECT_EQ(history.Steps(), 1000);
  while (history.Undo(doc)) {
  }
  EXPECT_EQ(history.Position(), 0);
  EXPECT_EQ(doc.Engine.Torque[0], 1.0) << "the first step is the one dropped";
  EXPECT_TRUE(history.Unsaved(doc)) << "the opened state is no longer reachable";
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

}  // namespace
}  // namespace dyno
