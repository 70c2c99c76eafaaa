// The list behind File > Recent Files: its order and its bounds
// (recent-files cases). (Its menu texts are among the numbers-and-texts
// cases, when its entries are available among the commands' tests.)
#include <gtest/gtest.h>

#include <string>

#include "core/files/RecentFiles.h"
#include "support/CaseTables.h"

namespace dyno {
namespace {

// "remember" takes each path in turn ("-PATH" forgets one, "" is an empty
// path); "tidy" tidies the paths as the settings file gave them.
TEST(RecentFiles, TheNewestComesFirstOnceAndOnlyTheEightNewestAreKept) {
  test::RunCases(
      "recent-files",
      [](const std::string& rule, std::istream& in, std::ostream& out) {
        RecentFileList list;
        for (std::string path; in >> path;) {
          if (path == "\"\"") path.clear();
          if (rule == "tidy") {
            list.push_back(path);
          } else if (path.starts_with('-')) {
            out << (ForgetRecentFile(list, path.substr(1)) ? "forgot " : "did not have ") << path.substr(1) << "; ";
          } else {
            RememberRecentFile(list, path);
          }
        }
        if (rule == "tidy") list = TidyRecentFiles(list);
        out << "list:";
        for (const std::string& path : list) out << " " << path;
        out << "\n";
      },
      true);
}

}  // namespace
}  // namespace dyno
