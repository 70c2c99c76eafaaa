// File names between the core's bytes and QString (file-names cases): UTF-8
// reads as text, any other byte survives the trip.
#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "gui/common/FileNames.h"
#include "support/CaseTables.h"

namespace dyno {
namespace {

// The text's UTF-16 units, those outside ASCII as <HHHH>, and whether it
// encodes to the bytes again.
TEST(FileNames, KeepEveryByteAndReadUtf8AsText) {
  test::RunCases(
      "file-names",
      [](const std::string& rule, std::istream& in, std::ostream& out) {
        ASSERT_EQ(rule, "name");
        const std::string bytes = test::Text(in);
        const QString text = DecodedName(bytes);
        for (const QChar unit : text) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "<%04X>", unit.unicode());
          out << (unit.unicode() < 0x80 ? std::string(1, static_cast<char>(unit.unicode())) : std::string(hex));
        }
        const std::string again = EncodedName(text);
        out << (again == bytes ? ", the same bytes again\n" : ", other bytes: " + test::Escaped(again) + "\n");
      },
      true);
}

}  // namespace
}  // namespace dyno
