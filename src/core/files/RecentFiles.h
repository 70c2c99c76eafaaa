#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace dyno {

// The files last opened or saved, newest first (EditorDocument::RecentFiles).
using RecentFileList = std::vector<std::string>;

// Puts path at the top of the list, taking it out of any lower place, and
// keeps the newest MaxRecentFiles. An empty path changes nothing.
void RememberRecentFile(RecentFileList& list, std::string_view path);

// Takes path out of the list; false when it was not in it.
bool ForgetRecentFile(RecentFileList& list, std::string_view path);

// A list read back from the settings file, oldest last: empty entries and
// repeats (the newer place wins) dropped, at most MaxRecentFiles kept.
RecentFileList TidyRecentFiles(const RecentFileList& stored);

// path with as many folders after its first one left out as it takes to fit
// maxCharacters (UTF-8 characters), the gap shown as "...": the first folder
// and the file name always stay, so the result may still be longer.
std::string ShortenedPath(std::string_view path, std::size_t maxCharacters);

// The menu text of entry index (0 for the newest): "&1 " and the path,
// shortened to fit a menu, its "&" doubled so that it shows as it is.
std::string RecentFileMenuText(int index, std::string_view path);

}  // namespace dyno
