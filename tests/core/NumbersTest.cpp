// The number conversions every file, dialog and the value box rely on,
// against the standard library's correctly rounded ones; and what the
// engine generator leaves for the start-up curve.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "core/curves/Generator.h"
#include "core/document/EditorSession.h"
#include "core/document/EditorDocument.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"

namespace dyno {
namespace {

double RandomValue(std::mt19937_64& random, int decades) {
  const double magnitude = std::pow(10.0, static_cast<double>(random() % decades) - decades / 2);
  return (static_cast<double>(random() % 2000001) - 1000000.0) / 1000000.0 * magnitude;
}

// The fast path for short decimals must give exactly the value the general
// conversion gives; the texts written must be those of printf.
TEST(Numbers, AgreeWithTheGeneralConversionsToTheLastBit) {
  std::mt19937_64 random(42);
  char text[400];
  for (int i = 0; i < 100000; ++i) {
    const double value = RandomValue(random, 40);
    const int decimals = static_cast<int>(random() % 8);
    const bool exponent = i % 3 == 0;
    std::snprintf(text, sizeof text, exponent ? "%.*e" : "%.*f", decimals, value);
    const std::string written = exponent ? ExponentText(value, decimals) : FixedText(value, decimals);
    ASSERT_EQ(written, text) << value;
    double general = 0.0;
    std::from_chars(text + (text[0] == '-'), text + written.size(), general);
    ASSERT_EQ(DecimalToDouble(written), text[0] == '-' ? -general : general) << written;
  }
  for (const char* edge : {"123456789012345", "1234567890123456", "0.123456789012345", "9007199254740993", "1e22",
                           "1e23", "123456789012345e-22", "1.5e-23"}) {
    double general = 0.0;
    std::from_chars(edge, edge + std::char_traits<char>::length(edge), general);
    EXPECT_EQ(DecimalToDouble(edge), general) << edge;
  }
  std::string out = "x";
  AppendFixed(out, 1.7976931348623157e308, 1);
  EXPECT_EQ(out.size(), 1u + 309 + 2);
}

// The start-up curve is the generator's, and no file's yet. (Its rows are
// pinned by the session transcripts that generate curves.)
TEST(Numbers, TheGeneratorGivesNoFilesCurve) {
  EditorDocument doc;
  ASSERT_EQ(GenerateEngineCurve(doc, GeneratorSettings()), 41);
  EXPECT_FALSE(doc.EngineLoaded);
}

}  // namespace
}  // namespace dyno
