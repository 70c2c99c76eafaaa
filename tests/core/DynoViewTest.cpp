// Reading the curve like a dyno sheet: peaks, units, the readout and the
// compared curve, on the core alone.
#include <cmath>
#include <numbers>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartLayout.h"
#include "core/chart/Peaks.h"
#include "core/editing/DynoView.h"
#include "core/editing/ValueBox.h"
#include "core/files/CompareFile.h"
#include "core/files/EngineFile.h"
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
      {"negative torques", {-50, -20, -20.5, -90}, Peak{1, -20}},
      {"NaN never peaks", {NaN, -1, NaN}, Peak{1, -1}},
      {"only NaN", {NaN}, std::nullopt},
  };
  for (const PeakCase& c : cases) EXPECT_EQ(PeakOf(c.values), c.peak) << c.what;

  // Rows beyond the count are not the curve's, however large.
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, 41);
  doc.Engine.Torque[41] = 9999.0;
  doc.Engine.Power[41] = 9999.0;
  EXPECT_EQ(PeaksOf(doc.Engine, 41).Torque, (Peak{27, 433.0}));
  EXPECT_EQ(PeaksOf(doc.Engine, 41).Power->Index, 32);
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
  test::FillFlatEngineCurve(doc, 1, -12.0, 0.0);
  EXPECT_EQ(readout(TorqueUnit::Nm, PowerUnit::Hp), "Peak torque -12.0 N-m @ 0 RPM   Peak power -0.0 HP @ 0 RPM");
  doc.RowCount = 0;
  EXPECT_EQ(PeakReadout(doc), "");
  test::UseTireView(doc, 2);
  doc.CurrentSlipCurve = 1;
  EXPECT_EQ(PeakReadout(doc), "Data 2 peak 1.000000 @ sample 11");
}

// N-m and HP show the stored value bit for bit; kW is the row's physical
// power (rpm x torque x 2 pi / 60000) and PS that over 0.73549875 kW.
TEST(DynoView, ConversionsFollowTheEditorsHorsepower) {
  const auto bits = [](double v) { return std::bit_cast<std::uint64_t>(v); };
  for (const double v : {433.0, -0.0, 1e-300, -237.4, std::numeric_limits<double>::max()}) {
    EXPECT_EQ(bits(ShownTorque(v, TorqueUnit::Nm)), bits(v));
    EXPECT_EQ(bits(ShownPower(v, PowerUnit::Hp)), bits(v));
    EXPECT_EQ(bits(StoredTorque(v, TorqueUnit::Nm, 1)), bits(v));
  }
  for (const auto& [rpm, torque] : {std::pair{6000.0, 400.0}, {8000.0, 401.1}, {250.0, -17.3}}) {
    const double kw = ShownPower(PowerOf(rpm, torque), PowerUnit::Kw);
    EXPECT_NEAR(kw, rpm * torque * 2.0 * std::numbers::pi / 60000.0, 1e-12 * std::abs(kw));
    EXPECT_NEAR(ShownPower(PowerOf(rpm, torque), PowerUnit::Ps), kw / 0.73549875, 1e-12 * std::abs(kw));
  }
  EXPECT_NEAR(ShownTorque(NmPerLbFt, TorqueUnit::LbFt), 1.0, 1e-15);
  EXPECT_EQ(EngineTitle({TorqueUnit::LbFt, PowerUnit::Ps}),
            "R. P. M. vs Torque (lb-ft) and Power (PS) and Compression torque (lb-ft)");
  for (const TorqueUnit unit : {TorqueUnit::Nm, TorqueUnit::LbFt}) EXPECT_EQ(TorqueUnitNamed(UnitName(unit)), unit);
  for (const PowerUnit unit : {PowerUnit::Hp, PowerUnit::Kw, PowerUnit::Ps}) EXPECT_EQ(PowerUnitNamed(UnitName(unit)), unit);
  for (const char* name : {"", "lbft", "LB-FT", "kw", " PS"}) {
    EXPECT_EQ(TorqueUnitNamed(name), TorqueUnit::Nm) << name;
    EXPECT_EQ(PowerUnitNamed(name), PowerUnit::Hp) << name;
  }
}

// Every value typed or stepped in lb-ft with one decimal over the range a
// curve uses is stored as N-m that the table shows as that same text.
TEST(DynoView, TorqueTypedInLbFtShowsAsTypedAfterRounding) {
  for (int tenths = -30000; tenths <= 30000; ++tenths) {
    const double typed = tenths / 10.0;
    const double stored = StoredTorque(typed, TorqueUnit::LbFt, 1);
    ASSERT_TRUE(ShowSame(ShownTorque(stored, TorqueUnit::LbFt), typed, 1)) << typed;
    ASSERT_NEAR(stored, typed * NmPerLbFt, 1e-9 * std::abs(stored) + 1e-12) << typed;
  }
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

// Compare With File refuses what Open refuses, with Open's messages, and
// reads the rows as Open reads them.
TEST(DynoView, ComparisonReadsRowsAsOpenDoes) {
  test::TempDir dir;
  for (const std::string& path : {(dir.path() / "gone.ini").string(), dir.path().string(),
                                 test::DataPath("files/engine-no-rows.ini").string(),
                                 test::DataPath("files/engine-empty.ini").string()}) {
    EditorDocument opened;
    const std::optional<UserMessage> open = ReadFailureMessage(ReadEngineRows(opened, path).Result, path, NoTorqueData);
    ASSERT_TRUE(open) << path;
    EXPECT_EQ(ReadComparison(path, "x").Message, open) << path;
    EXPECT_FALSE(ReadComparison(path, "x").Curve) << path;
  }
  const ComparisonRead tire = ReadComparison(test::DataPath("files/tire-typical.tbc").string(), "x");
  EXPECT_EQ(tire.Message, (UserMessage{"No torque data found in this file!", "FILE NOT LOADED!"}));
  for (const char* name : {"car-upgrade.ini", "engine-600-rows.ini"}) {
    const std::string path = test::DataPath(std::string("files/") + name).string();
    const ComparisonRead read = ReadComparison(path, name);
    EditorDocument opened;
    ASSERT_EQ(ReadEngineRows(opened, path).Result, ReadResult::Read);
    ASSERT_TRUE(read.Curve && !read.Message) << name;
    EXPECT_EQ(read.Curve->Curve.EngineRowCount, opened.Engine.EngineRowCount) << name;
    EXPECT_EQ(read.Curve->Curve.Torque, opened.Engine.Torque) << name;
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
}

}  // namespace
}  // namespace dyno
