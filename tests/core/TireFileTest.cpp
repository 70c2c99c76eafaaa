#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/document/DefaultSlipTable.h"
#include "core/editing/EditorState.h"
#include "core/files/TireFile.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"
#include "support/WindowSteps.h"

namespace dyno {

using namespace dyno::test;
namespace {

// One section as this program writes it, with samples 0.000000, 0.001000, ...
std::string Section(const std::string& name, int samples, double first = 0.0) {
  std::string text = "[SLIPCURVE]\r\nName=" + name + "\r\nStep=0.00200\r\nDropoffFunction=-0.5\r\nData:\r\n";
  std::string line;
  for (int i = 0; i < samples; ++i) {
    line += std::to_string(first + i / 1000.0).substr(0, 8) + " ";
    if (line.size() >= 90 || i == samples - 1) {
      line.back() = '\r';
      text += line + "\n";
      line.clear();
    }
  }
  return text + "\r\n";
}

class TireFileTest : public ::testing::Test {
 protected:
  int Read(const std::string& bytes) { return ReadTireFile(st, dir.Write("tires.tbc", bytes)); }
  const SlipCurve& slot(int i) const { return st.Doc.SlipCurves[i]; }
  std::vector<double> Samples(int i) const {
    return {slot(i).Samples.begin(), slot(i).Samples.begin() + slot(i).SampleCount};
  }

  test::TempDir dir;
  test::FakeHost host;
  EditorState st{host, 801, 601};
};

TEST_F(TireFileTest, ReadsASectionIntoTheFirstSlot) {
  const std::string bytes = "[SLIPCURVE]\r\nName=Front\r\nStep=0.002\r\nDropoffFunction=-0.5\r\nData:\r\n"
                            "0.000000 0.100000 0.200000\r\n0.300000\r\n\r\n";
  ASSERT_EQ(Read(bytes), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 1);
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
  EXPECT_EQ(slot(0).Name, "Front");
  EXPECT_EQ(slot(0).Step, 0.002);
  EXPECT_EQ(slot(0).DropoffFunction, -0.5);
  EXPECT_EQ(Samples(0), (std::vector<double>{0.0, 0.1, 0.2, 0.3}));
  EXPECT_TRUE(st.Doc.TireLoaded);
  EXPECT_TRUE(st.Doc.TireParsed);
  EXPECT_EQ(st.Doc.TireText, bytes);
  // The blank line ending the samples belongs to the section.
  EXPECT_EQ(st.Doc.TireTailPos, static_cast<int>(bytes.size()));
  EXPECT_TRUE(st.Doc.TireOtherText.empty());
  // Fewer than 237 samples: the table keeps its 237 rows, all zero beyond.
  EXPECT_EQ(st.Doc.RowCount, 237);
  for (int i = 4; i < MaxSlipSamples; ++i) ASSERT_EQ(slot(0).Samples[i], 0.0) << i;
}

TEST_F(TireFileTest, KeepsTheLinesOutsideTheSectionsAndClearsUnusedSlots) {
  const std::string before = "[GENERAL]\r\nTitle=x\r\n";
  const std::string between = "// between\r\n";
  const std::string after = "[COMPOUND]\r\nName=Soft\r\n";
  ASSERT_EQ(Read(before + Section("A", 100) + between + Section("B", 100) + after), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 2);
  EXPECT_EQ(st.Doc.TireOtherText, before + between + after);
  EXPECT_EQ(slot(1).Name, "B");
  EXPECT_EQ(slot(1).SampleCount, 100);
  for (int i = 0; i < 237; ++i) {
    ASSERT_EQ(slot(2).Samples[i], 0.0);
    ASSERT_EQ(slot(3).Samples[i], 0.0);
  }
  // A later read starts again from zeros.
  ASSERT_EQ(Read(Section("C", 12)), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 1);
  EXPECT_EQ(slot(1).Samples[0], 0.0);
}

TEST_F(TireFileTest, TheHeaderMustBeExactWithCrLf) {
  EXPECT_EQ(Read("[SLIPCURVE]\nName=A\nData:\n0.1 0.2\n"), 0);
  EXPECT_EQ(st.Doc.SlipCurveCount, 0);
  EXPECT_TRUE(st.Doc.TireLoaded);
  EXPECT_EQ(Read("[SLIPCURVE] \r\nData:\r\n0.1 0.2\r\n"), 0);
  EXPECT_EQ(Read("[slipcurve]\r\nData:\r\n0.1 0.2\r\n"), 0);
  EXPECT_EQ(Read("Data:\r\n0.1 0.2\r\n[SLIPCURVE]"), 0);
  // The slots were reset: slot 0 holds zeros, not the built-in curve.
  EXPECT_EQ(slot(0).SampleCount, 237);
  EXPECT_EQ(slot(0).Samples[5], 0.0);
  EXPECT_EQ(st.Doc.TireOtherText, "Data:\r\n0.1 0.2\r\n[SLIPCURVE]");
}

TEST_F(TireFileTest, SampleLinesFollowTheBlankRules) {
  ASSERT_EQ(Read("[SLIPCURVE]\r\nData: 9.0 9.0\r\n"
                 "0.100000 0.200000 \r\n"  // blank before CR LF: no extra sample
                 "0.300000  0.400000\r\n"  // two blanks end the line's samples
                 "0.500000 \n"             // blank before a lone LF: an extra 0
                 "0.600000\r\n"
                 "-0.700000 0.8\r\n"  // a negative first sample ends the data
                 "0.900000\r\n"),
            1);
  EXPECT_EQ(Samples(0), (std::vector<double>{0.1, 0.2, 0.3, 0.5, 0.0, 0.6}));
  EXPECT_EQ(st.Doc.TireOtherText, "-0.700000 0.8\r\n0.900000\r\n");
}

TEST_F(TireFileTest, HeaderKeysAreFoundAnywhereInAnyOrderBeforeTheData) {
  ASSERT_EQ(Read("[SLIPCURVE]\r\nDropoffFunction=-0.8\r\nTimeStep=0.25\r\nignored line\r\n"
                 "CurveName=" +
                 std::string(50, 'n') + "\r\nData:\r\n0.5\r\n"),
            1);
  EXPECT_EQ(slot(0).Name, std::string(39, 'n'));
  EXPECT_EQ(slot(0).Step, 0.25);
  EXPECT_EQ(slot(0).DropoffFunction, -0.8);
  EXPECT_EQ(Samples(0), (std::vector<double>{0.5}));
  // A line before the data that is none of the keys is dropped.
  EXPECT_TRUE(st.Doc.TireOtherText.empty());
}

TEST_F(TireFileTest, DataInsideACurveNameIsPartOfTheName) {
  // Found by fuzzing: the writer puts the name line before the step, so a
  // name holding "Data:" started the samples there and the step line ended
  // them: the curve came back empty after every save.
  ASSERT_EQ(Read("[SLIPCURVE]\r\nName=Data: wet\r\nStep=0.00200\r\nDropoffFunction=-0.5\r\nData:\r\n0.1 0.2\r\n\r\n"
                 "[SLIPCURVE]\r\nData: Name=after the data key\r\n0.3\r\n\r\n"),
            1);
  EXPECT_EQ(slot(0).Name, "Data: wet");
  EXPECT_EQ(slot(0).Step, 0.002);
  EXPECT_EQ(Samples(0), (std::vector<double>{0.1, 0.2}));
  // Before the line's "=" the key still starts the samples.
  EXPECT_EQ(slot(1).Name, "after the data key");
  EXPECT_EQ(Samples(1), (std::vector<double>{0.3}));
}

TEST_F(TireFileTest, SectionsDirectlyAfterEachOtherAndSectionsWithoutData) {
  ASSERT_EQ(Read("[SLIPCURVE]\r\nName=A\r\nData:\r\n0.1 0.2\r\n"
                 "[SLIPCURVE]\r\nName=NoData\r\n"
                 "[SLIPCURVE]\r\nName=B\r\nStep=1\r\nData:\r\n0.3\r\n"),
            1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 2);
  EXPECT_EQ(Samples(0), (std::vector<double>{0.1, 0.2}));
  EXPECT_EQ(slot(1).Name, "B");  // the section without data gave up its slot
  EXPECT_EQ(Samples(1), (std::vector<double>{0.3}));
}

TEST_F(TireFileTest, ASectionKeepsItsFirst261SamplesAndConsumesTheRest) {
  const std::string bytes = Section("Long", 300) + "// after\r\n" + Section("Next", 3);
  ASSERT_EQ(Read(bytes), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 2);
  EXPECT_EQ(slot(0).SampleCount, 261);
  EXPECT_EQ(slot(0).Samples[260], 0.26);
  EXPECT_EQ(slot(0).Samples[261], 0.0);
  EXPECT_EQ(st.Doc.RowCount, 261);
  EXPECT_EQ(Samples(1), (std::vector<double>{0.0, 0.001, 0.002}));
  EXPECT_EQ(st.Doc.TireOtherText, "// after\r\n");
}

TEST_F(TireFileTest, OnlyFourSectionsAreReadAndTheRestStaysText) {
  const std::string fifth = Section("Fifth", 5);
  const std::string four = Section("A", 20) + Section("B", 20) + Section("C", 20) + Section("D", 20);
  ASSERT_EQ(Read(four + fifth + "tail\r\n"), 1);
  EXPECT_EQ(st.Doc.SlipCurveCount, 4);
  EXPECT_EQ(slot(3).Name, "D");
  EXPECT_EQ(st.Doc.TireTailPos, static_cast<int>(four.size()));
  EXPECT_EQ(st.Doc.TireOtherText, fifth + "tail\r\n");
  EXPECT_EQ(st.Doc.CurrentSlipCurve, 0);
}

TEST_F(TireFileTest, AFileThatCannotBeOpenedChangesNothing) {
  ASSERT_EQ(Read(Section("A", 5)), 1);
  st.Doc.TireLoaded = false;
  EXPECT_EQ(ReadTireFile(st, (dir.path() / "missing.tbc").string()), -1);
  EXPECT_FALSE(st.Doc.TireLoaded);
  EXPECT_EQ(slot(0).Name, "A");
  EXPECT_FALSE(st.Doc.TireText.empty());
  EXPECT_TRUE(host.messages.empty());
}

TEST_F(TireFileTest, AFileWhoseBytesCannotBeReadIsReported) {
  ASSERT_EQ(Read(Section("A", 5)), 1);
  // A folder opens but cannot be read (EISDIR, 21).
  EXPECT_EQ(ReadTireFile(st, dir.path().string()), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Last error = 21");
  EXPECT_EQ(host.messages[0].caption, "Read of tire file failed!");
  EXPECT_TRUE(st.Doc.TireLoaded);
  EXPECT_EQ(st.Doc.TireTextSize(), 0);
  EXPECT_EQ(st.Doc.TireTextPos, 0);
}

TEST(NthToken, SplitsAtSingleBlanks) {
  EXPECT_EQ(NthToken("0.1 0.2 0.3\r\n", 0), "0.1");
  EXPECT_EQ(NthToken("0.1 0.2 0.3\r\n", 2), "0.3\r\n");
  EXPECT_EQ(NthToken("0.1 0.2 0.3\r\n", 3), "");
  EXPECT_EQ(NthToken("0.1  0.3", 1), "");
  EXPECT_EQ(NthToken("0.1 ", 1), "");
  EXPECT_EQ(NthToken("1\n", 0), "");  // shorter than 3 characters
  EXPECT_EQ(NthToken("123456789012345678901234 5", 0), "123456789012345678901234");
}

TEST(ParseSampleLine, CountsTheSamplesOfALineAlsoBeyondTheSlotsCapacity) {
  EditorDocument doc;
  doc.SlipCurves[1].SampleCount = 259;
  EXPECT_EQ(ParseSampleLine(doc, "1.5 2.5 3.5 4.5\r\n", 1), 4);
  EXPECT_EQ(doc.SlipCurves[1].SampleCount, 261);
  EXPECT_EQ(doc.SlipCurves[1].Samples[259], 1.5);
  EXPECT_EQ(doc.SlipCurves[1].Samples[260], 2.5);
  EXPECT_EQ(doc.SlipCurves[1].Samples[261], 0.0);
  EXPECT_EQ(ParseSampleLine(doc, " 1.5\r\n", 1), -1);
  EXPECT_EQ(ParseSampleLine(doc, ".5\r\n", 1), -1);
  EXPECT_EQ(ParseSampleLine(doc, "", 1), -1);
  EXPECT_EQ(ParseSampleLine(doc, "7\n", 1), 0);
}

}  // namespace
}  // namespace dyno
