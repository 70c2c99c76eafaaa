#include "core/app/TProjectRCVersion.h"

#include <optional>
#include <string_view>

#include "core/files/NumberText.h"

namespace dyno {

TProjectRCVersion::TProjectRCVersion() : TProjectRCVersion(ProgramVersionResource()) {}

TProjectRCVersion::TProjectRCVersion(std::span<const VersionResourceEntry> resource) {
  const std::optional<std::string_view> translations = QueryVersionValue(resource, "\\VarFileInfo\\Translation");
  if (!translations || translations->size() < 4) return;  // keep nothing
  // Stored as the language id, then the code page; the lookups want the
  // language in the high half.
  const auto byte = [&](std::size_t k) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>((*translations)[k]));
  };
  const std::uint32_t language = byte(0) | byte(1) << 8;
  const std::uint32_t codePage = byte(2) | byte(3) << 8;
  translation_ = language << 16 | codePage;
  resource_ = resource;
}

bool TProjectRCVersion::Lookup(const char* name, std::string& text) const {
  if (resource_.empty()) return false;
  char path[255];
  CFormatTo(path, sizeof path, "\\StringFileInfo\\%08lx\\%s", static_cast<unsigned long>(translation_), name);
  const std::optional<std::string_view> value = QueryVersionValue(resource_, path);
  if (!value) return false;
  text = *value;
  return true;
}

bool TProjectRCVersion::GetProductName(std::string& text) const { return Lookup("ProductName", text); }
bool TProjectRCVersion::GetProductVersion(std::string& text) const { return Lookup("ProductVersion", text); }
bool TProjectRCVersion::GetCopyright(std::string& text) const { return Lookup("LegalCopyright", text); }
bool TProjectRCVersion::GetSpecialBuild(std::string& text) const { return Lookup("SpecialBuild", text); }

}  // namespace dyno
