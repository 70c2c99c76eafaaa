// Window flows: scripts under tests/data/flows drive the real frame (see
// support/Flow.h for what a script may say), and the transcript of what the
// user saw is compared with <script>.transcript. Two flows take pictures
// instead: tests/data/pictures/pictures.txt (every view, printed pages, the
// preview, every dialog) and the user guide's docs/guide-pictures.txt
// (scripts/guide-pictures.sh takes them anew); each picture must be the
// approved PNG beside its script.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/Approval.h"
#include "support/Flow.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;

class Flows : public ::testing::TestWithParam<std::string> {};

TEST_P(Flows, ShowWhatTheApprovedTranscriptSays) {
  std::ifstream script(test::DataPath("flows/" + GetParam() + ".txt"));
  ASSERT_TRUE(script) << GetParam();
  test::Flow flow;
  test::ExpectApproved(flow.Run(script), "flows/" + GetParam() + ".transcript");
}

INSTANTIATE_TEST_SUITE_P(Window, Flows, ::testing::ValuesIn(test::ScriptsIn("flows")), test::ScriptTestName);

void RunPictures(const fs::path& script, const fs::path& pictures) {
  std::ifstream in(script);
  ASSERT_TRUE(in) << script;
  test::Flow flow(pictures);
  flow.Run(in);
}

TEST(Pictures, EveryViewIsTheApprovedPicture) {
  RunPictures(test::DataPath("pictures/pictures.txt"), test::DataPath("pictures"));
}

TEST(Guide, ThePicturesAreWhatTheProgramShowsToday) {
  RunPictures(fs::path(DYNOFORGE_DOCS) / "guide-pictures.txt", fs::path(DYNOFORGE_DOCS) / "images");
}

}  // namespace
}  // namespace dyno
