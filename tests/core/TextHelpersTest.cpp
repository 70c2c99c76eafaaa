#include <string>

#include <gtest/gtest.h>

#include "core/files/TextHelpers.h"

namespace dyno {
namespace {

// Every piece ReadTextLine delivers for text, in order.
std::vector<std::string> Pieces(const std::string& text) {
  std::vector<std::string> pieces;
  int pos = 0;
  while (pos < static_cast<int>(text.size())) pieces.emplace_back(ReadTextLine(text, pos));
  return pieces;
}

TEST(ReadTextLine, DeliversLinesWithTheirLineEnds) {
  EXPECT_EQ(Pieces("a\r\nbb\n\r\nlast"), (std::vector<std::string>{"a\r\n", "bb\n", "\r\n", "last"}));
  EXPECT_TRUE(Pieces("").empty());
}

TEST(ReadTextLine, SplitsLinesLongerThan255BytesIntoPieces) {
  // 254 and 255 bytes including the LF fit one piece.
  const std::string line254 = std::string(253, 'a') + "\n";
  const std::string line255 = std::string(254, 'b') + "\n";
  EXPECT_EQ(Pieces(line254 + "x"), (std::vector<std::string>{line254, "x"}));
  EXPECT_EQ(Pieces(line255 + "x"), (std::vector<std::string>{line255, "x"}));

  // 256 bytes: the LF comes alone as a second piece.
  const std::string line256 = std::string(255, 'c') + "\n";
  EXPECT_EQ(Pieces(line256), (std::vector<std::string>{std::string(255, 'c'), "\n"}));

  // 600 bytes: 255, 255, then the rest with the line end.
  const std::string line600 = std::string(598, 'd') + "\r\n";
  EXPECT_EQ(Pieces(line600), (std::vector<std::string>{std::string(255, 'd'), std::string(255, 'd'),
                                                       std::string(88, 'd') + "\r\n"}));
}

TEST(ReadTextLine, KeepsNulBytesInsideThePiece) {
  const std::string text("a\0b\nc", 5);
  int pos = 0;
  EXPECT_EQ(ReadTextLine(text, pos), std::string_view("a\0b\n", 4));
  EXPECT_EQ(pos, 4);
  EXPECT_EQ(UpToNul(std::string_view("a\0b\n", 4)), "a");
}

TEST(ReadTextLine, APositionAtOrBeyondTheEndGivesAnEmptyPiece) {
  int pos = 3;
  EXPECT_TRUE(ReadTextLine("abc", pos).empty());
  EXPECT_EQ(pos, 3);
  pos = -1;
  EXPECT_TRUE(ReadTextLine("abc", pos).empty());
}

TEST(CopyUntil, StopsAtTheDelimiterCrLfOrNul) {
  EXPECT_EQ(CopyUntil(" 1000.0, -20.0", ','), " 1000.0");
  EXPECT_EQ(CopyUntil("150.0\r\n", ','), "150.0");
  EXPECT_EQ(CopyUntil("150.0\n", ','), "150.0");
  EXPECT_EQ(CopyUntil(std::string_view("ab\0,c", 5), ','), "ab");
  EXPECT_EQ(CopyUntil("no delimiter", ','), "no delimiter");
  EXPECT_EQ(CopyUntil("", ','), "");
  EXPECT_EQ(CopyUntil(",x", ','), "");
}

TEST(ValueAfterEquals, TakesTheTextAfterTheFirstEqualsSignToTheLineEnd) {
  EXPECT_EQ(ValueAfterEquals("FuelConsumption=5.631e-05   // x\r\n"), "5.631e-05   // x");
  EXPECT_EQ(ValueAfterEquals("HDV=RPMTorque=( 1.0)\n"), "RPMTorque=( 1.0)");
  EXPECT_EQ(ValueAfterEquals("Name=\r\n"), "");
  EXPECT_EQ(ValueAfterEquals("Name="), "");
  EXPECT_EQ(ValueAfterEquals("no equals sign\r\n"), "");
  EXPECT_EQ(ValueAfterEquals(""), "");
  EXPECT_EQ(ValueAfterEquals(std::string_view("a\0=b", 4)), "");
}

}  // namespace
}  // namespace dyno
