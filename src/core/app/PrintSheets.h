#pragma once

#include <vector>

namespace dyno {

// The pages of a print job in the order they come out of the printer: pages
// first to last (a first below 1 counts as 1) that the document has, up to
// its lastPage, in reverse when asked, and each as often as the copies ask
// (all pages once per copy when collated, each page its copies in a row
// otherwise). Empty when no page is in the range.
std::vector<int> PrintSheets(int first, int last, int lastPage, bool reverse, int copies, bool collate);

}  // namespace dyno
