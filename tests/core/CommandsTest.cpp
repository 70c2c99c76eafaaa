// The commands: each one's record, and when it is available and checked
// (command-rules transcript) for documents in each state, the recent file
// entries and Add Line included.
#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/document/EditorSession.h"
#include "core/document/UndoHistory.h"
#include "core/resources/CommandTable.h"
#include "core/resources/Commands.h"
#include "core/resources/ResourceIds.h"
#include "support/Approval.h"
#include "support/SampleCurves.h"

namespace dyno {
namespace {

// Every command in a menu or on the toolbar has one record, found by its id
// and by its name; no two records share either. Every menu a record names
// is shown: a popup of the menu bar or a submenu.
TEST(Commands, EveryCommandHasOneRecord) {
  std::vector<int> used(MainToolbar().begin(), MainToolbar().end());
  std::vector<MenuId> shown;
  for (const PopupMenuDef& popup : MainMenu()) shown.push_back(popup.Menu);
  for (const CommandRecord& record : Commands()) {
    if (record.Menu != MenuId::None) used.push_back(record.Id);
    if (record.Submenu != MenuId::None) shown.push_back(record.Submenu);
  }
  for (const CommandRecord& record : Commands()) {
    EXPECT_TRUE(record.Menu == MenuId::None || std::ranges::count(shown, record.Menu) == 1) << record.Name;
  }
  for (const int id : used) {
    if (id == 0) continue;
    const CommandRecord* record = FindCommand(id);
    ASSERT_NE(record, nullptr) << id;
    EXPECT_TRUE(record->Name.starts_with("action")) << id;
    // The recent file entries alone take their text from the list.
    EXPECT_EQ(record->Text.empty(), id >= CmRecentFile1 && id <= CmRecentFile8) << record->Name;
  }
  for (const CommandRecord& record : Commands()) {
    EXPECT_EQ(FindCommand(record.Id), &record) << record.Name;
    EXPECT_EQ(FindCommand(record.Name), &record) << record.Name;
  }
  EXPECT_EQ(FindCommand(0), nullptr);
  EXPECT_EQ(FindCommand("actionNone"), nullptr);
}

// When each command is available and checked, for documents in each state,
// and the recent file entries and Add Line, which need what they use.
TEST(Commands, CommandRules) {
  std::ostringstream out;
  const int commands[] = {CmOpen, CmImport, CmSaveAs, CmGenerate, CmEditParameters, CmAddLine, CmRemoveLine,
                          CmRescale, CmResolution, CmBend, CmModeEngine, CmModeUpgrade, CmModeTire, CmLockOnToData};
  for (int state = 0; state < 64; ++state) {
    EditorDocument doc;
    doc.EngineLoaded = state & 1;
    doc.TireLoaded = state & 2;
    doc.UpgradeLoaded = state & 4;
    const int mode = (state >> 3) % 3;
    doc.Mode = static_cast<FileMode>(mode);  // Engine, Upgrade, Tire
    EditorSession session;
    session.BendActive = state & 32;
    session.LockOnToData = !(state & 16);
    doc.RowCount = (state & 16) ? 495 : (state & 8) ? 10 : 1;
    out << "state " << state << " rows " << doc.RowCount << ":";
    for (const int id : commands) {
      const CommandStatus s = CommandState(id, doc, session, UndoHistory());
      out << " " << FindCommand(id)->Name.substr(6) << (s.Enabled ? "" : "-") << (s.Checkable ? (s.Checked ? "*" : "o") : "");
    }
    out << "\n";
  }
  // Each recent file entry needs a file of its own (the window flows check
  // that the submenu and Clear List need one); Add Line needs four rows to
  // continue from.
  EditorDocument doc;
  doc.EngineLoaded = true;
  EditorSession session;
  for (int count = 0; count <= 8; ++count) {
    session.RecentFiles.assign(count, "/a.ini");
    test::FillSampleEngineCurve(doc, count);
    out << count << " recent files and rows:";
    for (int id = CmRecentFile1; id <= CmRecentFile8 + 1; ++id) {
      const int command = id > CmRecentFile8 ? CmAddLine : id;  // Add Line last
      const bool enabled = CommandState(command, doc, session, UndoHistory()).Enabled;
      out << " " << FindCommand(command)->Name.substr(6) << (enabled ? "" : "-");
    }
    out << "\n";
  }
  test::ExpectApproved(out.str(), "tables/command-rules.transcript");
}

}  // namespace
}  // namespace dyno
