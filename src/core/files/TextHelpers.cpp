#include "core/files/TextHelpers.h"

#include <algorithm>

#include "core/document/Limits.h"

namespace dyno {

std::string_view UpToNul(std::string_view text) {
  const auto nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

std::string_view ReadTextLine(std::string_view text, int& pos) {
  const auto size = static_cast<int>(text.size());
  if (pos < 0 || pos >= size) return {};
  const int limit = std::min(size - pos, LineBufferSize - 1);
  const std::string_view window = text.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(limit));
  const auto lf = window.find('\n');
  const int length = lf == std::string_view::npos ? limit : static_cast<int>(lf) + 1;
  pos += length;
  return window.substr(0, static_cast<std::size_t>(length));
}

std::string_view CopyUntil(std::string_view source, char delimiter) {
  std::size_t i = 0;
  while (i < source.size()) {
    const char c = source[i];
    if (c == delimiter || c == '\r' || c == '\n' || c == '\0') break;
    ++i;
  }
  return source.substr(0, i);
}

std::string_view ValueAfterEquals(std::string_view line) {
  line = UpToNul(line);
  const auto eq = line.find('=');
  if (eq == std::string_view::npos) return {};
  const std::string_view rest = line.substr(eq + 1);
  return CopyUntil(rest, '\n');  // up to the line end
}

bool LineContains(std::string_view line, std::string_view key) {
  return UpToNul(line).find(key) != std::string_view::npos;
}

}  // namespace dyno
