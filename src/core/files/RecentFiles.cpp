#include "core/files/RecentFiles.h"

#include <algorithm>

#include "core/document/Limits.h"

namespace dyno {

namespace {

// Paths longer than this are shortened in the menu; the status bar shows
// them whole.
constexpr std::size_t MenuPathCharacters = 60;

std::size_t CharacterCount(std::string_view text) {
  // UTF-8 continuation bytes are 10xxxxxx.
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

}  // namespace

void RememberRecentFile(RecentFileList& list, std::string_view path) {
  if (path.empty()) return;
  ForgetRecentFile(list, path);
  list.insert(list.begin(), std::string(path));
  if (list.size() > static_cast<std::size_t>(MaxRecentFiles)) list.resize(MaxRecentFiles);
}

bool ForgetRecentFile(RecentFileList& list, std::string_view path) {
  const auto it = std::find(list.begin(), list.end(), path);
  if (it == list.end()) return false;
  list.erase(it);
  return true;
}

RecentFileList TidyRecentFiles(const RecentFileList& stored) {
  RecentFileList list;
  // Remembered oldest first, so that the newest place of a repeat wins.
  for (auto it = stored.rbegin(); it != stored.rend(); ++it) RememberRecentFile(list, *it);
  return list;
}

std::string ShortenedPath(std::string_view path, std::size_t maxCharacters) {
  if (CharacterCount(path) <= maxCharacters) return std::string(path);
  const std::size_t nameSlash = path.rfind('/');
  const std::size_t firstFolder = path.find_first_not_of('/');
  const std::size_t headEnd = firstFolder == std::string_view::npos ? firstFolder : path.find('/', firstFolder);
  // Nothing between the first folder and the file name to leave out.
  if (nameSlash == std::string_view::npos || headEnd == std::string_view::npos || headEnd >= nameSlash) {
    return std::string(path);
  }
  const std::string head = std::string(path.substr(0, headEnd + 1)) + "...";
  std::size_t tail = headEnd;  // the slash the kept end starts with
  std::string shortened;
  do {
    tail = path.find('/', tail + 1);
    shortened = head + std::string(path.substr(tail));
  } while (tail < nameSlash && CharacterCount(shortened) > maxCharacters);
  return shortened;
}

std::string RecentFileMenuText(int index, std::string_view path) {
  std::string text = "&" + std::to_string(index + 1) + " ";
  for (const char c : ShortenedPath(path, MenuPathCharacters)) {
    if (c == '&') text += '&';
    // A tab would start the shortcut column of the menu item.
    text += c == '\t' ? ' ' : c;
  }
  return text;
}

}  // namespace dyno
