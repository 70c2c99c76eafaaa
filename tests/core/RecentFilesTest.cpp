// The list behind File > Recent Files: its order and its bounds. (Its menu
// texts are among the numbers-and-texts cases, when its entries are
// available among the commands' tests.)
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/files/RecentFiles.h"

namespace dyno {
namespace {

using List = std::vector<std::string>;

RecentFileList Remembered(std::initializer_list<const char*> paths) {
  RecentFileList list;
  for (const char* path : paths) RememberRecentFile(list, path);
  return list;
}

// Remembered, forgotten, or read back from the settings file.
TEST(RecentFiles, TheNewestComesFirstOnceAndOnlyTheEightNewestAreKept) {
  EXPECT_EQ(Remembered({"/a.ini", "/b.tbc", "/c.ini"}), (List{"/c.ini", "/b.tbc", "/a.ini"}));
  EXPECT_EQ(Remembered({"/a.ini", "/b.tbc", "/c.ini", "/a.ini"}), (List{"/a.ini", "/c.ini", "/b.tbc"}));
  EXPECT_EQ(Remembered({"/a.ini", "/a.ini"}), (List{"/a.ini"}));
  // Linux file names tell letter case apart.
  EXPECT_EQ(Remembered({"/a.ini", "/A.ini"}), (List{"/A.ini", "/a.ini"}));
  EXPECT_EQ(Remembered({"/a.ini", ""}), (List{"/a.ini"}));

  RecentFileList list;
  for (int i = 1; i <= 10; ++i) RememberRecentFile(list, "/f" + std::to_string(i));
  EXPECT_EQ(list, (List{"/f10", "/f9", "/f8", "/f7", "/f6", "/f5", "/f4", "/f3"}));
  // A full list taking one of its own moves it up and loses nothing.
  RememberRecentFile(list, "/f3");
  EXPECT_EQ(list, (List{"/f3", "/f10", "/f9", "/f8", "/f7", "/f6", "/f5", "/f4"}));

  EXPECT_TRUE(ForgetRecentFile(list, "/f9"));
  EXPECT_FALSE(ForgetRecentFile(list, "/f9"));
  EXPECT_EQ(list, (List{"/f3", "/f10", "/f8", "/f7", "/f6", "/f5", "/f4"}));

  EXPECT_EQ(TidyRecentFiles({"/new.ini", "", "/old.ini", "/new.ini"}), (List{"/new.ini", "/old.ini"}));
  EXPECT_EQ(TidyRecentFiles({"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8", "/9"}),
            (List{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"}));
  EXPECT_TRUE(TidyRecentFiles({"", ""}).empty());
}

}  // namespace
}  // namespace dyno
