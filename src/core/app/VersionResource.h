#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace dyno {

// One value of a version resource, found by its path: "\" holds the fixed
// file information (the file version as four little-endian 16-bit numbers,
// most significant first), "\VarFileInfo\Translation" the translations (each
// a little-endian 16-bit language id followed by a 16-bit code page) and
// "\StringFileInfo\<language and code page>\<name>" the texts.
struct VersionResourceEntry {
  std::string_view Path;
  std::string_view Value;
};

// The version resource built into this program from the project's version.
std::span<const VersionResourceEntry> ProgramVersionResource();

// The value at path, as the platform's version query gives it (paths are
// compared exactly).
std::optional<std::string_view> QueryVersionValue(std::span<const VersionResourceEntry> resource,
                                                  std::string_view path);

// The four file version numbers of the fixed file information.
std::optional<std::array<std::uint16_t, 4>> FileVersionNumbers(std::span<const VersionResourceEntry> resource);

}  // namespace dyno
