#include <algorithm>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterTexts.h"

namespace dyno {
namespace {

using namespace std::string_literals;

// Every parameter line composed from the defaults, in written order, worked
// out by hand from the value formats.
const char* const DefaultLines[EngineParameterCount] = {
    "FuelConsumption=5.631e-05   // affected by throttle position and engine speed\r\n",
    "FuelEstimate=0.89200   // fudge factor for differences between vehicle types (used for lap estimates and AI pit "
    "scheduling)\r\n",
    "EngineInertia=0.25600   // rotational inertia of engine components\r\n",
    "IdleThrottle=0.40000   // throttle multiplier to help maintain idle speed\r\n",
    "IdleRPMLogic=(1200, 1450)   // attempt to maintain idle speed between these RPMs\r\n",
    "LaunchEfficiency=0   // efficiency (0.0-1.0) of launch control, or 0.0 if N/A\r\n",
    "LaunchRPMLogic=(6000, 7000)   // holds RPM in this range before launch (used for AI even if launch control is "
    "N/A!)\r\n",
    "RevLimitRange=(9400, 50, 4)   \r\n",
    "RevLimitSetting=2   \r\n",
    "RevLimitLogic=100   // RPM range around current setting where rev limiter operates\r\n",
    "RevLimitAvailable=1   // whether to use a rev limit (if 0, you still must have a \"rev limit\", just make it 40000 "
    "or so, and make sure to change [CONTROLS]->UpshiftAlgorithm to fix shifting points)\r\n",
    "EngineMapRange=(0, 1, 1)   // 0 = most driveable, max = most power (low gears only) (unimplemented)\r\n",
    "EngineMapSetting=1   \r\n",
    "EngineBrakingMapRange=(0, 0.0010, 1)   // input throttle is ranged from minimum to 100%, with the minimum = "
    "setting * step * RPM,\r\n",
    "EngineBrakingMapSetting=0   // the default is 1 * 0.000133 * 15000 RPM = 2% applied throttle at zero input "
    "throttle\r\n",
    "EngineBoostRange=(0.01000, 1, 10)   \r\n",
    "EngineBoostSetting=1   \r\n",
    "BoostEffects=(15, 0.0100, 1.0150)   // RPM increase per setting, fuel increase (1%) per setting, engine wear rate "
    "(101.5%) per setting\r\n",
    "BoostTorque=-0.00410   // 0.4% less torque per setting (applies to all RPMs)\r\n",
    "BoostPower=1.600e-04   // % more horsepower per setting\r\n",
    "OptimumOilTemp=105   // degrees Celsius at which engine operates optimally\r\n",
    "CombustionHeat=40   // degrees Celsius added per liter of fuel burned\r\n",
    "EngineSpeedHeat=9.062e-04   // heat added linearly with engine speed\r\n",
    "OilMinimumCooling=0.00750   // heat added linearly with engine speed\r\n",
    "OilWaterHeatTransfer=(0.49620, 7.925e-05)   // heat transfer from oil to water (base, w/ engine speed)\r\n",
    "WaterMinimumCooling=0.00396   // heat dissipated without radiator\r\n",
    "RadiatorCooling=(1.797e-06, 4.486e-06)   // cooling rate with velocity (base, per setting)\r\n",
    "LifetimeEngineRPM=(8600, 180)   // (base engine speed for lifetime, range where lifetime is halved)\r\n",
    "LifetimeOilTemp=(108, 2.5000)   // (base oil temp for lifetime, range where lifetime is halved)\r\n",
    "LifetimeAvg=15000   // average lifetime in seconds\r\n",
    "LifetimeVar=8500   // lifetime random variance\r\n",
    "EngineEmission=(0.20000, 0.6000, -2.5000)   // where flames and smoke are emitted (relative to ref frame at rear "
    "axle)\r\n",
    "EngineSound=(0.20000, 0.6000, -2.5000)   // where engine sound is played (relative to ref frame at rear axle)\r\n",
    "SpeedLimiter=1   // whether vehicle has a pitlane speed limiter\r\n",
    "OnboardStarter=1   // whether vehicle restarts when stalled\r\n",
    "StarterTiming=(1.40, 0.0, 0.0)   // average and variable cranking time, then time to blend with starting sound\r\n",
};

TEST(EngineParameterSet, HoldsThirtySixKeysWithFiftyEightValues) {
  std::set<std::string> keys;
  std::set<int> readOrder;
  int values = 0;
  for (const EngineParameterSpec& spec : EngineParameterSpecs) {
    keys.insert(spec.Key);
    readOrder.insert(spec.ReadOrder);
    ASSERT_GE(spec.ValueCount, 1);
    ASSERT_LE(spec.ValueCount, 3);
    values += spec.ValueCount;
  }
  EXPECT_EQ(keys.size(), 36u);
  EXPECT_EQ(values, ParameterValueCount);
  EXPECT_EQ(ParameterTextIndex(EngineParameterCount - 1, 2), ParameterValueCount - 1);
  ASSERT_EQ(readOrder.size(), 36u);
  EXPECT_EQ(*readOrder.begin(), 1);
  EXPECT_EQ(*readOrder.rbegin(), 36);
  // The boost parameters are written after the braking map but looked up last.
  EXPECT_STREQ(EngineParameterSpecs[15].Key, "EngineBoostRange");
  EXPECT_EQ(EngineParameterSpecs[15].ReadOrder, 32);
  EXPECT_EQ(EngineParameterSpecs[20].ReadOrder, 16);
}

TEST(ComposeEngineText, WritesTheGeneratedByLineTheRowsAndEveryDefaultParameterLine) {
  EditorDocument doc;
  doc.Engine.Rpm[0] = 1000;
  doc.Engine.Compression[0] = -20;
  doc.Engine.Torque[0] = 150;
  doc.Engine.Rpm[1] = 1500.25;
  doc.Engine.Compression[1] = -22.46;
  doc.Engine.Torque[1] = 175.05;
  doc.RowCount = 2;

  std::string expected = "// Engine data generated by Dynoforge\r\n"
                         "RPMTorque=( 1000.0, -20.0, 150.0)\r\n"
                         "RPMTorque=( 1500.2, -22.5, 175.1)\r\n";
  for (const char* line : DefaultLines) expected += line;

  EXPECT_EQ(ComposeEngineText(doc), static_cast<int>(expected.size()));
  EXPECT_EQ(doc.GeneratedText, expected);
  EXPECT_TRUE(doc.EngineText.empty());  // only the caller replaces it

  doc.UpgradeMode = true;
  doc.EngineMode = false;
  ComposeAndKeepEngineText(doc);
  EXPECT_EQ(doc.EngineText.substr(39, 39), "HDV=RPMTorque=( 1000.0, -20.0, 150.0)\r\n");
  EXPECT_EQ(doc.EngineText, doc.GeneratedText);
}

TEST(ComposeEngineText, HasNoLengthLimit) {
  EditorDocument doc;
  for (EngineParameter& parameter : doc.Parameters.Items) parameter.Comment = "// " + std::string(600, 'c');
  for (int i = 0; i < MaxEngineRows; ++i) doc.Engine.Rpm[i] = 100000.0 * i;
  doc.RowCount = MaxEngineRows;
  const int length = ComposeAndKeepEngineText(doc);
  EXPECT_GT(length, 40000);
  EXPECT_EQ(doc.EngineTextSize(), length);
  EXPECT_TRUE(doc.EngineText.ends_with("(1.40, 0.0, 0.0)   // " + std::string(600, 'c') + "\r\n"));
  EXPECT_NE(doc.EngineText.find("RPMTorque=( 49900000.0, 0.0, 0.0)\r\n"), std::string::npos);
}

TEST(ComposeEngineText, ReadingTheComposedTextBackComposesTheSameText) {
  EditorDocument doc;
  doc.Parameters.Find("BoostTorque")->Values[0] = -12345.678;
  doc.Parameters.Find("RevLimitRange")->Values = {3e9, -0.0005, 0.005};
  ComposeAndKeepEngineText(doc);
  const std::string first = doc.EngineText;

  EditorDocument again;
  again.EngineText = first;
  again.EngineLoaded = true;
  ASSERT_TRUE(ReadEngineParameters(again));
  ComposeEngineText(again);
  EXPECT_EQ(again.GeneratedText, first);
  EXPECT_NE(first.find("RevLimitRange=(3000000000.00, -5.000e-04, 0.0050)   \r\n"), std::string::npos);
  EXPECT_NE(first.find("BoostTorque=-12345.68   "), std::string::npos);
}

TEST(FormatParameterValue, ChoosesTheFormatByPositionAndMagnitude) {
  struct Case {
    double value;
    const char* first;
    const char* second;
    const char* third;
  };
  const Case cases[] = {
      {0.0, "0", "0.0", "0.0"},
      {-0.0, "0", "0.0", "0.0"},
      {0.0005, "5.000e-04", "5.000e-04", "5.0000e-04"},
      {-1e-300, "-1.000e-300", "-1.000e-300", "-1.0000e-300"},
      {0.001, "0.00100", "0.0010", "0.0010"},
      {0.01, "0.01000", "0.0100", "0.0100"},
      {0.005, "0.00500", "0.0050", "0.0050"},
      {-0.5, "-0.50000", "-0.5000", "-0.5000"},
      {0.99999, "0.99999", "1.0000", "1.0000"},
      {1.0, "1", "1", "1"},
      {-4.0, "-4", "-4", "-4"},
      {2.5, "2.50", "2.5000", "2.5000"},
      {2147483647.0, "2147483647", "2147483647", "2147483647"},
      {-2147483648.0, "-2147483648", "-2147483648", "-2147483648"},
      {2147483648.0, "2147483648.00", "2147483648.0000", "2147483648.0000"},
      {-2147483649.0, "-2147483649.00", "-2147483649.0000", "-2147483649.0000"},
      {1e20, "100000000000000000000.00", "100000000000000000000.0000", "100000000000000000000.0000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatParameterValue(c.value, 0), c.first) << c.value;
    EXPECT_EQ(FormatParameterValue(c.value, 1), c.second) << c.value;
    EXPECT_EQ(FormatParameterValue(c.value, 2), c.third) << c.value;
  }
}

class ReadParameterTest : public ::testing::Test {
 protected:
  EngineParameter& Get(const char* key) { return *doc.Parameters.Find(key); }
  bool Read(const std::string& text, const char* key) { return ReadParameter(text, Get(key)); }

  EditorDocument doc;
};

TEST_F(ReadParameterTest, ReadsAListAndItsComment) {
  ASSERT_TRUE(Read("[ENGINE]\r\nIdleRPMLogic=(1000.0, 2000.0)   // x\r\n", "IdleRPMLogic"));
  EXPECT_EQ(Get("IdleRPMLogic").Values[0], 1000.0);
  EXPECT_EQ(Get("IdleRPMLogic").Values[1], 2000.0);
  EXPECT_EQ(Get("IdleRPMLogic").Comment, "// x");

  ASSERT_TRUE(Read("EngineEmission=(0.1,-0.2,\t3e1)//c  \nnext", "EngineEmission"));
  EXPECT_EQ(Get("EngineEmission").Values, (std::array<double, 3>{0.1, -0.2, 30.0}));
  EXPECT_EQ(Get("EngineEmission").Comment, "//c  ");  // trailing blanks kept, line end not
}

TEST_F(ReadParameterTest, DropsTheFirstCharacterAfterTheEqualsSignWhateverItIs) {
  ASSERT_TRUE(Read("IdleRPMLogic= (1000.0, 2000.0)\r\n", "IdleRPMLogic"));
  EXPECT_EQ(Get("IdleRPMLogic").Values[0], 0.0);
  EXPECT_EQ(Get("IdleRPMLogic").Values[1], 2000.0);
  EXPECT_EQ(Get("IdleRPMLogic").Comment, "// attempt to maintain idle speed between these RPMs");
}

TEST_F(ReadParameterTest, MissingListFieldsReadAsZero) {
  ASSERT_TRUE(Read("StarterTiming=(1.5, 2.5)\r\nEngineSound=(7)\r\nLifetimeOilTemp=\r\n", "StarterTiming"));
  EXPECT_EQ(Get("StarterTiming").Values, (std::array<double, 3>{1.5, 2.5, 0.0}));
  ASSERT_TRUE(Read("EngineSound=(7)\r\n", "EngineSound"));
  EXPECT_EQ(Get("EngineSound").Values, (std::array<double, 3>{7.0, 0.0, 0.0}));
  ASSERT_TRUE(Read("LifetimeOilTemp=\r\n", "LifetimeOilTemp"));
  EXPECT_EQ(Get("LifetimeOilTemp").Values[0], 0.0);
  EXPECT_EQ(Get("LifetimeOilTemp").Values[1], 0.0);
}

TEST_F(ReadParameterTest, TakesTheFirstOccurrenceEvenInsideAnotherLinesComment) {
  ASSERT_TRUE(Read("FuelEstimate=0.9   // like EngineInertia=0.5 here\r\nEngineInertia=0.3   // real\r\n",
                   "EngineInertia"));
  EXPECT_EQ(Get("EngineInertia").Values[0], 0.5);
  // The cut line "EngineInertia=0.5 here" has no comment: the old one stays.
  EXPECT_EQ(Get("EngineInertia").Comment, "// rotational inertia of engine components");

  // A commented-out line counts too, and the key may be part of a longer word.
  ASSERT_TRUE(Read("//LifetimeAvg=1\r\nLifetimeAvg=2\r\n", "LifetimeAvg"));
  EXPECT_EQ(Get("LifetimeAvg").Values[0], 1.0);
  ASSERT_TRUE(Read("XSpeedLimiterY=0   // z\r\n", "SpeedLimiter"));
  EXPECT_EQ(Get("SpeedLimiter").Values[0], 0.0);
  EXPECT_EQ(Get("SpeedLimiter").Comment, "// z");
}

TEST_F(ReadParameterTest, AKeyThatDoesNotOccurChangesNothing) {
  EXPECT_FALSE(Read("fuelconsumption=1.0\r\n", "FuelConsumption"));
  EXPECT_EQ(Get("FuelConsumption").Values[0], 5.631e-05);
  // The search stops at the first NUL byte of the text.
  EXPECT_FALSE(Read("a\0FuelConsumption=1.0\r\n"s, "FuelConsumption"));
  EXPECT_EQ(Get("FuelConsumption").Values[0], 5.631e-05);
}

TEST_F(ReadParameterTest, TheLineRunsAtMost255BytesFromTheKey) {
  // The "=" lies beyond the 255 bytes that start at the key.
  ASSERT_TRUE(Read("LifetimeAvg" + std::string(250, ' ') + "=5\r\n", "LifetimeAvg"));
  EXPECT_EQ(Get("LifetimeAvg").Values[0], 0.0);

  const std::string comment = "// " + std::string(400, 'x');
  ASSERT_TRUE(Read(std::string(300, ' ') + "LifetimeVar=9000   " + comment + "\r\n", "LifetimeVar"));
  EXPECT_EQ(Get("LifetimeVar").Values[0], 9000.0);
  EXPECT_EQ(Get("LifetimeVar").Comment, comment.substr(0, 255 - 19));
}

TEST_F(ReadParameterTest, ALineWithoutCommentKeepsThePreviousComment) {
  ASSERT_TRUE(Read("RevLimitSetting=3 // old\r\n", "RevLimitSetting"));
  EXPECT_EQ(Get("RevLimitSetting").Comment, "// old");
  ASSERT_TRUE(Read("RevLimitSetting=4\r\n", "RevLimitSetting"));
  EXPECT_EQ(Get("RevLimitSetting").Values[0], 4.0);
  EXPECT_EQ(FormatParameterLine(Get("RevLimitSetting")), "RevLimitSetting=4   // old\r\n");

  EditorDocument fresh;
  ASSERT_TRUE(ReadParameter("RevLimitSetting=3\r\n", *fresh.Parameters.Find("RevLimitSetting")));
  EXPECT_EQ(FormatParameterLine(*fresh.Parameters.Find("RevLimitSetting")), "RevLimitSetting=3   \r\n");
}

TEST(ReadEngineParameters, ReadsOnlyWhenAnEngineIsLoadedAndKeepsWhatAFileLacks) {
  EditorDocument doc;
  doc.EngineText = "FuelEstimate=0.5   // a\r\nLifetimeAvg=100\r\n";
  EXPECT_FALSE(ReadEngineParameters(doc));
  EXPECT_EQ(doc.Parameters.Find("FuelEstimate")->Values[0], 0.892);

  doc.EngineLoaded = true;
  EXPECT_TRUE(ReadEngineParameters(doc));
  EXPECT_EQ(doc.Parameters.Find("FuelEstimate")->Values[0], 0.5);
  EXPECT_EQ(doc.Parameters.Find("FuelEstimate")->Comment, "// a");
  EXPECT_EQ(doc.Parameters.Find("LifetimeAvg")->Values[0], 100.0);

  // A second file without those keys leaves them as the first file set them.
  doc.EngineText = "LifetimeVar=7\r\n";
  EXPECT_TRUE(ReadEngineParameters(doc));
  EXPECT_EQ(doc.Parameters.Find("FuelEstimate")->Values[0], 0.5);
  EXPECT_EQ(doc.Parameters.Find("FuelEstimate")->Comment, "// a");
  EXPECT_EQ(doc.Parameters.Find("LifetimeAvg")->Values[0], 100.0);
  EXPECT_EQ(doc.Parameters.Find("LifetimeVar")->Values[0], 7.0);
}

// The text of value `position` of the parameter with that key.
std::string& TextOf(ParameterTexts& texts, const char* key, int position) {
  return texts.Texts[ParameterTextIndex(EngineParameterIndex(key), position)];
}

TEST(ParameterTexts, ShowEachDefaultWithItsEditBoxFormat) {
  EngineParameterSet set;
  ParameterTexts texts;
  LoadParameterTexts(set, texts);
  EXPECT_EQ(TextOf(texts, "FuelConsumption", 0), "5.631e-05");
  EXPECT_EQ(TextOf(texts, "FuelEstimate", 0), "0.8920");
  EXPECT_EQ(TextOf(texts, "IdleRPMLogic", 0), "1200.0");
  EXPECT_EQ(TextOf(texts, "RevLimitRange", 2), "4");
  EXPECT_EQ(TextOf(texts, "EngineBrakingMapRange", 1), "1.000e-03");
  EXPECT_EQ(TextOf(texts, "BoostEffects", 2), "1.0150");
  EXPECT_EQ(TextOf(texts, "BoostTorque", 0), "-0.00410");
  EXPECT_EQ(TextOf(texts, "EngineBoostRange", 0), "0.0100");
  EXPECT_EQ(TextOf(texts, "EngineEmission", 2), "-2.5");
  for (const std::string& text : texts.Texts) EXPECT_LE(text.size(), 10u) << text;

  // OK without changes keeps every value the boxes show exactly, among them
  // the engine wear rate 1.015.
  EngineParameterSet stored;
  StoreParameterTexts(texts, stored);
  EXPECT_EQ(stored.Find("BoostEffects")->Values[2], 1.015);
  EXPECT_EQ(stored.Find("IdleRPMLogic")->Values[1], 1450.0);
  EXPECT_EQ(stored.Find("FuelConsumption")->Values[0], 5.631e-05);
}

TEST(ParameterTexts, StoreConvertsEachTextAndLeavesCommentsAlone) {
  EngineParameterSet set;
  ParameterTexts texts;
  LoadParameterTexts(set, texts);
  TextOf(texts, "RevLimitLogic", 0) = "abc";
  TextOf(texts, "StarterTiming", 2) = " 7.5xyz";
  set.Find("RevLimitLogic")->Comment = "// mine";
  StoreParameterTexts(texts, set);
  EXPECT_EQ(set.Find("RevLimitLogic")->Values[0], 0.0);
  EXPECT_EQ(set.Find("RevLimitLogic")->Comment, "// mine");
  EXPECT_EQ(set.Find("StarterTiming")->Values[2], 7.5);
}

TEST(FormatDialogValue, ShowsAValueTooLongForItsBoxInExponentFormThatFits) {
  EXPECT_EQ(FormatDialogValue(1e10, {false, 1}), "1.0000e+10");
  EXPECT_EQ(FormatDialogValue(-12345678901.0, {false, 0}), "-1.235e+10");
  EXPECT_EQ(FormatDialogValue(-1e-300, {true, 3}), "-1.00e-300");
  EXPECT_EQ(FormatDialogValue(123456.75, {false, 1}), "123456.8");  // fits: unchanged
  for (const double v : {9876543210.0, -9876543210.0, 1.5e300, 123456789.5}) {
    const std::string text = FormatDialogValue(v, {false, 4});
    EXPECT_LE(text.size(), 10u) << text;
    EXPECT_NEAR(DecimalToDouble(text) / v, 1.0, 1e-3) << text;
  }
}

}  // namespace
}  // namespace dyno
