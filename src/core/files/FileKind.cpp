#include "core/files/FileKind.h"

#include <string>

namespace dyno {

namespace {

bool NameContains(std::string_view name, std::string_view part) {
  std::string upper(name);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper.find(part) != std::string::npos;
}

}  // namespace

FileKind KindOfFile(std::string_view fileName) {
  if (NameContains(fileName, ".TBC")) return FileKind::Tire;
  return NameContains(fileName, "UPGRADE") ? FileKind::Upgrade : FileKind::Engine;
}

}  // namespace dyno
