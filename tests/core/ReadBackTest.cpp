// Every file the tests hold (and the fuzz seeds), read as Open reads it,
// composed as Save As composes it and read back in memory, shows what was
// read: the check that guards every save finds no difference, except where
// the file format cannot hold what was read (then the save is refused); and
// every number of a tire file's slip curves is found again.
#include <filesystem>
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
#include "support/TempDir.h"
#include "support/TireNumbers.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;

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
      // Header keys scattered where the writer does not put them (a name on a
      // "Data:" line) may read otherwise once each stands on its own line:
      // then the save asks first, listing the change.
      const bool refused = entry.path().filename() == "tire-name-on-a-data-line";
      EXPECT_EQ(TireReadBackDifference(*doc, doc->TireOtherText),
                refused ? std::optional<std::string>("the name of slip curve 2 (No data hLifetimeOilere) would read back as "
                                                     "\"NNNNNNNNNNNNNNNNNNNNNNNNURVE]\"")
                        : std::nullopt)
          << entry.path() << " as a tire file";
    }
  }
  EXPECT_GT(files, 100);
}

}  // namespace
}  // namespace dyno
