#pragma once

#include <string_view>

namespace dyno {

// The program's string table: command hints by command id and the hints of
// the popup menus. Empty when the id has no string (the recent file entries
// show their path instead).
std::string_view LoadString(int id);

}  // namespace dyno
