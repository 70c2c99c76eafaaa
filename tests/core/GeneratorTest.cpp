#include <algorithm>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "core/curves/Generator.h"
#include "core/document/EditorDocument.h"
#include "core/files/NumberText.h"
#include "support/Printf.h"

namespace dyno {
namespace {

using test::Printf;

// A row as an engine file holds it: each value with one decimal.
std::string RowText(const EditorDocument& doc, int i) {
  return Printf("%.1f, %.1f, %.1f, %.1f", doc.Engine.Rpm[i], doc.Engine.Compression[i], doc.Engine.Torque[i],
                 doc.Engine.Power[i]);
}

TEST(GenerateEngineCurve, ReproducesTheStartUpCurve) {
  EditorDocument doc;
  doc.Modified = true;
  EXPECT_EQ(GenerateEngineCurve(doc), 41);
  EXPECT_EQ(doc.RowCount, 41);
  EXPECT_EQ(doc.Engine.EngineRowCount, 41);
  EXPECT_FALSE(doc.Modified);
  EXPECT_FALSE(doc.EngineLoaded);

  EXPECT_EQ(RowText(doc, 0), "0.0, -16.9, 0.0, 0.0");
  EXPECT_EQ(RowText(doc, 10), "2500.0, -99.1, 178.8, 62.8");
  EXPECT_EQ(RowText(doc, 28), "7000.0, -230.1, 432.4, 425.0");
  EXPECT_EQ(RowText(doc, 32), "8000.0, -237.2, 400.5, 450.0");
  EXPECT_EQ(RowText(doc, 40), "10000.0, -207.6, 161.9, 227.3");

  // Scaled by about 0.67587: row 0 has compression -25 times the scale.
  EXPECT_NEAR(doc.Engine.Compression[0] / -25.0, 0.67587, 5e-6);
  const auto torque = doc.Engine.Torque.begin();
  EXPECT_EQ(std::max_element(torque, torque + 41) - torque, 27);
  EXPECT_EQ(doc.Engine.Rpm[27], 6750.0);
  EXPECT_EQ(FixedText(doc.Engine.Torque[27], 1), "433.0");
  EXPECT_EQ(doc.Engine.Power[32], 450.0);
  for (int i = 0; i < 41; ++i) {
    EXPECT_EQ(doc.Engine.Rpm[i], 250.0 * i);
    EXPECT_EQ(doc.Engine.Power[i], PowerOf(doc.Engine.Rpm[i], doc.Engine.Torque[i])) << i;
    EXPECT_LE(doc.Engine.Power[i], 450.0) << i;
  }
}

TEST(GenerateEngineCurve, ClearsEveryRowBeyondTheNewCurve) {
  EditorDocument doc;
  for (int i = 0; i < MaxEngineRows; ++i) {
    doc.Engine.Rpm[i] = doc.Engine.Torque[i] = doc.Engine.Compression[i] = doc.Engine.Power[i] = 1.0 + i;
  }
  doc.Generator.RpmStep = 1000;
  doc.Generator.TopRpm = 6000;
  EXPECT_EQ(GenerateEngineCurve(doc), 7);
  EXPECT_EQ(doc.Engine.Rpm[6], 6000.0);
  for (int i = 7; i < MaxEngineRows; ++i) {
    ASSERT_EQ(doc.Engine.Rpm[i], 0.0) << i;
    ASSERT_EQ(doc.Engine.Torque[i], 0.0) << i;
    ASSERT_EQ(doc.Engine.Compression[i], 0.0) << i;
    ASSERT_EQ(doc.Engine.Power[i], 0.0) << i;
  }

  doc.Generator.RpmStep = 100;
  doc.Generator.TopRpm = 23000;
  EXPECT_EQ(GenerateEngineCurve(doc), 231);
  EXPECT_EQ(doc.Engine.Rpm[230], 23000.0);
}

TEST(GenerateEngineCurve, ThePeakPowerIsTheTargetForEveryChoiceOfTheDialog) {
  EditorDocument doc;
  const double steps[] = {100, 200, 250, 500, 1000};
  for (const double step : steps) {
    for (int top = 6000; top <= 23000; top += 500) {
      for (int peak = 3000; peak <= 20000; peak += 1750) {
        for (const double power : {100.0, 450.0, 4999.0}) {
          doc.Generator = {power, double(top), step, double(peak)};
          const int rows = GenerateEngineCurve(doc);
          ASSERT_EQ(rows, int(top / step) + 1);
          const double highest = *std::max_element(doc.Engine.Power.begin(), doc.Engine.Power.begin() + rows);
          ASSERT_NEAR(highest, power, power * 1e-12) << step << " " << top << " " << peak;
          ASSERT_EQ(doc.Engine.Torque[0], 0.0);
          ASSERT_EQ(doc.Engine.Power[0], 0.0);
        }
      }
    }
  }
}

TEST(GenerateEngineCurve, GivesTheSameRowsEveryTime) {
  EditorDocument first;
  EditorDocument second;
  first.Generator = second.Generator = {612.0, 14500.0, 200.0, 9250.0};
  GenerateEngineCurve(first);
  second.Engine.Torque[3] = 99;
  GenerateEngineCurve(second);
  GenerateEngineCurve(second);
  EXPECT_EQ(std::memcmp(&first.Engine, &second.Engine, sizeof first.Engine), 0);
}

TEST(GenerateEngineCurve, SettingsOutsideTheDialogsListsCannotOverrunTheCurve) {
  EditorDocument doc;
  doc.Generator.RpmStep = 10;  // would be 1001 rows
  EXPECT_EQ(GenerateEngineCurve(doc), MaxEngineRows);
  EXPECT_EQ(doc.Engine.Rpm[499], 4990.0);

  for (const double step : {0.0, -250.0}) {
    doc.Generator.RpmStep = step;
    EXPECT_EQ(GenerateEngineCurve(doc), 0);
    EXPECT_EQ(doc.Engine.EngineRowCount, 0);
  }
  doc.Generator.RpmStep = 250;
  doc.Generator.TopRpm = -1;
  EXPECT_EQ(GenerateEngineCurve(doc), 0);
  doc.Generator.TopRpm = 0;
  EXPECT_EQ(GenerateEngineCurve(doc), 1);  // one row at 0 RPM, no power: unscaled
  EXPECT_EQ(doc.Engine.Compression[0], -25.0);
}

}  // namespace
}  // namespace dyno
