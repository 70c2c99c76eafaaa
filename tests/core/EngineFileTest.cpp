#include <sys/stat.h>

#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "core/editing/EditorState.h"
#include "core/files/EngineFile.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

class ReadEngineRowsTest : public ::testing::Test {
 protected:
  int Read(const std::string& bytes) { return ReadEngineRows(st, dir.Write("engine.ini", bytes)); }
  const EngineCurve& curve() const { return st.Doc.Engine; }

  test::TempDir dir;
  test::FakeHost host;
  EditorState st{host, 801, 601};
};

TEST_F(ReadEngineRowsTest, ReadsRowsAndDerivesPower) {
  ASSERT_EQ(Read("// engine\r\nRPMTorque=( 1000.0, -20.0, 150.0)\r\nRPMTorque=( 2000.0, -25.0, 180.0)\r\n"), 1);
  EXPECT_EQ(curve().EngineRowCount, 2);
  EXPECT_EQ(st.Doc.RowCount, 2);
  EXPECT_EQ(curve().Rpm[0], 1000.0);
  EXPECT_EQ(curve().Compression[0], -20.0);
  EXPECT_EQ(curve().Torque[0], 150.0);
  EXPECT_NEAR(curve().Power[0], 21.0651, 1e-4);
  EXPECT_EQ(curve().Power[1], PowerOf(2000.0, 180.0));
}

TEST_F(ReadEngineRowsTest, KeepsEveryByteOfTheFileAsItsText) {
  const std::string bytes = "[ENGINE]\r\nRPMTorque=( 1.0, 2.0, 3.0)\r\n\r\nFuelEstimate=0.9\n\x01\xff tail";
  ASSERT_EQ(Read(bytes), 1);
  EXPECT_EQ(st.Doc.EngineText, bytes);
  EXPECT_EQ(st.Doc.EngineTextSize(), static_cast<int>(bytes.size()));
  EXPECT_EQ(st.Doc.EngineText.c_str()[bytes.size()], '\0');
}

TEST_F(ReadEngineRowsTest, FindsTheKeyAnywhereInALine) {
  ASSERT_EQ(Read("HDV=RPMTorque=( 2000.0, -25.0, 180.0)\r\n"
                 "//RPMTorque=( 3000.0, -30.0, 190.0)\r\n"
                 "  junk before RPMTorque=( 4000.0, -35.0, 200.0)\r\n"
                 "rpmtorque=( 5000.0, -1.0, 1.0)\r\n"),
            1);
  EXPECT_EQ(curve().EngineRowCount, 3);
  EXPECT_EQ(curve().Rpm[0], 2000.0);
  EXPECT_EQ(curve().Rpm[1], 3000.0);
  EXPECT_EQ(curve().Torque[2], 200.0);
}

TEST_F(ReadEngineRowsTest, TabsTrailingCommentsAndAMissingParenthesisReadTheSameNumbers) {
  ASSERT_EQ(Read("RPMTorque=(\t1000.0,\t-20.0,\t150.0)\r\n"
                 "RPMTorque=( 1000.0, -20.0, 150.0)   // 7, 8, 9)\r\n"
                 "RPMTorque=( 1000.0, -20.0, 150.0\r\n"
                 "RPMTorque=( 1000.0, -20.0, 150.0"),
            1);
  ASSERT_EQ(curve().EngineRowCount, 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(curve().Rpm[i], 1000.0) << i;
    EXPECT_EQ(curve().Compression[i], -20.0) << i;
    EXPECT_EQ(curve().Torque[i], 150.0) << i;
  }
}

TEST_F(ReadEngineRowsTest, MissingFieldsReadAsZero) {
  ASSERT_EQ(Read("RPMTorque=( 1000.0)\r\nRPMTorque=( 2000.0, -5.0)\r\nRPMTorque=()\r\n"), 1);
  ASSERT_EQ(curve().EngineRowCount, 3);
  EXPECT_EQ(curve().Rpm[0], 1000.0);
  EXPECT_EQ(curve().Compression[0], 0.0);
  EXPECT_EQ(curve().Torque[0], 0.0);
  EXPECT_EQ(curve().Compression[1], -5.0);
  EXPECT_EQ(curve().Torque[1], 0.0);
  EXPECT_EQ(curve().Rpm[2], 0.0);
}

TEST_F(ReadEngineRowsTest, AcceptsLinesEndedByLfAlone) {
  ASSERT_EQ(Read("a\nRPMTorque=( 1.0, 2.0, 3.0)\nRPMTorque=( 4.0, 5.0, 6.0)\n"), 1);
  EXPECT_EQ(curve().EngineRowCount, 2);
  EXPECT_EQ(curve().Torque[1], 6.0);
}

TEST_F(ReadEngineRowsTest, KeepsTheFirst500RowsOfALongerFile) {
  std::string bytes;
  for (int i = 0; i < 501; ++i) bytes += "RPMTorque=( " + std::to_string(i) + ".0, -1.0, 2.0)\r\n";
  ASSERT_EQ(Read(bytes), 1);
  EXPECT_EQ(curve().EngineRowCount, 500);
  EXPECT_EQ(st.Doc.RowCount, 500);
  for (int i = 0; i < 500; ++i) ASSERT_EQ(curve().Rpm[i], i);
  EXPECT_EQ(st.Doc.EngineText, bytes);
}

TEST_F(ReadEngineRowsTest, AFileWithoutRowsGivesZeroAndAnEmptyCurve) {
  ASSERT_EQ(Read("RPMTorque=( 1.0, 2.0, 3.0)\r\n"), 1);
  ASSERT_EQ(Read("[ENGINE]\r\nFuelEstimate=0.9\r\nRPMTorque = ( 1, 2, 3)\r\n"), 0);
  EXPECT_EQ(curve().EngineRowCount, 0);
  EXPECT_EQ(st.Doc.RowCount, 0);
  EXPECT_EQ(st.Doc.EngineText, "[ENGINE]\r\nFuelEstimate=0.9\r\nRPMTorque = ( 1, 2, 3)\r\n");
  EXPECT_EQ(Read(""), 0);
}

TEST_F(ReadEngineRowsTest, AKeySplitAcrossA255BytePieceIsNotSeen) {
  // The line reader delivers 255-byte pieces; a key straddling two pieces is
  // not a row, one wholly inside the second piece is.
  const std::string straddling = std::string(250, ' ') + "RPMTorque=( 1.0, 2.0, 3.0)\r\n";
  const std::string second = std::string(255, ' ') + "RPMTorque=( 4.0, 5.0, 6.0)\r\n";
  ASSERT_EQ(Read(straddling + second), 1);
  EXPECT_EQ(curve().EngineRowCount, 1);
  EXPECT_EQ(curve().Rpm[0], 4.0);
}

TEST_F(ReadEngineRowsTest, RequestsARepaintOfTheClientArea) {
  Read("RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  ASSERT_EQ(host.invalidations.size(), 1u);
  EXPECT_EQ(host.invalidations[0].area, (Rect{2, 2, 801, 601}));
  EXPECT_FALSE(host.invalidations[0].erase);
}

TEST_F(ReadEngineRowsTest, AFileThatCannotBeReadChangesNothing) {
  ASSERT_EQ(Read("RPMTorque=( 1.0, 2.0, 3.0)\r\n"), 1);
  host.invalidations.clear();

  EXPECT_EQ(ReadEngineRows(st, (dir.path() / "missing.ini").string()), -1);
  // A folder opens but cannot be read.
  EXPECT_EQ(ReadEngineRows(st, dir.path().string()), -1);
  if (geteuid() != 0) {  // root reads anything
    const std::string locked = dir.Write("locked.ini", "RPMTorque=( 9.0, 9.0, 9.0)\r\n");
    chmod(locked.c_str(), 0);
    EXPECT_EQ(ReadEngineRows(st, locked), -1);
  }
  EXPECT_EQ(curve().EngineRowCount, 1);
  EXPECT_EQ(curve().Rpm[0], 1.0);
  EXPECT_EQ(st.Doc.EngineText, "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_TRUE(host.invalidations.empty());
}

TEST_F(ReadEngineRowsTest, NulBytesDoNotHideTheRestOfTheFile) {
  using namespace std::string_literals;
  const std::string bytes = "RPMTorque=( 1.0, 2.0, 3.0)\r\n\0\0junk\r\nRPMTorque=( 4.0, 5.0, 6.0)\r\n"s;
  ASSERT_EQ(Read(bytes), 1);
  EXPECT_EQ(curve().EngineRowCount, 2);
  EXPECT_EQ(st.Doc.EngineText, bytes);
}

TEST_F(ReadEngineRowsTest, PowerStaysFiniteForValuesFarOutOfRange) {
  // Found by fuzzing: the product of two huge values was infinite.
  ASSERT_EQ(Read("RPMTorque=( 1e300, 0.0, -1e300)\r\nRPMTorque=( 1e300, 0.0, 1e300)\r\n"), 1);
  EXPECT_EQ(curve().Power[0], -std::numeric_limits<double>::max());
  EXPECT_EQ(curve().Power[1], std::numeric_limits<double>::max());
}

}  // namespace
}  // namespace dyno
