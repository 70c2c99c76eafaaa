#pragma once

#include <string>
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

// Reads the version texts of a program for the About box.
class TProjectRCVersion {
 public:
  // This program's texts; nullptr stands for a program without version
  // information.
  explicit TProjectRCVersion(const ProgramVersionInfo* info = &ThisProgramVersion()) : info_(info) {}

  // Each gives whether the value was found and, if so, its text.
  bool GetProductName(std::string& text) const { return Lookup(&ProgramVersionInfo::ProductName, text); }
  bool GetProductVersion(std::string& text) const { return Lookup(&ProgramVersionInfo::ProductVersion, text); }
  bool GetCopyright(std::string& text) const { return Lookup(&ProgramVersionInfo::LegalCopyright, text); }
  bool GetSpecialBuild(std::string& text) const { return Lookup(&ProgramVersionInfo::SpecialBuild, text); }

  bool HasResource() const { return info_ != nullptr; }

 private:
  bool Lookup(std::string_view ProgramVersionInfo::*field, std::string& text) const {
    if (info_ == nullptr || (info_->*field).empty()) return false;
    text = info_->*field;
    return true;
  }

  const ProgramVersionInfo* info_;
};

}  // namespace dyno
