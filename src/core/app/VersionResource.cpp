#include "core/app/VersionResource.h"

namespace dyno {

std::optional<std::string_view> QueryVersionValue(std::span<const VersionResourceEntry> resource,
                                                  std::string_view path) {
  for (const VersionResourceEntry& entry : resource) {
    if (entry.Path == path) return entry.Value;
  }
  return std::nullopt;
}

std::optional<std::array<std::uint16_t, 4>> FileVersionNumbers(std::span<const VersionResourceEntry> resource) {
  const std::optional<std::string_view> info = QueryVersionValue(resource, "\\");
  if (!info || info->size() < 8) return std::nullopt;
  std::array<std::uint16_t, 4> numbers{};
  for (std::size_t k = 0; k < numbers.size(); ++k) {
    const auto low = static_cast<unsigned char>((*info)[2 * k]);
    const auto high = static_cast<unsigned char>((*info)[2 * k + 1]);
    numbers[k] = static_cast<std::uint16_t>(low | high << 8);
  }
  return numbers;
}

}  // namespace dyno
