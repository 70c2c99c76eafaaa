#pragma once

// Rules that are tables: each runs over the cases listed in
// tests/data/tables/<name>.txt (a case a line: the rule's word, then its
// inputs) and what it gives is compared with the approved <name>.transcript.

#include <charconv>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <string_view>

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

// Bytes as a case line writes them: "\r", "\n", "\t", "\\" and "\xHH" for
// the bytes outside printable ASCII.
inline std::string Escaped(std::string_view bytes) {
  std::string out;
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (const char* named = c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\t' ? "\\t" : c == '\\' ? "\\\\" : nullptr) {
      out += named;
    } else if (byte >= 0x20 && byte <= 0x7E) {
      out += c;
    } else {
      out += std::string("\\x") + "0123456789ABCDEF"[byte >> 4] + "0123456789ABCDEF"[byte & 15];
    }
  }
  return out;
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
