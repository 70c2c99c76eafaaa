#include "core/files/TextHelpers.h"

#include <algorithm>

#include "core/document/Limits.h"

namespace dyno {

std::string_view UpToNul(std::string_view text) {
  const auto nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

bool EndsLinesWithCr(std::string_view text) {
  return text.find('\n') == std::string_view::npos && text.find('\r') != std::string_view::npos;
}

std::size_t LineEndAfter(std::string_view text, std::size_t from, std::size_t limit, bool crEndsLines) {
  const std::string_view window = text.substr(0, limit);
  const std::size_t end = crEndsLines ? window.find_first_of("\r\n", from) : window.find('\n', from);
  if (end == std::string_view::npos) return limit;
  // A CR LF ends its line after the LF.
  if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') return std::min(end + 2, limit);
  return end + 1;
}

std::string_view ReadTextLine(std::string_view text, int& pos, bool crEndsLines) {
  const auto size = static_cast<int>(text.size());
  if (pos < 0 || pos >= size) return {};
  const int limit = std::min(size - pos, LineBufferSize - 1);
  const std::string_view window = text.substr(static_cast<std::size_t>(pos), static_cast<std::size_t>(limit));
  const int length = static_cast<int>(LineEndAfter(text, static_cast<std::size_t>(pos),
                                                   static_cast<std::size_t>(pos + limit), crEndsLines)) -
                     pos;
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
