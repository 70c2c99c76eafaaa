// Adjusting a range of rows and normalising a slip curve (range-edits
// cases): each operation on small columns, at the ends, on one row, and at
// the limits of what a file holds.

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/curves/RangeEdits.h"
#include "support/CaseTables.h"

namespace dyno {
namespace {

using test::Int;
using test::Number;

TEST(RangeEdits, GiveTheExpectedColumnOrSayWhy) {
  test::RunCases(
      "range-edits",
      [](const std::string& rule, std::istream& in, std::ostream& out) {
        double amount = 0.0;
        RowRange range;
        if (rule != "Normalise") {
          amount = Number(in);
          range = {Int(in), Int(in)};
        }
        std::vector<double> values, places;
        std::vector<double>* into = &values;
        for (std::string word; in >> word;) {
          std::istringstream number(word);
          if (word == "at") into = &places; else into->push_back(Number(number));
        }
        using enum RangeOperation;
        EditOutcome outcome = rule == "Normalise" ? NormaliseSlipCurve(values) : EditOutcome{};
        for (const RangeOperation operation : {Scale, Offset, Set, Straighten, Smooth}) {
          if (rule == RangeOperationName(operation)) outcome = AdjustRange(values, places, range, operation, amount, "Data 1");
        }
        out << (outcome.Changed ? "" : "un") << "changed:";
        for (const double v : values) out << " " << test::Exact(v);
        if (outcome.Message) out << " | " << outcome.Message->Text;
        out << "\n";
      },
      true);
}

}  // namespace
}  // namespace dyno
