// Window flows: scripts under tests/data/flows drive the real frame (see
// support/Flow.h for what a script may say), and the transcript of what the
// user saw is compared with <script>.transcript.
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

std::vector<std::string> Scripts() {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(test::DataPath("flows"))) {
    if (entry.path().extension() == ".txt") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class Flows : public ::testing::TestWithParam<std::string> {};

TEST_P(Flows, ShowWhatTheApprovedTranscriptSays) {
  std::ifstream script(test::DataPath("flows/" + GetParam() + ".txt"));
  ASSERT_TRUE(script) << GetParam();
  test::Flow flow;
  test::ExpectApproved(flow.Run(script), "flows/" + GetParam() + ".transcript");
}

INSTANTIATE_TEST_SUITE_P(Window, Flows, ::testing::ValuesIn(Scripts()), [](const auto& script) {
  std::string name = script.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

}  // namespace
}  // namespace dyno
