// Adjusting a range of rows: each operation on small columns, at the ends,
// on one row, and at the limits of what a file holds.

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "core/curves/RangeEdits.h"
#include "core/document/Limits.h"

namespace dyno {
namespace {

struct RangeCase {
  const char* Name;
  RangeOperation Operation;
  double Amount;
  std::vector<double> Values;
  RowRange Range;
  std::vector<double> Expected;  // the whole column after
  std::vector<double> Places = {};
};

class RangeEdits : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeEdits, GiveTheExpectedColumn) {
  const RangeCase& c = GetParam();
  std::vector<double> values = c.Values;
  const EditOutcome outcome = AdjustRange(values, c.Places, c.Range, c.Operation, c.Amount, "Torque");
  EXPECT_FALSE(outcome.Message.has_value());
  EXPECT_EQ(outcome.Changed, values != c.Values);
  ASSERT_EQ(values.size(), c.Expected.size());
  for (std::size_t i = 0; i < values.size(); ++i) EXPECT_DOUBLE_EQ(values[i], c.Expected[i]) << "row " << i;
}

using Op = RangeOperation;
const RangeCase Cases[] = {
    {"ScaleMiddle", Op::Scale, 110, {100, 200, 300, 400}, {1, 2}, {100, 220, 330, 400}},
    {"ScaleDown", Op::Scale, 50, {-20, 10}, {0, 1}, {-10, 5}},
    {"ScaleOneRow", Op::Scale, 200, {1, 2, 3}, {2, 2}, {1, 2, 6}},
    {"OffsetWhole", Op::Offset, -2.5, {1, 2, 3}, {0, 2}, {-1.5, -0.5, 0.5}},
    {"SetFirstRows", Op::Set, 7, {1, 2, 3}, {0, 1}, {7, 7, 3}},
    {"StraightenByRow", Op::Straighten, 0, {0, 9, -4, 30, 5}, {0, 3}, {0, 10, 20, 30, 5}},
    // Uneven RPM steps: the line follows the RPM, not the row number.
    {"StraightenByRpm", Op::Straighten, 0, {100, 0, 0, 400}, {0, 3}, {100, 200, 350, 400}, {1000, 2000, 3500, 4000}},
    // Places that do not rise fall back to the row number.
    {"StraightenFlatRpm", Op::Straighten, 0, {0, 5, 6}, {0, 2}, {0, 3, 6}, {1000, 1000, 1000}},
    {"StraightenTwoRowsKeepsThem", Op::Straighten, 0, {3, 8}, {0, 1}, {3, 8}},
    {"SmoothKeepsTheEnds", Op::Smooth, 0, {0, 8, 0, 8, 0}, {0, 4}, {0, 4, 4, 4, 0}},
    // The filter reads the rows as they were, not as already smoothed; rows
    // outside the range only feed their neighbours' ends, which stay.
    {"SmoothInside", Op::Smooth, 0, {10, 0, 4, 0, 10}, {1, 3}, {10, 0, 2, 0, 10}},
    {"SmoothOneRow", Op::Smooth, 0, {1, 5, 1}, {1, 1}, {1, 5, 1}},
};

INSTANTIATE_TEST_SUITE_P(Operations, RangeEdits, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<RangeCase>& param) { return std::string(param.param.Name); });

// A result no file can hold, or no number at all, changes nothing and says
// which row went wrong; a range outside the column does nothing.
TEST(RangeEditLimits, RefuseWhatAFileCannotHold) {
  std::vector<double> values{1, 2e19, 3};
  const std::vector<double> before = values;
  const EditOutcome scaled = AdjustRange(values, {}, {0, 2}, Op::Scale, 1000, "Torque");
  ASSERT_TRUE(scaled.Message.has_value());
  EXPECT_EQ(scaled.Message->Text, "Scale would take the Torque in row 2 out of range for a physics file: nothing was changed.");
  EXPECT_FALSE(scaled.Changed);
  EXPECT_EQ(values, before);

  const EditOutcome set = AdjustRange(values, {}, {2, 2}, Op::Set, std::numeric_limits<double>::quiet_NaN(), "Data 1");
  ASSERT_TRUE(set.Message.has_value());
  EXPECT_EQ(set.Message->Text, "Set would take the Data 1 in row 3 out of range for a physics file: nothing was changed.");
  EXPECT_EQ(values, before);

  // Up to the limit is fine.
  EXPECT_TRUE(AdjustRange(values, {}, {0, 0}, Op::Set, MaxFileValue, "Torque").Changed);
  for (const RowRange outside : {RowRange{2, 3}, RowRange{-1, 0}, RowRange{2, 1}}) {
    std::vector<double> column{1, 2, 3};
    const EditOutcome none = AdjustRange(column, {}, outside, Op::Set, 9, "Torque");
    EXPECT_FALSE(none.Changed || none.Message.has_value()) << outside.First << ".." << outside.Last;
    EXPECT_EQ(column, (std::vector<double>{1, 2, 3}));
  }
  // Writing the same values is no change.
  std::vector<double> same{4, 4};
  EXPECT_FALSE(AdjustRange(same, {}, {0, 1}, Op::Set, 4, "Torque").Changed);
}

// Normalising divides by the peak, negative samples too; a curve without a
// sample above 0 is refused and left as it is.
TEST(RangeEditLimits, NormaliseScalesThePeakToOne) {
  std::vector<double> samples{0.0, 0.5, 0.8, -0.4};
  EXPECT_TRUE(NormaliseSlipCurve(samples).Changed);
  EXPECT_EQ(samples, (std::vector<double>{0.0, 0.625, 1.0, -0.5}));
  EXPECT_FALSE(NormaliseSlipCurve(samples).Changed) << "already at 1.0";
  for (std::vector<double> none : {std::vector<double>{-0.2, 0.0}, std::vector<double>{}}) {
    const std::vector<double> before = none;
    const EditOutcome refused = NormaliseSlipCurve(none);
    ASSERT_TRUE(refused.Message.has_value());
    EXPECT_EQ(refused.Message->Text, "The slip curve has no sample above 0 to scale to 1.0: nothing was changed.");
    EXPECT_EQ(none, before);
  }
}

}  // namespace
}  // namespace dyno
