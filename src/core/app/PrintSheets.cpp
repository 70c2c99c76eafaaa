#include "core/app/PrintSheets.h"

#include <algorithm>

namespace dyno {

std::vector<int> PrintSheets(int first, int last, int lastPage, bool reverse, int copies, bool collate) {
  std::vector<int> pages;
  for (int page = std::max(first, 1); page <= std::min(last, lastPage); ++page) pages.push_back(page);
  if (reverse) std::reverse(pages.begin(), pages.end());
  copies = std::max(copies, 1);
  std::vector<int> sheets;
  if (collate) {
    for (int c = 0; c < copies; ++c) sheets.insert(sheets.end(), pages.begin(), pages.end());
  } else {
    for (const int page : pages) sheets.insert(sheets.end(), static_cast<std::size_t>(copies), page);
  }
  return sheets;
}

}  // namespace dyno
