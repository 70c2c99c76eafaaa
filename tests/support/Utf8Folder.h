#pragma once

// A TempDir whose files are named by UTF-8 paths on every system:
// std::filesystem's std::string paths are in the ANSI code page on Windows,
// so a name like "Motor-ü.ini" must go through the core's UTF-8
// conversions. Files are written and read as bytes, line ends untouched.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "core/files/FilePaths.h"
#include "support/TempDir.h"

namespace dyno::test {

class Utf8Folder {
 public:
  Utf8Folder() = default;
  ~Utf8Folder() {
    // Read-only files would stop the folder's removal on Windows.
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path(), ignored)) {
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_write,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  Utf8Folder(const Utf8Folder&) = delete;
  Utf8Folder& operator=(const Utf8Folder&) = delete;

  const std::filesystem::path& path() const { return folder_.path(); }

  // The folder's own UTF-8 path.
  std::string Path() const { return Utf8FromPath(path()); }

  // The UTF-8 path of a name (or a relative path) in the folder.
  std::string File(const std::string& name) const { return Utf8FromPath(path() / PathFromUtf8(name)); }

  // Writes bytes exactly as given to a file in the folder.
  void Put(const std::string& name, std::string_view bytes) const {
    std::ofstream out(path() / PathFromUtf8(name), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // Every byte of a file in the folder, or "<unreadable>".
  std::string Get(const std::string& name) const {
    std::ifstream in(path() / PathFromUtf8(name), std::ios::binary);
    if (!in) return "<unreadable>";
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The UTF-8 names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path())) {
      names.push_back(Utf8FromPath(entry.path().filename()));
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  TempDir folder_;
};

}  // namespace dyno::test
