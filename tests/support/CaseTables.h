#pragma once

// Rules that are tables: each runs over the cases listed in
// tests/data/tables/<name>.txt (a case a line: the rule's word, then its
// inputs) and what it gives is compared with the approved <name>.transcript.

#include <charconv>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "support/Approval.h"

namespace dyno::test {

// The next word of a case as a number, "inf" and "nan" too, in any locale.
inline double Number(std::istream& in) {
  std::string word;
  in >> word;
  double v = 0.0;
  const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), v);
  EXPECT_TRUE(error == std::errc() && end == word.data() + word.size()) << "not a number: " << word;
  return v;
}

inline int Int(std::istream& in) { return static_cast<int>(Number(in)); }

// The rest of a case as text, its escapes standing for their bytes.
inline std::string Text(std::istream& in) {
  std::string raw;
  std::getline(in >> std::ws, raw);
  return Unescape(raw);
}

using Case = std::function<void(const std::string& rule, std::istream& in, std::ostream& out)>;

// Runs each case of tests/data/tables/<name>.txt through its rule; with echo
// the transcript shows each case line above what its rule gave.
inline void RunCases(const std::string& name, const Case& run, bool echo = false) {
  std::ifstream cases(DataPath("tables/" + name + ".txt"));
  ASSERT_TRUE(cases) << name;
  std::ostringstream out;
  for (std::string line; std::getline(cases, line);) {
    if (line.empty() || line.starts_with('#')) continue;
    std::istringstream in(line);
    std::string rule;
    in >> rule;
    if (echo) out << line << "\n  ";
    run(rule, in, out);
  }
  ExpectApproved(out.str(), "tables/" + name + ".transcript");
}

}  // namespace dyno::test
