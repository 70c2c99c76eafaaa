// The list behind File > Recent Files: its order, its bounds, its menu texts
// and when its commands are available.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "core/document/CommandRules.h"
#include "core/document/EditorDocument.h"
#include "core/files/RecentFiles.h"
#include "core/resources/ResourceIds.h"

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

struct ShortenCase {
  const char* path;
  std::size_t max;
  const char* shown;
};

void PrintTo(const ShortenCase& c, std::ostream* out) { *out << c.path << " in " << c.max; }

class ShortenedPathTest : public ::testing::TestWithParam<ShortenCase> {};

TEST_P(ShortenedPathTest, LeavesOutFoldersAfterTheFirstUntilThePathFits) {
  EXPECT_EQ(ShortenedPath(GetParam().path, GetParam().max), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ShortenedPathTest,
    ::testing::Values(ShortenCase{"/home/modder/cars/engine.ini", 28, "/home/modder/cars/engine.ini"},  // fits
                      ShortenCase{"/home/modder/cars/engine.ini", 27, "/home/.../cars/engine.ini"},
                      ShortenCase{"/home/modder/mods/cars/engine.ini", 25, "/home/.../cars/engine.ini"},
                      ShortenCase{"/home/modder/mods/cars/engine.ini", 24, "/home/.../engine.ini"},
                      ShortenCase{"/home/modder/mods/cars/engine.ini", 5, "/home/.../engine.ini"},  // name stays
                      ShortenCase{"/home/engine.ini", 5, "/home/engine.ini"},  // nothing to leave out
                      ShortenCase{"/engine.ini", 5, "/engine.ini"},
                      ShortenCase{"mods/cars/v8/engine.ini", 20, "mods/.../engine.ini"},
                      // Counted in characters: each "ö" is two bytes.
                      ShortenCase{"/home/öööö/öö/e.ini", 19, "/home/öööö/öö/e.ini"},
                      ShortenCase{"/home/öööö/öö/e.ini", 18, "/home/.../öö/e.ini"}));

TEST(RecentFiles, MenuTextsAreNumberedAndShowAmpersandsAsThemselves) {
  EXPECT_EQ(RecentFileMenuText(0, "/home/me/engine.ini"), "&1 /home/me/engine.ini");
  EXPECT_EQ(RecentFileMenuText(7, "/home/R&D/tab\there.tbc"), "&8 /home/R&&D/tab here.tbc");
  const std::string longPath = "/home/" + std::string(80, 'x') + "/GameData/Vehicles/engine.ini";
  EXPECT_EQ(RecentFileMenuText(1, longPath), "&2 /home/.../GameData/Vehicles/engine.ini");
}

// Each entry needs a file of its own. (The window flows check that the
// submenu and Clear List need one.)
TEST(RecentFiles, EachEntryNeedsAFileOfItsOwn) {
  EditorDocument doc;
  for (std::size_t count = 0; count <= 8; ++count) {
    doc.RecentFiles.assign(count, "/a.ini");
    for (int i = 0; i < 8; ++i) {
      EXPECT_EQ(QueryCommand(CmRecentFile1 + i, doc).Enabled, i < static_cast<int>(count)) << count << " " << i;
    }
  }
}

}  // namespace
}  // namespace dyno
