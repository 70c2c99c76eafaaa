#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/app/VersionResource.h"

namespace dyno {

// Reads the texts of a version resource in its first translation.
class TProjectRCVersion {
 public:
  // The version resource of this program.
  TProjectRCVersion();
  // The given resource; an empty one stands for a file without version
  // information.
  explicit TProjectRCVersion(std::span<const VersionResourceEntry> resource);

  // Each gives whether the value was found and, if so, its text.
  bool GetProductName(std::string& text) const;
  bool GetProductVersion(std::string& text) const;
  bool GetCopyright(std::string& text) const;
  bool GetSpecialBuild(std::string& text) const;

  // Whether a resource with a translation was kept, and that translation:
  // language id in the high half, code page in the low half.
  bool HasResource() const { return !resource_.empty(); }
  std::uint32_t Translation() const { return translation_; }

 private:
  bool Lookup(const char* name, std::string& text) const;

  std::span<const VersionResourceEntry> resource_;
  std::uint32_t translation_ = 0;
};

}  // namespace dyno
