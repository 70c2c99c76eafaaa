#pragma once

// Approval testing: what a test produces (a text transcript, bytes, a
// picture) is compared with a reference committed under tests/data/. With
// DYNOFORGE_APPROVE=1 in the environment the references are rewritten from
// what the tests produce instead (scripts/approve.sh); review the difference
// with git before committing it.

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "support/TempDir.h"

namespace dyno::test {

inline std::filesystem::path DataPath(std::string_view relative) {
  return std::filesystem::path(DYNOFORGE_TEST_DATA) / std::string(relative);
}

// Where a failed comparison leaves what the test produced, next to the build.
inline std::filesystem::path FailurePath(std::string_view relative) {
  return std::filesystem::path(DYNOFORGE_TEST_OUTPUT) / std::string(relative);
}

inline bool Approving() {
  const char* approve = std::getenv("DYNOFORGE_APPROVE");
  return approve != nullptr && std::string_view(approve) == "1";
}

inline void WriteCreatingFolders(const std::filesystem::path& file, std::string_view bytes) {
  std::filesystem::create_directories(file.parent_path());
  TempDir::WriteFile(file, bytes);
}

// A script's text as bytes: "\r", "\n", "\t", "\s" (a blank), "\0" and
// "\xHH" stand for the bytes they name; a backslash before any other
// character stands for that character.
inline std::string Unescape(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\' || i + 1 == text.size()) {
      out += text[i];
      continue;
    }
    const char c = text[++i];
    if (c == 'x') {
      out += static_cast<char>(std::stoi(std::string(text.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == 't' ? '\t' : c == 's' ? ' ' : c == '0' ? '\0' : c;
    }
  }
  return out;
}

// The scripts of a folder under tests/data: their names without ".txt",
// sorted, for a test run once per script.
inline std::vector<std::string> ScriptsIn(std::string_view folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(DataPath(folder))) {
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A script's or file's name as a test's name, which takes letters, digits
// and "_" only.
inline std::string ScriptTestName(const ::testing::TestParamInfo<std::string>& script) {
  std::string name = script.param;
  std::replace_if(name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
  return name;
}

// The shortest text that reads back as exactly this double.
inline std::string Exact(double v) {
  char text[32];
  return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

// Expects bytes to equal the reference tests/data/<relative>; on a mismatch
// the bytes go to the failure folder and the first differing line is shown.
inline void ExpectApproved(std::string_view bytes, std::string_view relative) {
  const std::filesystem::path reference = DataPath(relative);
  if (Approving()) {
    WriteCreatingFolders(reference, bytes);
    return;
  }
  const std::string approved = TempDir::Read(reference);
  if (approved == bytes) return;
  const std::filesystem::path actual = FailurePath(relative);
  WriteCreatingFolders(actual, bytes);
  std::size_t at = 0;
  while (at < approved.size() && at < bytes.size() && approved[at] == bytes[at]) ++at;
  const std::size_t lineStart = approved.rfind('\n', at == 0 ? 0 : at - 1);
  const std::size_t from = lineStart == std::string::npos ? 0 : lineStart + 1;
  const auto lineOf = [&](std::string_view text) {
    if (from >= text.size()) return std::string("<end>");
    return std::string(text.substr(from, text.find('\n', from) - from));
  };
  ADD_FAILURE() << "differs from " << reference.string() << " at byte " << at << "\n  approved: "
                << lineOf(approved) << "\n  actual:   " << lineOf(bytes) << "\n  (all of it in " << actual.string()
                << ")";
}

}  // namespace dyno::test
