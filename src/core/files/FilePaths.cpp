#include "core/files/FilePaths.h"

#include <algorithm>
#include <filesystem>

namespace fs = std::filesystem;

namespace dyno {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(x) == lower(y);
         });
}

}  // namespace

std::string BackupName(std::string_view name) {
  if (name.empty()) return "_";
  // The last character, not its last byte: a name ending in a multi-byte
  // UTF-8 character loses the whole character.
  std::size_t last = name.size() - 1;
  const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  std::size_t lead = last;
  while (lead > 0 && last - lead < 3 && continuation(name[lead])) --lead;
  const auto first = static_cast<unsigned char>(name[lead]);
  const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
  if (lead + length == name.size() && (length > 1 || !continuation(name[lead]))) last = lead;
  return std::string(name.substr(0, last)) + "_";
}

std::string FileNameOfPath(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (fs::path(folder) / name).string();
}

bool IsSameFile(const std::string& first, const std::string& second) {
  std::error_code firstError;
  std::error_code secondError;
  const fs::path a = fs::absolute(first, firstError).lexically_normal();
  const fs::path b = fs::absolute(second, secondError).lexically_normal();
  if (!firstError && !secondError && EqualIgnoringCase(a.string(), b.string())) return true;
  std::error_code error;
  return fs::equivalent(first, second, error) && !error;
}

}  // namespace dyno
