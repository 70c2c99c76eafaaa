// Reading the curve like a dyno sheet: peaks, units, the readout and the
// compared curve, on the core alone.
#include <cmath>
#include <filesystem>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartLayout.h"
#include "core/chart/Peaks.h"
#include "core/document/CommandRules.h"
#include "core/editing/DynoView.h"
#include "core/editing/ValueBox.h"
#include "core/files/CompareFile.h"
#include "core/files/EngineFile.h"
#include "core/resources/ResourceIds.h"
#include "support/Approval.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

struct PeakCase {
  const char* what;
  std::vector<double> values;
  std::optional<Peak> peak;
};

TEST(DynoView, PeakIsTheFirstRowOfTheLargestValue) {
  const PeakCase cases[] = {
      {"empty curve", {}, std::nullopt},
      {"single row", {-3.5}, Peak{0, -3.5}},
      {"tie keeps the lower RPM", {1, 3, 2, 3}, Peak{1, 3}},
      {"flat curve", {7, 7, 7}, Peak{0, 7}},
      {"negative torques", {-50, -20, -20.5, -90}, Peak{1, -20}},
      {"last row", {1, 2, 3}, Peak{2, 3}},
      {"NaN never peaks", {NaN, -1, NaN}, Peak{1, -1}},
      {"only NaN", {NaN}, std::nullopt},
  };
  for (const PeakCase& c : cases) EXPECT_EQ(PeakOf(c.values), c.peak) << c.what;

  // Rows beyond the count are not the curve's, however large.
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  doc.Engine.Torque[41] = 9999.0;
  doc.Engine.Power[41] = 9999.0;
  const EnginePeaks peaks = PeaksOf(doc.Engine, 41);
  EXPECT_EQ(peaks.Torque, (Peak{27, 433.0}));
  ASSERT_TRUE(peaks.Power);
  EXPECT_EQ(peaks.Power->Index, 32);
  EXPECT_FALSE(PeaksOf(doc.Engine, 0).Torque);
  EXPECT_EQ(PeaksOf(doc.Engine, 100000).Torque->Value, 9999.0);
}

TEST(DynoView, ReadoutNamesBothPeaksInTheUnitsShown) {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  const auto readout = [&](TorqueUnit torque, PowerUnit power) {
    doc.Dyno.Units = {torque, power};
    return PeakReadout(doc);
  };
  EXPECT_EQ(readout(TorqueUnit::Nm, PowerUnit::Hp), "Peak torque 433.0 N-m @ 6750 RPM   Peak power 447.7 HP @ 8000 RPM");
  EXPECT_EQ(readout(TorqueUnit::LbFt, PowerUnit::Kw), "Peak torque 319.4 lb-ft @ 6750 RPM   Peak power 333.8 kW @ 8000 RPM");
  EXPECT_EQ(readout(TorqueUnit::Nm, PowerUnit::Ps), "Peak torque 433.0 N-m @ 6750 RPM   Peak power 453.9 PS @ 8000 RPM");
  test::FillFlatEngineCurve(doc, 1, -12.0, 0.0);
  EXPECT_EQ(readout(TorqueUnit::Nm, PowerUnit::Hp), "Peak torque -12.0 N-m @ 0 RPM   Peak power -0.0 HP @ 0 RPM");
  doc.RowCount = 0;
  EXPECT_EQ(PeakReadout(doc), "");
  test::UseTireView(doc, 2);
  doc.CurrentSlipCurve = 1;
  EXPECT_EQ(PeakReadout(doc), "Data 2 peak 1.000000 @ sample 11");
}

TEST(DynoView, DefaultUnitsShowTheStoredValueItself) {
  for (const double v : {433.0, -0.0, 1e-300, 1e20, -237.4, std::numeric_limits<double>::max()}) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ShownTorque(v, TorqueUnit::Nm)), std::bit_cast<std::uint64_t>(v));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(ShownPower(v, PowerUnit::Hp)), std::bit_cast<std::uint64_t>(v));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(StoredTorque(v, TorqueUnit::Nm, 1)), std::bit_cast<std::uint64_t>(v));
  }
  EXPECT_EQ(EngineTitle({}), "R. P. M. vs Torque (N-m) and Power (HP) and Compression torque (N-m)");
  EXPECT_EQ(EngineTitle({TorqueUnit::LbFt, PowerUnit::Ps}),
            "R. P. M. vs Torque (lb-ft) and Power (PS) and Compression torque (lb-ft)");
}

TEST(DynoView, PowerUnitsFollowTheEditorsHorsepower) {
  // kW is the physical power of the row: rpm x torque x 2 pi / 60000.
  for (const auto& [rpm, torque] : {std::pair{6000.0, 400.0}, {8000.0, 401.1}, {250.0, -17.3}}) {
    const double kw = ShownPower(PowerOf(rpm, torque), PowerUnit::Kw);
    EXPECT_NEAR(kw, rpm * torque * 2.0 * M_PI / 60000.0, 1e-12 * std::abs(kw) + 1e-15);
    EXPECT_NEAR(ShownPower(PowerOf(rpm, torque), PowerUnit::Ps), kw / 0.73549875, 1e-12 * std::abs(kw) + 1e-15);
  }
  EXPECT_NEAR(ShownPower(1.0, PowerUnit::Kw), 0.7456853, 1e-7);
  EXPECT_NEAR(ShownPower(1.0, PowerUnit::Ps), 1.0138498, 1e-7);
  EXPECT_NEAR(ShownTorque(NmPerLbFt, TorqueUnit::LbFt), 1.0, 1e-15);
}

// Every value typed or stepped in lb-ft with one decimal over the range a
// curve uses is stored as N-m that the table shows as that same text.
TEST(DynoView, TorqueTypedInLbFtShowsAsTypedAfterRounding) {
  int checked = 0;
  for (int tenths = -30000; tenths <= 30000; ++tenths) {
    const double typed = tenths / 10.0;
    const double stored = StoredTorque(typed, TorqueUnit::LbFt, 1);
    ASSERT_TRUE(ShowSame(ShownTorque(stored, TorqueUnit::LbFt), typed, 1)) << typed;
    ASSERT_NEAR(stored, typed * NmPerLbFt, 1e-9 * std::abs(stored) + 1e-12) << typed;
    ++checked;
  }
  EXPECT_EQ(checked, 60001);
  // More decimals than the table shows: still the nearest N-m, shown rounded.
  for (const double typed : {320.55, 0.05, -0.05, 1234.25, 99999.95}) {
    EXPECT_TRUE(ShowSame(ShownTorque(StoredTorque(typed, TorqueUnit::LbFt, 1), TorqueUnit::LbFt), typed, 1)) << typed;
  }
  // A value the box already shows stays as it is when the program writes it.
  EditorDocument doc;
  doc.Dyno.Units.Torque = TorqueUnit::LbFt;
  EXPECT_EQ(StoredEngineValue(doc, 433.0, 319.4, false), 433.0);
  EXPECT_NE(StoredEngineValue(doc, 433.0, 319.4, true), 433.0);
  EXPECT_EQ(StoredEngineValue(doc, 433.0, 319.5, false), StoredTorque(319.5, TorqueUnit::LbFt, 1));
  doc.Dyno.Units.Torque = TorqueUnit::Nm;
  EXPECT_EQ(StoredEngineValue(doc, 433.04, 433.0, false), 433.0);
}

TEST(DynoView, UnitNamesReadBackAndAnythingElseIsTheDefault) {
  for (const TorqueUnit unit : {TorqueUnit::Nm, TorqueUnit::LbFt}) EXPECT_EQ(TorqueUnitNamed(UnitName(unit)), unit);
  for (const PowerUnit unit : {PowerUnit::Hp, PowerUnit::Kw, PowerUnit::Ps}) EXPECT_EQ(PowerUnitNamed(UnitName(unit)), unit);
  for (const char* name : {"", "lbft", "LB-FT", "Nm", "kw", " PS", "HP "}) {
    EXPECT_EQ(TorqueUnitNamed(name), TorqueUnit::Nm) << name;
    EXPECT_EQ(PowerUnitNamed(name), PowerUnit::Hp) << name;
  }
}

TEST(DynoView, ViewCommandsAreCheckedAndEnabledByTheirRules) {
  EditorDocument doc;
  const auto state = [&] {
    std::string out;
    for (const int id : {CmShowPeaks, CmTorqueNm, CmTorqueLbFt, CmPowerHp, CmPowerKw, CmPowerPs, CmCompareFile,
                         CmCompareSaved, CmClearComparison}) {
      const CommandStatus s = QueryCommand(id, doc);
      out += std::string(s.Enabled ? "" : "-") + (s.Checkable ? (s.Checked ? "*" : "o") : "") + " ";
    }
    return out;
  };
  EXPECT_EQ(state(), "o * o * o o  - - ");
  doc.Dyno = {{TorqueUnit::LbFt, PowerUnit::Ps}, true, nullptr, std::make_shared<ComparedCurve>()};
  EXPECT_EQ(state(), "* o * o o *   - ");
  doc.Dyno.Comparison = doc.Dyno.Saved;
  doc.Dyno.Units.Power = PowerUnit::Kw;
  doc.TireMode = true;  // the units and the comparison stay in every mode
  EXPECT_EQ(state(), "* o * o * o    ");
}

// Compare With File refuses what Open refuses, with Open's messages, and
// reads the rows as Open reads them.
TEST(DynoView, ComparisonReadsRowsAsOpenDoes) {
  test::TempDir dir;
  const std::string missing = (dir.path() / "gone.ini").string();
  struct Refusal {
    std::string path;
    std::string text;
  };
  const Refusal refusals[] = {
      {missing, "Unable to open file the selected file: " + missing},
      {dir.path().string(), "Unable to open file the selected file: " + dir.path().string()},
      {test::DataPath("files/engine-no-rows.ini"), "No torque data found in this file!"},
      {test::DataPath("files/engine-empty.ini"), "No torque data found in this file!"},
      {test::DataPath("files/tire-typical.tbc"), "No torque data found in this file!"},
  };
  for (const Refusal& r : refusals) {
    const ComparisonRead read = ReadComparison(r.path, "x");
    EXPECT_FALSE(read.Curve) << r.path;
    ASSERT_TRUE(read.Message) << r.path;
    EXPECT_EQ(*read.Message, (UserMessage{r.text, "FILE NOT LOADED!"})) << r.path;
    // The same words Open's reader outcome is told with.
    EditorDocument opened;
    if (r.path.ends_with(".ini")) {
      EXPECT_EQ(read.Message, ReadFailureMessage(ReadEngineRows(opened, r.path).Result, r.path, NoTorqueData));
    }
  }
  for (const char* name : {"engine-typical.ini", "car-upgrade.ini", "engine-600-rows.ini"}) {
    const std::string path = test::DataPath(std::string("files/") + name);
    const ComparisonRead read = ReadComparison(path, name);
    ASSERT_TRUE(read.Curve) << name;
    EXPECT_FALSE(read.Message);
    EXPECT_EQ(read.Curve->Title, name);
    EditorDocument opened;
    ASSERT_EQ(ReadEngineRows(opened, path).Result, ReadResult::Read);
    EXPECT_EQ(read.Curve->Curve.EngineRowCount, opened.Engine.EngineRowCount) << name;
    EXPECT_EQ(read.Curve->Curve.Torque, opened.Engine.Torque) << name;
    EXPECT_EQ(read.Curve->Curve.Power, opened.Engine.Power) << name;
  }
}

TEST(DynoView, ComparedRowsArePlacedByTheirRpm) {
  const std::vector<double> rpm{0, 1000, 2000, 4000};
  const std::vector<int> x{100, 200, 300, 400};
  const std::vector<double> asked{0, 500, 2000, 3000, 5000, -1000, NaN};
  std::vector<int> xs(asked.size());
  RpmsToX(rpm, x, asked, xs);
  EXPECT_EQ(xs, (std::vector<int>{100, 150, 300, 350, 450, 0, 100}));
  // RPMs that do not rise: spread from the first to the last.
  RpmsToX(std::vector<double>{0, 3000, 3000, 6000}, x, std::vector<double>{1500, 6000}, xs);
  EXPECT_EQ(xs[0], 175);
  EXPECT_EQ(xs[1], 400);
  RpmsToX(std::vector<double>{5, 5}, std::vector<int>{100, 400}, std::vector<double>{5}, xs);
  EXPECT_EQ(xs[0], 100);
}

TEST(DynoView, LayoutInOtherUnitsIsTheLayoutOfTheConvertedValues) {
  EditorDocument shown;
  test::FillSampleEngineCurve(shown, 41);
  EditorDocument converted = shown;
  shown.Dyno.Units = {TorqueUnit::LbFt, PowerUnit::Kw};
  for (int i = 0; i < 41; ++i) {
    converted.Engine.Torque[i] = ShownTorque(shown.Engine.Torque[i], TorqueUnit::LbFt);
    converted.Engine.Compression[i] = ShownTorque(shown.Engine.Compression[i], TorqueUnit::LbFt);
    converted.Engine.Power[i] = ShownPower(shown.Engine.Power[i], PowerUnit::Kw);
  }
  ChartLayout a;
  ChartLayout b;
  ComputeChartLayout(a, shown, 800, 600);
  ComputeChartLayout(b, converted, 800, 600);
  EXPECT_EQ(a.AxisMin, b.AxisMin);
  EXPECT_EQ(a.AxisMax, b.AxisMax);
  EXPECT_EQ(a.TorqueY, b.TorqueY);
  EXPECT_EQ(a.PowerY, b.PowerY);
  EXPECT_EQ(a.CompressionY, b.CompressionY);
  EXPECT_EQ(a.ComparePointCount, 0);

  // A compared curve beyond the document's values widens the axis; its 500
  // rows over the same RPM land in order on the plot's pixels.
  auto compared = std::make_shared<ComparedCurve>();
  EditorDocument big;
  test::FillSampleEngineCurve(big, 500);
  for (int i = 0; i < 500; ++i) big.Engine.Power[i] *= 1.5;
  compared->Curve = big.Engine;
  converted.Dyno.Comparison = compared;
  ComputeChartLayout(b, converted, 800, 600);
  EXPECT_GT(b.AxisMax, a.AxisMax);
  ASSERT_EQ(b.ComparePointCount, 500);
  EXPECT_EQ(b.CompareX[0], b.GridLeft);
  EXPECT_EQ(b.CompareX[499], b.GridRight);
  EXPECT_TRUE(std::is_sorted(b.CompareX.begin(), b.CompareX.begin() + 500));
  EXPECT_EQ(b.ComparePowerY[0], MapValueToY(b, big.Engine.Power[0]));
  converted.TireMode = true;
  ComputeChartLayout(b, converted, 800, 600);
  EXPECT_EQ(b.ComparePointCount, 0);
}

}  // namespace
}  // namespace dyno
