// Every file the tests hold (and the fuzz seeds), read as Open reads it,
// composed as Save As composes it and read back in memory, shows what was
// read: the check that guards every save finds no difference, except where
// the file format cannot hold what was read (then the save is refused); and
// every number of a tire file's slip curves is found again.
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/document/EditorDocument.h"
#include "core/files/ComposeFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/ReadBack.h"
#include "core/files/TireFile.h"
#include "support/HostileEngineFiles.h"
#include "support/TempDir.h"
#include "support/TireNumbers.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;

// Files whose save asks first, with the change it lists: header keys
// scattered where the writer does not put them (a name on a "Data:" line)
// may read otherwise once each stands on its own line.
const std::map<std::string, std::string> TireRefusals = {
    {"tire-name-on-a-data-line",
     "the name of slip curve 2 (No data hLifetimeOilere) would read back as \"NNNNNNNNNNNNNNNNNNNNNNNNURVE]\""},
};

TEST(ReadBack, EveryTestFileComposedReadsBackAsItWasRead) {
  int files = 0;
  for (const fs::path& root : {fs::path(DYNOFORGE_TEST_DATA), fs::path(DYNOFORGE_TEST_DATA) / "../fuzz/corpus"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file() || entry.path().extension() == ".png") continue;
      const std::string bytes = test::TempDir::Read(entry.path());
      ++files;
      for (const bool upgrade : {false, true}) {
        const auto doc = std::make_unique<EditorDocument>();
        doc->EngineLoaded = true;
        doc->Mode = upgrade ? FileMode::Upgrade : FileMode::Engine;
        ReadEngineBytes(*doc, bytes);
        ReadEngineParameters(*doc);
        EXPECT_EQ(EngineReadBackDifference(*doc, ComposeEngineFile(*doc)), std::nullopt)
            << entry.path() << (upgrade ? " as an upgrade file" : " as an engine file");
      }
      const auto doc = std::make_unique<EditorDocument>();
      doc->Mode = FileMode::Tire;
      const ReadOutcome read = ReadTireBytes(*doc, bytes);
      ComposeTireFile(*doc);
      // Every number of the slip curves is found again, or kept and reported.
      EXPECT_EQ(test::LostNumbers(bytes, *doc, read, doc->TireOtherText), "") << entry.path();
      const auto refused = TireRefusals.find(entry.path().filename().string());
      EXPECT_EQ(TireReadBackDifference(*doc, doc->TireOtherText),
                refused == TireRefusals.end() ? std::nullopt : std::optional(refused->second))
          << entry.path() << " as a tire file";
    }
  }
  EXPECT_GT(files, 100);
}

// A corpus of hostile but plausible engine files: composed as Save As
// composes them, each either reads back as it was read, or differs only in
// values the user is shown and may accept; a save is refused only where
// rows would be lost. The counts are printed for the record.
TEST(ReadBack, HostileEngineFilesAreSavedOrAskedAboutAndAlmostNeverRefused) {
  constexpr unsigned Files = 1800;
  int same = 0;
  int asked = 0;
  int refused = 0;
  for (unsigned n = 0; n < Files; ++n) {
    const auto doc = std::make_unique<EditorDocument>();
    doc->EngineLoaded = true;
    ReadEngineBytes(*doc, test::HostileEngineFile(n));
    ReadEngineParameters(*doc);
    const ReadBackReport report = EngineReadBack(*doc, ComposeEngineFile(*doc));
    if (report.Loss) {
      ++refused;
      ADD_FAILURE() << "file " << n << ": " << *report.Loss;
    } else if (!report.Changes.empty()) {
      ++asked;
      // Rows always read back; what may change is a parameter read, in the
      // file as opened, from another line's comment or a line the save drops.
      for (const std::string& change : report.Changes) EXPECT_FALSE(change.starts_with("row ")) << n << ": " << change;
    } else {
      ++same;
    }
  }
  std::printf("hostile engine files: %d read back the same, %d asked about, %d refused\n", same, asked, refused);
  EXPECT_EQ(refused, 0);
  EXPECT_EQ(same + asked + refused, static_cast<int>(Files));
}

}  // namespace
}  // namespace dyno
