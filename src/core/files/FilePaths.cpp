#include "core/files/FilePaths.h"

#include <algorithm>
#include <system_error>

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

fs::path PathFromUtf8(std::string_view utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::string Utf8FromPath(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  try {
    return Utf8FromPath(PathFromUtf8(folder) / PathFromUtf8(name));
  } catch (const std::system_error&) {
    // Not UTF-8 (only Windows objects): joined as text, the file functions
    // refuse the name then.
    return folder + static_cast<char>(fs::path::preferred_separator) + name;
  }
}

bool IsSameFile(const std::string& first, const std::string& second) {
  try {
    const fs::path firstPath = PathFromUtf8(first);
    const fs::path secondPath = PathFromUtf8(second);
    std::error_code firstError;
    std::error_code secondError;
    const fs::path a = fs::absolute(firstPath, firstError).lexically_normal();
    const fs::path b = fs::absolute(secondPath, secondError).lexically_normal();
    if (!firstError && !secondError && EqualIgnoringCase(Utf8FromPath(a), Utf8FromPath(b))) return true;
    std::error_code error;
    return fs::equivalent(firstPath, secondPath, error) && !error;
  } catch (const std::system_error&) {
    return false;  // a name that is not UTF-8 names no file on Windows
  }
}

}  // namespace dyno
