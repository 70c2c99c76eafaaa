#pragma once

#include <string_view>

namespace dyno {

// The texts a build carries about itself, made from the project's version
// when it is built. An empty text is one the build does not have.
struct ProgramVersionInfo {
  std::string_view ProductName;
  std::string_view ProductVersion;
  std::string_view LegalCopyright;
  std::string_view SpecialBuild;
};

// This program's own.
const ProgramVersionInfo& ThisProgramVersion();

}  // namespace dyno
