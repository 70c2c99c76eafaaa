#include <clocale>
#include <charconv>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/files/NumberText.h"
#include "support/Printf.h"

namespace dyno {
namespace {

using test::Printf;

TEST(DecimalToDouble, ReadsTheLeadingNumberAndStopsAtTheFirstByteThatCannotContinueIt) {
  EXPECT_DOUBLE_EQ(DecimalToDouble("  -1.5e3x"), -1500.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble(".5"), 0.5);
  EXPECT_DOUBLE_EQ(DecimalToDouble("5."), 5.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble("+7.25"), 7.25);
  EXPECT_DOUBLE_EQ(DecimalToDouble("\t 1000.0, -20.0"), 1000.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble(" 150.0\r\n"), 150.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble("5.631e-05   // comment"), 5.631e-05);
  EXPECT_DOUBLE_EQ(DecimalToDouble("12e"), 12.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble("12e+"), 12.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble("12E2"), 1200.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble("1.2.3"), 1.2);
  EXPECT_DOUBLE_EQ(DecimalToDouble("3 5"), 3.0);
}

TEST(DecimalToDouble, TextThatDoesNotBeginWithANumberGivesZero) {
  for (const char* text : {"", "-", "+", ".", "-.", "abc", " x1", "e5", ",5"}) {
    EXPECT_EQ(DecimalToDouble(text), 0.0) << text;
  }
}

TEST(DecimalToDouble, NeverProducesInfinityNanOrHexadecimalValues) {
  for (const char* text : {"nan", "NAN", "-nan", "inf", "-inf", "Infinity", "1e999", "-1e999", "1e400000"}) {
    const double v = DecimalToDouble(text);
    EXPECT_TRUE(std::isfinite(v)) << text;
    EXPECT_EQ(v, 0.0) << text;
  }
  // Hexadecimal stops after its leading 0.
  EXPECT_EQ(DecimalToDouble("0x10"), 0.0);
  EXPECT_EQ(DecimalToDouble("0x1p3"), 0.0);
  // Very long digit strings still convert.
  EXPECT_DOUBLE_EQ(DecimalToDouble(std::string(300, '1').insert(1, ".")), 1.1111111111111112);
  EXPECT_DOUBLE_EQ(DecimalToDouble("1.7976931348623157e308"), 1.7976931348623157e308);
}

// The conversion takes a shortcut for short decimals; it must give exactly
// the correctly rounded value the general conversion gives.
TEST(DecimalToDouble, AgreesWithTheGeneralConversionToTheLastBit) {
  std::mt19937_64 random(42);
  const auto general = [](const std::string& text) {
    double value = 0.0;
    const char* begin = text.data() + (text[0] == '-' ? 1 : 0);
    std::from_chars(begin, text.data() + text.size(), value);
    return text[0] == '-' ? -value : value;
  };
  const char* formats[] = {"%.1f", "%.6f", "%.3e", "%.5f", "%.17g", "%.15g", "%.0f", "%.4e"};
  for (int i = 0; i < 200000; ++i) {
    const double magnitude = std::pow(10.0, static_cast<double>(random() % 40) - 20.0);
    const double value = (static_cast<double>(random() % 2000001) - 1000000.0) / 1000000.0 * magnitude;
    const std::string text = Printf(formats[i % 8], value);
    ASSERT_EQ(DecimalToDouble(text), general(text)) << text;
  }
  // Digit strings at the edges of the shortcut: 15 and 16 digits, powers 22 and 23.
  for (const char* text : {"123456789012345", "1234567890123456", "0.123456789012345", "9007199254740993",
                           "1e22", "1e23", "123456789012345e-22", "1.5e-23", "0.000000000000000000000001"}) {
    EXPECT_EQ(DecimalToDouble(text), general(text)) << text;
  }
}

TEST(AppendFixed, WritesWhatPrintfWrites) {
  std::mt19937_64 random(7);
  std::vector<double> values{0.0, -0.0, 0.05, -0.05, 0.15, 0.25, 2.5, 1e15, -1e20, 1.7976931348623157e308,
                             4.9e-324, 999.95, 0.0000005, 12345.65};
  for (int i = 0; i < 20000; ++i) {
    const double magnitude = std::pow(10.0, static_cast<double>(random() % 30) - 10.0);
    values.push_back((static_cast<double>(random() % 2000001) - 1000000.0) / 1000.0 * magnitude);
  }
  for (const double value : values) {
    for (const int decimals : {0, 1, 5, 6}) {
      std::string out = "x";
      AppendFixed(out, value, decimals);
      ASSERT_EQ(out, "x" + Printf("%.*f", decimals, value)) << value;
    }
  }
}

TEST(NumberTexts, WriteWhatPrintfWritesInTheCLocale) {
  EXPECT_EQ(ExponentText(5.631e-05, 3), "5.631e-05");
  EXPECT_EQ(ExponentText(0.0009062, 3), Printf("%.3e", 0.0009062));
  EXPECT_EQ(ExponentText(-1.5e20, 4), Printf("%.4e", -1.5e20));
  EXPECT_EQ(FixedText(0.9, 6), "0.900000");
  EXPECT_EQ(FixedText(2.5, 0), Printf("%.0f", 2.5));
  char text[8];
  EXPECT_EQ(IntegerTo(text, sizeof text, -100, 5), 5);
  EXPECT_STREQ(text, " -100");
  EXPECT_EQ(IntegerTo(text, sizeof text, 7, 3), 3);
  EXPECT_STREQ(text, "  7");
  // Cut to the buffer, as a paint's fixed buffers need.
  EXPECT_EQ(FixedTo(text, sizeof text, 123456.789, 3), 7);
  EXPECT_STREQ(text, "123456.");
  EXPECT_EQ(FixedTo(text, 1, 5.0, 1), 0);
  EXPECT_STREQ(text, "");
}

// The Qt application adopts the desktop's locale; a German desktop must still
// read and write numbers with a decimal point.
class UnderGermanLocale : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr)
        << "the de_DE.UTF-8 locale is missing; the set-up script generates it";
  }
  void TearDown() override { std::setlocale(LC_ALL, previous_.c_str()); }

 private:
  std::string previous_;
};

TEST_F(UnderGermanLocale, ConversionIsUnchanged) {
  EXPECT_DOUBLE_EQ(DecimalToDouble("1000.5"), 1000.5);
  EXPECT_DOUBLE_EQ(DecimalToDouble("  -1.5e3x"), -1500.0);
  EXPECT_DOUBLE_EQ(DecimalToDouble("1000,5"), 1000.0);
  EXPECT_EQ(DecimalToDouble("1e999"), 0.0);
}

TEST_F(UnderGermanLocale, FormattingStillWritesAPoint) {
  char native[32];
  std::snprintf(native, sizeof native, "%.1f", 1000.0);
  ASSERT_STREQ(native, "1000,0") << "the locale is not in effect, so this test proves nothing";
  EXPECT_EQ(FixedText(1000.0, 1), "1000.0");
  EXPECT_EQ(FixedText(1.015, 4) + "|" + ExponentText(0.0009062, 3), "1.0150|9.062e-04");
}

}  // namespace
}  // namespace dyno
