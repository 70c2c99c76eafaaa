// What the editor shows, checked as pictures: tests/data/pictures/pictures.txt
// is a window flow whose pictures (engine, upgrade and tire views, picked
// values, held buttons, printed pages, the preview, every dialog) must be
// the approved PNGs beside it.
#include <fstream>

#include <gtest/gtest.h>

#include "support/Approval.h"
#include "support/Flow.h"

namespace dyno {
namespace {

TEST(Pictures, EveryViewIsTheApprovedPicture) {
  std::ifstream script(test::DataPath("pictures/pictures.txt"));
  ASSERT_TRUE(script);
  test::Flow flow(test::DataPath("pictures"));
  flow.Run(script);
}

}  // namespace
}  // namespace dyno
