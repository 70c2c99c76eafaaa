// Odd and hostile files: each is read without a crash and in bounded time,
// gives the reader's "nothing found" result where nothing usable is in it,
// and saving the document as read to a new name keeps every byte the writer
// does not edit. What "not edited" means is the writers' rule:
// - engine file: the output is the input with its first row piece (a line,
//   or a 255-byte piece of a longer line, holding "RPMTorque=(") replaced by
//   the rows and every later row piece left out (test::WithRowsReplaced);
// - tire file: the output is the input with the bytes from the first
//   "[SLIPCURVE]" header to the end of the last section read (TireTailPos)
//   replaced by the curves; a file from which no curve was read is written
//   back unchanged.

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "core/editing/EditorState.h"
#include "core/files/ComposeFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberText.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "core/platform/PlatformFile.h"
#include "support/ChildProcess.h"
#include "support/FakeHost.h"
#include "support/LinePieces.h"
#include "support/Printf.h"
#include "support/TempDir.h"
#include "support/WindowSteps.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace dyno {

using namespace dyno::test;
namespace {

// Fails the test when the scope takes longer than its bound: a generous one,
// meant to catch a hang or a quadratic walk, not to time anything.
class TimeBound {
 public:
  TimeBound(const char* what, double seconds) : what_(what), seconds_(seconds) {}
  ~TimeBound() {
    const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    EXPECT_LT(took, seconds_) << what_;
    ::testing::Test::RecordProperty(what_, std::to_string(took));
  }
  TimeBound(const TimeBound&) = delete;
  TimeBound& operator=(const TimeBound&) = delete;

 private:
  const char* what_;
  double seconds_;
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

std::string RowLine(double rpm, double compression, double torque) {
  return Printf("RPMTorque=( %.1f, %.1f, %.1f)\r\n", rpm, compression, torque);
}

const std::string SomeParameters =
    "FuelEstimate=0.9   // fudge\r\n"
    "IdleRPMLogic=(1000.0, 2000.0)   // idle\r\n"
    "RevLimitRange=(9000, 25, 4)\r\n";

// Samples 0.000000, 0.001000, ... as the writer lays them out.
std::string Section(const std::string& name, int samples) {
  std::string text = "[SLIPCURVE]\r\nName=" + name + "\r\nStep=0.00200\r\nDropoffFunction=-0.5\r\nData:\r\n";
  std::string line;
  for (int i = 0; i < samples; ++i) {
    line += Printf("%0.6f ", i / 1000.0);
    if (line.size() >= 90 || i == samples - 1) {
      line.back() = '\r';
      text += line + "\n";
      line.clear();
    }
  }
  return text + "\r\n";
}

class HostileFilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (dir.path() / name).string(); }

  // Reads an engine file as the Open command does: the rows, then, when
  // there are rows, the parameters.
  int OpenEngine(const std::string& name, std::string_view bytes) {
    st.Doc.EngineMode = true;
    st.Doc.TireMode = false;
    const int result = ReadEngineRows(st, dir.Write(name, bytes));
    if (result == 1) {
      st.Doc.EngineLoaded = true;
      ReadEngineParameters(st.Doc);
    }
    return result;
  }
  int OpenTire(const std::string& name, std::string_view bytes) {
    st.Doc.EngineMode = false;
    st.Doc.TireMode = true;
    return ReadTireFile(st, dir.Write(name, bytes));
  }

  // Saves to a new name in the same folder and gives what was written.
  std::string SaveEngineAs(const std::string& from, const std::string& to) {
    EXPECT_EQ(WriteEngineFile(st, dir.path().string(), from, dir.path().string(), to), 1);
    return test::TempDir::Read(Path(to));
  }
  std::string SaveTireAs(const std::string& from, const std::string& to) {
    EXPECT_EQ(WriteTireFile(st, dir.path().string(), from, dir.path().string(), to), 1);
    return test::TempDir::Read(Path(to));
  }

  // The rows block the engine writer puts in the place of the first row.
  std::string Rows() const {
    std::string rows;
    AppendTorqueRows(rows, st.Doc);
    return rows;
  }

  // What the tire writer keeps of input: everything but the sections read.
  std::string TireExpected(std::string_view input) const {
    const auto header = input.find(SlipCurveHeader);
    std::string expected(input.substr(0, header));
    EditorDocument copy = st.Doc;
    std::string().swap(copy.TireOtherText);
    ComposeSlipCurves(copy);
    return expected + copy.TireOtherText + std::string(input.substr(static_cast<std::size_t>(st.Doc.TireTailPos)));
  }

  void ExpectDefaultParameters() const {
    const EngineParameterSet defaults;
    for (int i = 0; i < EngineParameterCount; ++i) {
      EXPECT_EQ(st.Doc.Parameters.Items[i].Values, defaults.Items[i].Values) << defaults.Items[i].Key();
      EXPECT_EQ(st.Doc.Parameters.Items[i].Comment, defaults.Items[i].Comment) << defaults.Items[i].Key();
    }
  }

  void ExpectEveryValueFinite() const {
    for (int i = 0; i < st.Doc.RowCount; ++i) {
      const TorqueRow row = st.Doc.Engine.Row(i);
      EXPECT_TRUE(std::isfinite(row.Rpm) && std::isfinite(row.Compression) && std::isfinite(row.Torque) &&
                  std::isfinite(row.Power))
          << "row " << i;
    }
    for (const EngineParameter& parameter : st.Doc.Parameters.Items) {
      for (int v = 0; v < parameter.ValueCount(); ++v) EXPECT_TRUE(std::isfinite(parameter.Values[v])) << parameter.Key();
    }
  }

  test::TempDir dir;
  test::FakeHost host;
  EditorState st{host, 801, 601};
};

TEST_F(HostileFilesTest, AnEmptyFileHoldsNothingAndIsWrittenBackEmpty) {
  EXPECT_EQ(OpenEngine("empty.ini", ""), 0);
  EXPECT_EQ(st.Doc.RowCount, 0);
  EXPECT_EQ(st.Doc.EngineText, "");
  EXPECT_EQ(SaveEngineAs("empty.ini", "out.ini"), "");

  EXPECT_EQ(OpenTire("empty.tbc", ""), 0);
  EXPECT_EQ(st.Doc.SlipCurveCount, 0);
  EXPECT_EQ(SaveTireAs("empty.tbc", "out.tbc"), "");
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(HostileFilesTest, BinaryBytesWithNulsAreKeptAndHideWhatFollowsANulOnItsLine) {
  std::mt19937 random(20240611);
  std::string bytes(1 << 16, '\0');
  for (char& c : bytes) c = static_cast<char>(random() % 4 == 0 ? 0 : random());
  ASSERT_EQ(bytes.find("RPMTorque=("), std::string::npos);

  TimeBound bound("binary file", 10);
  EXPECT_EQ(OpenEngine("binary.ini", bytes), 0);
  EXPECT_EQ(st.Doc.EngineText, bytes);
  ExpectDefaultParameters();
  EXPECT_EQ(SaveEngineAs("binary.ini", "out.ini"), bytes);
  EXPECT_EQ(OpenTire("binary.tbc", bytes), 0);
  EXPECT_EQ(SaveTireAs("binary.tbc", "out.tbc"), bytes);

  // A row among the binary bytes is found; one after a NUL on its line is
  // not, and the parameters are not looked for beyond the first NUL.
  const std::string mixed = "\r\n" + RowLine(1000, -20, 150) + bytes + "\n" + "\0"s + RowLine(2000, -25, 180) +
                            "\n" + RowLine(3000, -30, 190) + "FuelEstimate=0.5\r\n";
  ASSERT_EQ(OpenEngine("mixed.ini", mixed), 1);
  ASSERT_EQ(st.Doc.RowCount, 2);
  EXPECT_EQ(st.Doc.Engine.Rpm[1], 3000.0);
  EXPECT_EQ(st.Doc.Parameters.Find("FuelEstimate")->Values[0], EngineParameterSet().Find("FuelEstimate")->Values[0]);
  st.Doc.Engine.Torque[0] = 155.0;
  EXPECT_EQ(SaveEngineAs("mixed.ini", "mixed-out.ini"), test::WithRowsReplaced(mixed, Rows()));
}

TEST_F(HostileFilesTest, AFiftyMegabyteFileIsReadAndWrittenWhole) {
  std::string engine = "[ENGINE]\r\n";
  for (int i = 0; i < 41; ++i) engine += RowLine(250.0 * i, -20.0 - i, 150.0 + i);
  engine += SomeParameters;
  const std::string filler = "// " + std::string(60, 'f') + "\r\n";
  engine.reserve(50u << 20);
  while (engine.size() < (50u << 20)) engine += filler;
  engine += "FuelConsumption=7e-05   // at the very end\r\n";

  {
    TimeBound bound("50 MB engine file: read, parameters, save", 20);
    ASSERT_EQ(OpenEngine("big.ini", engine), 1);
    EXPECT_EQ(st.Doc.RowCount, 41);
    EXPECT_EQ(st.Doc.Parameters.Find("FuelConsumption")->Values[0], 7e-05);
    st.Doc.Engine.Torque[40] = 99.5;
    EXPECT_EQ(SaveEngineAs("big.ini", "big-out.ini"), test::WithRowsReplaced(engine, Rows()));
  }

  const std::string tire = "[GENERAL]\r\n" + Section("Front", 261) + Section("Rear", 200) + engine;
  {
    TimeBound bound("50 MB tire file: read, save", 20);
    ASSERT_EQ(OpenTire("big.tbc", tire), 1);
    EXPECT_EQ(st.Doc.SlipCurveCount, 2);
    st.Doc.SlipCurves[1].Samples[7] = 0.5;
    EXPECT_EQ(SaveTireAs("big.tbc", "big-out.tbc"), TireExpected(tire));
  }
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(HostileFilesTest, AHundredThousandRowsGiveTheFirst500AndSaveReplacesThemAll) {
  std::string bytes = "[ENGINE]\r\n";
  for (int i = 0; i < 100000; ++i) {
    if (i % 1000 == 999) bytes += "// after row " + std::to_string(i) + "\r\n";
    bytes += RowLine(i, -i, i / 2.0);
  }
  bytes += SomeParameters;

  TimeBound bound("100000 rows: read, save", 10);
  ASSERT_EQ(OpenEngine("rows.ini", bytes), 1);
  ASSERT_EQ(st.Doc.RowCount, MaxEngineRows);
  EXPECT_EQ(st.Doc.Engine.Rpm[0], 0.0);
  EXPECT_EQ(st.Doc.Engine.Rpm[499], 499.0);
  EXPECT_EQ(st.Doc.Parameters.Find("FuelEstimate")->Values[0], 0.9);
  const std::string written = SaveEngineAs("rows.ini", "out.ini");
  EXPECT_EQ(written, test::WithRowsReplaced(bytes, Rows()));
  // The comments that stood between the rows follow the 500 rows.
  EXPECT_NE(written.find("// after row 99999\r\n"), std::string::npos);

  // The file written reads back as the same 500 rows.
  ASSERT_EQ(OpenEngine("out.ini", written), 1);
  EXPECT_EQ(st.Doc.RowCount, MaxEngineRows);
  EXPECT_EQ(st.Doc.Engine.Torque[499], 249.5);
}

TEST_F(HostileFilesTest, AOneMegabyteLineIsReadInPiecesAndKept) {
  const std::string longLine(1 << 20, 'x');
  {
    TimeBound bound("1 MB line", 10);
    EXPECT_EQ(OpenEngine("line.ini", longLine), 0);
    EXPECT_EQ(SaveEngineAs("line.ini", "line-out.ini"), longLine);
    EXPECT_EQ(OpenTire("line.tbc", longLine), 0);
    EXPECT_EQ(SaveTireAs("line.tbc", "line-out.tbc"), longLine);
  }

  // A row at the start of a long line is its first 255-byte piece; the rest
  // of the line is kept, after the rows.
  const std::string withRow =
      RowLine(1000, -20, 150).substr(0, 33) + longLine + "\r\n" + RowLine(2000, -25, 180) + SomeParameters;
  ASSERT_EQ(OpenEngine("row.ini", withRow), 1);
  ASSERT_EQ(st.Doc.RowCount, 2);
  EXPECT_EQ(st.Doc.Engine.Torque[0], 150.0);
  const std::string written = SaveEngineAs("row.ini", "row-out.ini");
  EXPECT_EQ(written, test::WithRowsReplaced(withRow, Rows()));
  // The first piece, the row and 222 of the x, is what the rows replace.
  EXPECT_EQ(written, RowLine(1000, -20, 150) + RowLine(2000, -25, 180) + longLine.substr(255 - 33) + "\r\n" +
                         SomeParameters);

  // In a tire file: a long line before the sections is kept; a long name
  // line gives its first 39 characters.
  const std::string tire = longLine + "\r\n[SLIPCURVE]\r\nName=" + longLine + "\r\nData:\r\n0.5 0.25\r\n\r\nend\r\n";
  ASSERT_EQ(OpenTire("long.tbc", tire), 1);
  EXPECT_EQ(st.Doc.SlipCurves[0].Name, std::string(39, 'x'));
  EXPECT_EQ(st.Doc.SlipCurves[0].SampleCount, 2);
  EXPECT_EQ(SaveTireAs("long.tbc", "long-out.tbc"), TireExpected(tire));
}

TEST_F(HostileFilesTest, CarriageReturnsAloneMakeOneLongLine) {
  // Only LF ends a line: a file with CR line ends is one line, read in
  // 255-byte pieces. Each piece holding the key whole gives one row, the
  // first of it; the parameters, whose values end at a CR, read as usual.
  std::string engine;
  for (int i = 0; i < 20; ++i) engine += Printf("RPMTorque=( %d.0, -1.0, 2.0)\r", 1000 * i);
  engine += "FuelEstimate=0.7   // cr\rIdleRPMLogic=(900.0, 1100.0)\r";
  int expectedRows = 0;
  for (const test::Piece& piece : test::Pieces(engine)) expectedRows += test::IsRowPiece(piece.bytes) ? 1 : 0;

  ASSERT_EQ(OpenEngine("cr.ini", engine), 1);
  EXPECT_EQ(st.Doc.RowCount, expectedRows);
  EXPECT_EQ(st.Doc.Engine.Rpm[0], 0.0);
  EXPECT_EQ(st.Doc.Parameters.Find("FuelEstimate")->Values[0], 0.7);
  EXPECT_EQ(st.Doc.Parameters.Find("FuelEstimate")->Comment, "// cr");
  EXPECT_EQ(st.Doc.Parameters.Find("IdleRPMLogic")->Values[1], 1100.0);
  EXPECT_EQ(SaveEngineAs("cr.ini", "cr-out.ini"), test::WithRowsReplaced(engine, Rows()));

  // A tire section header must end in CR LF: none is found.
  const std::string tire = "[SLIPCURVE]\rName=cr\rData:\r0.1 0.2\r\r";
  EXPECT_EQ(OpenTire("cr.tbc", tire), 0);
  EXPECT_EQ(SaveTireAs("cr.tbc", "cr-out.tbc"), tire);
}

TEST_F(HostileFilesTest, AUtf16FileWithAByteOrderMarkHoldsNothing) {
  const std::string text = RowLine(1000, -20, 150) + SomeParameters + Section("Front", 20);
  std::string utf16 = "\xff\xfe";
  for (const char c : text) utf16 += std::string{c, '\0'};

  EXPECT_EQ(OpenEngine("wide.ini", utf16), 0);
  EXPECT_EQ(st.Doc.RowCount, 0);
  ExpectDefaultParameters();
  EXPECT_EQ(SaveEngineAs("wide.ini", "wide-out.ini"), utf16);
  EXPECT_EQ(OpenTire("wide.tbc", utf16), 0);
  EXPECT_EQ(SaveTireAs("wide.tbc", "wide-out.tbc"), utf16);
}

TEST_F(HostileFilesTest, NanInfinityHexadecimalAndHugeValuesStayFiniteAndWriteReadably) {
  const std::string bytes =
      "RPMTorque=( nan, inf, 1e999)\r\n"
      "RPMTorque=( 0x1A, -0x10, 1e300)\r\n"
      "RPMTorque=( -1e308, 1.7976931348623157e308, 4.9e-324)\r\n"
      "RPMTorque=( 99999999999999999999, -INF, NAN)\r\n"
      "RPMTorque=( 999999999999999.9, -1e21, 1234567.25)\r\n"
      "FuelConsumption=nan\r\n"
      "FuelEstimate=1e999   // too big\r\n"
      "IdleRPMLogic=(inf, 0x20)\r\n"
      "RevLimitRange=(1e300, -1e300, 1e-320)\r\n"
      "BoostTorque=-9e307\r\n";
  ASSERT_EQ(OpenEngine("wild.ini", bytes), 1);
  ASSERT_EQ(st.Doc.RowCount, 5);
  ExpectEveryValueFinite();
  const EngineCurve& e = st.Doc.Engine;
  EXPECT_EQ(e.Rpm[0], 0.0);
  EXPECT_EQ(e.Torque[0], 0.0);
  EXPECT_EQ(e.Torque[1], 1e300);
  EXPECT_EQ(e.Rpm[2], -1e308);
  EXPECT_EQ(e.Torque[2], std::numeric_limits<double>::denorm_min());
  // A product beyond the range of a double saturates.
  EXPECT_EQ(PowerOf(e.Rpm[2], e.Compression[2]), -std::numeric_limits<double>::max());
  EXPECT_EQ(e.Rpm[3], 1e20);
  EXPECT_EQ(st.Doc.Parameters.Find("FuelConsumption")->Values[0], 0.0);
  EXPECT_EQ(st.Doc.Parameters.Find("FuelEstimate")->Values[0], 0.0);
  EXPECT_EQ(st.Doc.Parameters.Find("IdleRPMLogic")->Values[1], 0.0);
  EXPECT_EQ(st.Doc.Parameters.Find("RevLimitRange")->Values[0], 1e300);
  EXPECT_EQ(st.Doc.Parameters.Find("BoostTorque")->Values[0], -9e307);

  // Values beyond MaxFileValue are written as that limit, so every line fits
  // in one line piece and reads back as written.
  const std::string written = SaveEngineAs("wild.ini", "wild-out.ini");
  EXPECT_EQ(written, test::WithRowsReplaced(bytes, Rows()));
  EXPECT_TRUE(written.starts_with(
      "RPMTorque=( 0.0, 0.0, 0.0)\r\n"
      "RPMTorque=( 0.0, -0.0, 100000000000000000000.0)\r\n"
      "RPMTorque=( -100000000000000000000.0, 100000000000000000000.0, 0.0)\r\n"
      "RPMTorque=( 100000000000000000000.0, 0.0, 0.0)\r\n"
      "RPMTorque=( 999999999999999.9, -100000000000000000000.0, 1234567.2)\r\n"));
  ASSERT_EQ(OpenEngine("wild-out.ini", written), 1);
  EXPECT_EQ(SaveEngineAs("wild-out.ini", "again.ini"), written);

  // The composed text of the parameters too.
  ASSERT_EQ(OpenEngine("wild.ini", bytes), 1);
  ComposeAndKeepEngineText(st.Doc);
  const std::string composed = st.Doc.EngineText;
  EXPECT_NE(composed.find("RevLimitRange=(100000000000000000000.00, -100000000000000000000.0000, 9.9999e-321)   \r\n"), std::string::npos);
  EXPECT_NE(composed.find("BoostTorque=-100000000000000000000.00   // "), std::string::npos);
  for (const test::Piece& piece : test::Pieces(composed)) EXPECT_TRUE(piece.bytes.ends_with("\r\n"));
  ASSERT_EQ(OpenEngine("composed.ini", composed), 1);
  EXPECT_EQ(st.Doc.Parameters.Find("RevLimitRange")->Values[1], -MaxFileValue);
  ComposeEngineText(st.Doc);
  EXPECT_EQ(st.Doc.GeneratedText, composed);

  // Tire curves alike.
  const std::string tire =
      "[SLIPCURVE]\r\nName=wild\r\nStep=1e300\r\nDropoffFunction=nan\r\nData:\r\n"
      "1e300 inf 0x1F 1e999 5\r\n\r\n";
  ASSERT_EQ(OpenTire("wild.tbc", tire), 1);
  const SlipCurve& curve = st.Doc.SlipCurves[0];
  EXPECT_EQ(curve.Step, 1e300);
  EXPECT_EQ(curve.DropoffFunction, 0.0);
  ASSERT_EQ(curve.SampleCount, 5);
  EXPECT_EQ(curve.Samples[0], 1e300);
  EXPECT_EQ(curve.Samples[1], 0.0);
  EXPECT_EQ(curve.Samples[2], 0.0);
  const std::string tireWritten = SaveTireAs("wild.tbc", "wild-out.tbc");
  EXPECT_EQ(tireWritten,
            "[SLIPCURVE]\r\nName=wild\r\nStep=100000000000000000000.00000\r\nDropoffFunction=0.0\r\nData:\r\n"
            "100000000000000000000.000000 0.000000 0.000000 0.000000 5.000000\r\n\r\n");
  ASSERT_EQ(OpenTire("wild-out.tbc", tireWritten), 1);
  EXPECT_EQ(SaveTireAs("wild-out.tbc", "again.tbc"), tireWritten);
}

TEST_F(HostileFilesTest, NegativeUnsortedAndRepeatedRpmsStayInFileOrder) {
  const double rpms[] = {3000, 1000, 1000, -500, 2000, -500, 0};
  std::string bytes = "[ENGINE]\r\n";
  for (const double rpm : rpms) bytes += RowLine(rpm, -10, 100);
  ASSERT_EQ(OpenEngine("order.ini", bytes), 1);
  ASSERT_EQ(st.Doc.RowCount, 7);
  for (int i = 0; i < 7; ++i) EXPECT_EQ(st.Doc.Engine.Rpm[i], rpms[i]);
  EXPECT_LT(st.Doc.Engine.Power[3], 0.0);
  EXPECT_EQ(SaveEngineAs("order.ini", "out.ini"), bytes);
}

TEST_F(HostileFilesTest, AFifthSectionIsKeptAsText) {
  const std::string fifth = "[SLIPCURVE]\r\nName=Fifth\r\nData:\r\n0.5 0.6\r\n\r\n";
  const std::string tire = "[GENERAL]\r\n" + Section("A", 12) + Section("B", 3) + "// between\r\n" + Section("C", 1) +
                           Section("D", 30) + fifth + "[COMPOUND]\r\n";
  ASSERT_EQ(OpenTire("five.tbc", tire), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 4);
  EXPECT_EQ(st.Doc.TireTailPos, static_cast<int>(tire.find(fifth)));
  const std::string written = SaveTireAs("five.tbc", "out.tbc");
  EXPECT_EQ(written, TireExpected(tire));
  EXPECT_TRUE(written.ends_with(fifth + "[COMPOUND]\r\n"));
}

TEST_F(HostileFilesTest, SectionsWithoutDataAndSamplesBeforeData) {
  // Only sections without "Data:": no curve, and the file is written back as
  // it was rather than losing its sections.
  const std::string none = "[GENERAL]\r\n[SLIPCURVE]\r\nName=No data\r\nStep=0.1\r\n0.1 0.2\r\n[SLIPCURVE]\r\nName=x\r\n";
  EXPECT_EQ(OpenTire("none.tbc", none), 0);
  EXPECT_EQ(st.Doc.SlipCurveCount, 0);
  EXPECT_EQ(SaveTireAs("none.tbc", "none-out.tbc"), none);

  // A section without "Data:" before one with it: the second takes slot 0;
  // samples before "Data:" are not samples. The step read from the file
  // before stays, as this file gives none.
  const std::string tire = "[SLIPCURVE]\r\nName=No data\r\n[SLIPCURVE]\r\nName=Real\r\n0.9 0.8\r\nData:\r\n0.1 0.2\r\n\r\nend\r\n";
  ASSERT_EQ(OpenTire("some.tbc", tire), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 1);
  EXPECT_EQ(st.Doc.SlipCurves[0].Name, "Real");
  EXPECT_EQ(st.Doc.SlipCurves[0].SampleCount, 2);
  EXPECT_EQ(st.Doc.SlipCurves[0].Samples[0], 0.1);
  EXPECT_EQ(SaveTireAs("some.tbc", "some-out.tbc"),
            "[SLIPCURVE]\r\nName=Real\r\nStep=0.10000\r\nDropoffFunction=0.0\r\nData:\r\n0.100000 0.200000\r\n\r\nend\r\n");
}

TEST_F(HostileFilesTest, ThreeHundredSamplesAndASixtyCharacterName) {
  const std::string name(60, 'n');
  const std::string tire = "before\r\n" + Section(name, 300) + "after\r\n";
  ASSERT_EQ(OpenTire("long.tbc", tire), 1);
  const SlipCurve& curve = st.Doc.SlipCurves[0];
  EXPECT_EQ(curve.Name, std::string(39, 'n'));
  ASSERT_EQ(curve.SampleCount, MaxFileSlipSamples);
  EXPECT_EQ(curve.Samples[260], 0.26);
  EXPECT_EQ(st.Doc.TireTailPos, static_cast<int>(tire.size() - 7));

  const std::string written = SaveTireAs("long.tbc", "out.tbc");
  EXPECT_EQ(written, TireExpected(tire));
  EXPECT_TRUE(written.starts_with("before\r\n[SLIPCURVE]\r\nName=" + std::string(39, 'n') + "\r\n"));
  ASSERT_EQ(OpenTire("out.tbc", written), 1);
  EXPECT_EQ(st.Doc.SlipCurves[0].SampleCount, MaxFileSlipSamples);
  EXPECT_EQ(SaveTireAs("out.tbc", "again.tbc"), written);
}

TEST_F(HostileFilesTest, PipesAndDevicesAreNotReadAndDoNotHang) {
  TimeBound bound("pipes and devices", 10);
  const std::string fifo = Path("pipe.ini");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0644), 0);
  EXPECT_EQ(ReadEngineRows(st, fifo), -1);
  EXPECT_EQ(ReadEngineRows(st, "/dev/zero"), -1);
  EXPECT_EQ(ReadTireFile(st, fifo), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].caption, "Read of tire file failed!");
  std::string bytes;
  EXPECT_EQ(ReadFileBytes("/dev/null", bytes).Status, ReadStatus::CannotRead);
}

// The file read is gone or changed when the user saves.
class FileGoneBeforeSaveTest : public HostileFilesTest {
 protected:
  std::string folder() const { return dir.path().string(); }
  const std::string engine = RowLine(1000, -20, 150) + SomeParameters;
};

TEST_F(FileGoneBeforeSaveTest, SavingElsewhereNeedsNothingOfTheFile) {
  ASSERT_EQ(OpenEngine("e.ini", engine), 1);
  ASSERT_EQ(unlink(Path("e.ini").c_str()), 0);
  EXPECT_EQ(SaveEngineAs("e.ini", "other.ini"), engine);
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(FileGoneBeforeSaveTest, SavingOverAVanishedFileReportsTheFailedBackupAndStillWrites) {
  ASSERT_EQ(OpenEngine("e.ini", engine), 1);
  ASSERT_EQ(unlink(Path("e.ini").c_str()), 0);
  EXPECT_EQ(WriteEngineFile(st, folder(), "e.ini", folder(), "e.ini"), 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Error: unable to open File: e.ini");
  EXPECT_EQ(host.messages[0].caption, "No file copied.");
  EXPECT_EQ(test::TempDir::Read(Path("e.ini")), engine);
  EXPECT_FALSE(fs::exists(Path("e.in_")));

  const std::string tire = Section("Front", 12);
  ASSERT_EQ(OpenTire("t.tbc", tire), 1);
  ASSERT_EQ(unlink(Path("t.tbc").c_str()), 0);
  EXPECT_EQ(WriteTireFile(st, folder(), "t.tbc", folder(), "t.tbc"), 1);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "Error: unable to open File: t.tbc");
  EXPECT_EQ(test::TempDir::Read(Path("t.tbc")), tire);
}

TEST_F(FileGoneBeforeSaveTest, AFolderOrPipeInTheFilesPlaceIsReportedAndLeftAlone) {
  ASSERT_EQ(OpenEngine("e.ini", engine), 1);
  ASSERT_EQ(unlink(Path("e.ini").c_str()), 0);
  ASSERT_TRUE(fs::create_directory(Path("e.ini")));
  {
    TimeBound bound("folder in place of the file", 10);
    EXPECT_EQ(WriteEngineFile(st, folder(), "e.ini", folder(), "e.ini"), 0);
  }
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[0].text, "Error: unable to open File: e.ini");
  EXPECT_EQ(host.messages[1].text, "There was an error opening the output file: " + Path("e.ini") + ".");
  EXPECT_EQ(host.messages[1].caption, "FILE ERROR!");
  EXPECT_TRUE(fs::is_directory(Path("e.ini")));

  ASSERT_EQ(OpenEngine("p.ini", engine), 1);
  ASSERT_EQ(unlink(Path("p.ini").c_str()), 0);
  ASSERT_EQ(mkfifo(Path("p.ini").c_str(), 0644), 0);
  {
    TimeBound bound("pipe in place of the file", 10);
    EXPECT_EQ(WriteEngineFile(st, folder(), "p.ini", folder(), "p.ini"), 0);
  }
  ASSERT_EQ(host.messages.size(), 4u);
  EXPECT_EQ(host.messages[2].text, "Error: unable to open File: p.ini");
  EXPECT_EQ(host.messages[3].text, "There was an error opening the output file: " + Path("p.ini") + ".");
  EXPECT_TRUE(fs::is_fifo(Path("p.ini")));
  EXPECT_FALSE(fs::exists(Path("p.in_")));
}

TEST_F(FileGoneBeforeSaveTest, AFileMadeUnreadableIsReportedAndLeftAlone) {
  ASSERT_EQ(OpenEngine("e.ini", engine), 1);
  dir.Write("e.ini", "changed on disk");
  test::RunAsOrdinaryUser(dir.path(), [&] {
    ASSERT_EQ(chmod(Path("e.ini").c_str(), 0), 0);
    EXPECT_EQ(WriteEngineFile(st, folder(), "e.ini", folder(), "e.ini"), 0);
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[0].text, "Error: unable to open File: e.ini");
    EXPECT_EQ(host.messages[1].text, "There was an error opening the output file: " + Path("e.ini") + ".");
    ASSERT_EQ(chmod(Path("e.ini").c_str(), 0644), 0);
    EXPECT_EQ(test::TempDir::Read(Path("e.ini")), "changed on disk");
    EXPECT_FALSE(fs::exists(Path("e.in_")));
  });
}

}  // namespace
}  // namespace dyno
