// Numbers and texts: the conversions every file, dialog and the value box
// rely on, against the standard library's correctly rounded ones; numbers
// typed, stepped and shown in lb-ft; and the texts made of numbers and file
// names (numbers-and-texts cases: parameter and dialog values, typed
// numbers, line pieces, sample lines, recent file entries, backup names).
#include <charconv>
#include <cmath>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/document/EditorDocument.h"
#include "core/document/Units.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineParameters.h"
#include "core/files/FileKind.h"
#include "core/files/FilePaths.h"
#include "core/app/DynoSheet.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"
#include "core/files/ParameterTexts.h"
#include "core/files/RecentFiles.h"
#include "core/files/TextHelpers.h"
#include "core/files/TireFile.h"
#include "core/files/TypedNumber.h"
#include "support/CaseTables.h"

namespace dyno {
namespace {

using test::Exact;
using test::Number;
using test::RunCases;
using test::Text;

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

TEST(Numbers, NumbersAndTexts) {
  RunCases("numbers-and-texts", [](const std::string& rule, std::istream& in, std::ostream& out) {
    if (rule == "parameter") {
      const double v = Number(in);
      out << "parameter " << Exact(v) << " -> " << FormatParameterValue(v, 0) << " | " << FormatParameterValue(v, 1)
          << " | " << FormatParameterValue(v, 2) << " | dialog " << FormatDialogValue(v, {false, 1}) << " "
          << FormatDialogValue(v, {true, 3}) << " | readout " << FixedText(v, 1) << "\n";
      return;
    }
    const std::string text = Text(in);
    if (rule == "decimal") {
      out << "decimal \"" << text << "\" -> " << Exact(DecimalToDouble(text)) << "\n";
    } else if (rule == "typed") {
      const std::optional<double> typed = ReadTypedNumber(text);
      out << "typed \"" << text << "\" -> " << (typed ? Exact(*typed) : "no number: " + NotANumberMessage("Field", text).Text) << "\n";
    } else if (rule == "pieces") {
      int pos = 0;
      for (std::string_view piece; !(piece = ReadTextLine(text, pos)).empty();) {
        out << "piece of " << piece.size() << " ending at " << pos << "\n";
      }
    } else if (rule == "equals") {
      out << "after equals \"" << ValueAfterEquals(text) << "\" until comma \"" << CopyUntil(text, ',') << "\"\n";
    } else if (rule == "tokens") {
      // The tokens of a sample line, and the samples it adds to a curve of 259.
      out << "tokens of \"" << text << "\":";
      for (int n = 0; n < 4; ++n) out << " [" << NthToken(text, n) << "]";
      EditorDocument doc;
      doc.SlipCurves[0].SampleCount = 259;
      out << " samples taken " << ParseSampleLine(doc, text, 0) << " now " << doc.SlipCurves[0].SampleCount << "\n";
    } else if (rule == "shorten" || rule == "menu-text") {
      // A recent file as the menu shows it: "shorten MAX PATH", "menu-text INDEX PATH".
      const std::size_t blank = text.find(' ');
      const int number = std::stoi(text.substr(0, blank));
      const std::string path = text.substr(blank + 1);
      out << rule << " " << number << " \"" << path << "\": "
          << (rule == "shorten" ? ShortenedPath(path, number) : RecentFileMenuText(number, path)) << "\n";
    } else if (rule == "picture") {
      // A file title as an exported picture's name, and a typed picture side.
      const PictureSide side = ReadPictureSide("Width", text);
      out << "picture \"" << text << "\": " << PictureFileName(text, PictureFormat::Png) << " "
          << PictureFileName(text, PictureFormat::Svg) << ", side "
          << (side.Pixels ? std::to_string(*side.Pixels) : side.Refusal.Caption + " " + side.Refusal.Text) << "\n";
    } else if (rule == "name") {
      out << "name \"" << text << "\": backup \"" << BackupName(text) << "\" kind "
          << static_cast<int>(KindOfFile(text)) << "\n";
    } else {
      ASSERT_EQ(rule, "file-name");
      out << "file name of " << text << ": " << FileNameOfPath(text) << "\n";
    }
  });
}

// Every value typed or stepped in lb-ft with one decimal over the range a
// curve uses is stored as N-m that the table shows as that same text.
TEST(Numbers, TorqueTypedInLbFtShowsAsTypedAfterRounding) {
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
  EXPECT_EQ(StoredEngineValue(TorqueUnit::LbFt, 433.0, 319.4, false), 433.0);
  EXPECT_NE(StoredEngineValue(TorqueUnit::LbFt, 433.0, 319.4, true), 433.0);
  EXPECT_EQ(StoredEngineValue(TorqueUnit::LbFt, 433.0, 319.5, false), StoredTorque(319.5, TorqueUnit::LbFt, 1));
  EXPECT_EQ(StoredEngineValue(TorqueUnit::Nm, 433.04, 433.0, false), 433.0);
}

}  // namespace
}  // namespace dyno
