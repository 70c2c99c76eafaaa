// File names between the core's bytes and QString: UTF-8 reads as text, any
// other byte survives the trip.
#include <string>

#include <gtest/gtest.h>

#include "gui/common/FileNames.h"

namespace dyno {
namespace {

TEST(FileNames, KeepEveryByteAndReadUtf8AsText) {
  const auto escaped = [](std::initializer_list<int> bytes) {
    QString out;
    for (const int byte : bytes) out += QChar(static_cast<char16_t>(0xDC00 + byte));
    return out;
  };
  const struct {
    std::string bytes;
    QString text;
  } cases[] = {
      {"/data/cars,old", QStringLiteral("/data/cars,old")},
      {"/home/j\xC3\xB6/Mot\xC3\xB6r", QStringLiteral("/home/jö/Motör")},
      {"\xFF" "a\xFE", escaped({0xFF}) + QLatin1Char('a') + escaped({0xFE})},
      {"\xC2\xA0\xC3\xBF", QStringLiteral("\u00A0\u00FF")},
      {"\xE0\xA0\x80", QString(QChar(0x0800))},
      {"\xF3\xB0\x80\x80", QString::fromUcs4(U"\U000F0000")},          // a pair starting DB80
      {"\xE0\x80\x80", escaped({0xE0, 0x80, 0x80})},                  // overlong
      {"\xF0\x90\x82\x80x", QString::fromUcs4(U"\U00010080x")},       // a pair ending in DC80
      {"\xF0\x80\x80\x80", escaped({0xF0, 0x80, 0x80, 0x80})},        // overlong
      {"\xF4\x90\x80\x80", escaped({0xF4, 0x90, 0x80, 0x80})},        // beyond U+10FFFF
      {"\xED\xA0\x80", escaped({0xED, 0xA0, 0x80})},                  // a surrogate
      {"a\xC3", QLatin1Char('a') + escaped({0xC3})},                  // cut short
      {"\xE2\x82" "b", escaped({0xE2, 0x82}) + QLatin1Char('b')},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecodedName(c.bytes), c.text) << c.bytes;
    EXPECT_EQ(EncodedName(c.text), c.bytes) << c.bytes;
  }
}

}  // namespace
}  // namespace dyno
