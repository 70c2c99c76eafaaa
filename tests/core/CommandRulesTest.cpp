#include <gtest/gtest.h>

#include "core/document/CommandRules.h"
#include "core/document/EditorDocument.h"
#include "core/resources/ResourceIds.h"

namespace dyno {
namespace {

bool Enabled(const EditorDocument& doc, int id) { return QueryCommand(id, doc).Enabled; }

TEST(CommandRules, AtStartUpOnlyOpenGenerateModesLockAndAboutAreAvailable) {
  EditorDocument doc;
  doc.RowCount = 41;  // the start-up curve is generated but cannot be saved
  for (const int id : {CmOpen, CmGenerate, CmModeEngine, CmModeUpgrade, CmModeTire, CmLockOnToData, CmAbout, CmExit}) {
    EXPECT_TRUE(Enabled(doc, id)) << id;
  }
  for (const int id : {CmSaveAs, CmImport, CmEditParameters, CmAddLine, CmRemoveLine, CmRescale, CmResolution, CmBend}) {
    EXPECT_FALSE(Enabled(doc, id)) << id;
  }
  EXPECT_TRUE(QueryCommand(CmModeEngine, doc).Checked);
  EXPECT_FALSE(QueryCommand(CmModeUpgrade, doc).Checked);
  EXPECT_FALSE(QueryCommand(CmModeTire, doc).Checked);
  EXPECT_TRUE(QueryCommand(CmLockOnToData, doc).Checked);
  EXPECT_FALSE(QueryCommand(CmOpen, doc).Checkable);
}

TEST(CommandRules, InTireModeTheEngineCurveOperationsStayOff) {
  EditorDocument doc;
  doc.EngineLoaded = true;  // an engine file was opened before the tire file
  doc.TireLoaded = true;
  doc.EngineMode = false;
  doc.TireMode = true;
  doc.RowCount = 237;
  for (const int id : {CmRescale, CmResolution, CmImport}) EXPECT_FALSE(Enabled(doc, id)) << id;
  for (const int id : {CmSaveAs, CmEditParameters, CmBend, CmAddLine, CmRemoveLine}) EXPECT_TRUE(Enabled(doc, id)) << id;
  EXPECT_FALSE(QueryCommand(CmBend, doc).Checked);
  doc.BendActive = true;
  EXPECT_TRUE(QueryCommand(CmBend, doc).Checked);
  doc.TireMode = false;  // bend stays on, but only Tire mode shows the check
  doc.EngineMode = true;
  EXPECT_FALSE(QueryCommand(CmBend, doc).Checked);
  EXPECT_FALSE(Enabled(doc, CmBend));
}

TEST(CommandRules, UpgradeModeSavesOnlyFilesOpenedAsUpgrades) {
  EditorDocument doc;
  doc.EngineLoaded = true;
  doc.EngineMode = false;
  doc.UpgradeMode = true;
  EXPECT_FALSE(Enabled(doc, CmSaveAs));
  EXPECT_FALSE(Enabled(doc, CmEditParameters));  // upgrades have no parameters
  doc.UpgradeLoaded = true;
  EXPECT_TRUE(Enabled(doc, CmSaveAs));
  // Back in Engine mode an engine curve can be saved whatever it came from.
  doc.UpgradeMode = false;
  doc.EngineMode = true;
  EXPECT_TRUE(Enabled(doc, CmSaveAs));
  EXPECT_TRUE(Enabled(doc, CmEditParameters));
}

TEST(CommandRules, AddAndRemoveKeepTheCurveBetween10And495Rows) {
  EditorDocument doc;
  doc.EngineLoaded = true;
  doc.RowCount = 494;
  EXPECT_TRUE(Enabled(doc, CmAddLine));
  doc.RowCount = 495;
  EXPECT_FALSE(Enabled(doc, CmAddLine));
  EXPECT_TRUE(Enabled(doc, CmRemoveLine));
  doc.RowCount = 11;
  EXPECT_TRUE(Enabled(doc, CmRemoveLine));
  doc.RowCount = 10;
  EXPECT_FALSE(Enabled(doc, CmRemoveLine));
}

TEST(CommandRules, ChangingTheResolutionNeedsTwoRows) {
  EditorDocument doc;
  doc.EngineLoaded = true;
  doc.RowCount = 1;
  EXPECT_FALSE(Enabled(doc, CmResolution));
  EXPECT_TRUE(Enabled(doc, CmRescale));
  doc.RowCount = 2;
  EXPECT_TRUE(Enabled(doc, CmResolution));
}

}  // namespace
}  // namespace dyno
