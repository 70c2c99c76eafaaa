// The user guide's pictures (docs/images) are taken by docs/guide-pictures.txt,
// a window flow: each must be what the program shows today.
// scripts/guide-pictures.sh takes them anew.
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "support/Flow.h"

namespace dyno {
namespace {

TEST(Guide, ThePicturesAreWhatTheProgramShowsToday) {
  const std::filesystem::path docs(DYNOFORGE_DOCS);
  std::ifstream script(docs / "guide-pictures.txt");
  ASSERT_TRUE(script);
  test::Flow flow(docs / "images");
  flow.Run(script);
}

}  // namespace
}  // namespace dyno
