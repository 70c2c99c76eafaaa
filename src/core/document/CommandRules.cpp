#include "core/document/CommandRules.h"

#include "core/document/EditorDocument.h"
#include "core/document/UndoHistory.h"
#include "core/resources/ResourceIds.h"

namespace dyno {

namespace {

CommandStatus Enabled(bool enabled) { return {enabled, false, false, {}}; }
CommandStatus Check(bool checked, bool enabled = true) { return {enabled, true, checked, {}}; }

static_assert(CmRecentFile8 - CmRecentFile1 + 1 == MaxRecentFiles, "one command per recent file");

}  // namespace

CommandStatus QueryCommand(int id, const EditorDocument& doc, const UndoHistory& history) {
  if (id == CmUndo || id == CmRedo) {
    const std::optional<StepKind> step = id == CmUndo ? history.NextUndo() : history.NextRedo();
    CommandStatus status = Enabled(step.has_value());
    status.Text = UndoMenuText(id, step);
    return status;
  }
  const bool anyLoaded = doc.EngineLoaded || doc.TireLoaded;
  const bool engineCurve = doc.EngineLoaded && !doc.TireMode;
  // The current mode's curve came from a file (or Generate): there is a table
  // to copy, export or replace.
  const bool modeTable = doc.TireMode ? doc.TireLoaded : doc.EngineLoaded;
  switch (id) {
    case CmImport:
      return Enabled(engineCurve);
    case CmCopyTable:
    case CmExportCsv:
    case CmPasteTable:  // the window also asks for text on the clipboard
    case CmImportCsv:
      return Enabled(modeTable);
    case CmSaveAs:
    case CmSaveButton:
      return Enabled(CanSaveAs(doc, doc.TireMode, doc.UpgradeMode));
    case CmSave:
      // Only data that has a file of its own can be saved without asking for one.
      return Enabled(CanSaveAs(doc, doc.TireMode, doc.UpgradeMode) &&
                     (doc.TireMode ? doc.TireFile : doc.EngineFile).Exists());
    case CmEditParameters:
      return Enabled((doc.EngineLoaded && !doc.UpgradeMode) || (doc.TireMode && doc.TireLoaded));
    case CmAddLine:
      // Add does nothing to an engine curve of fewer rows.
      return Enabled(anyLoaded && doc.RowCount < AddRowLimit && (doc.TireMode || doc.RowCount >= AddEngineRowFrom));
    case CmRemoveLine:
      return Enabled(anyLoaded && doc.RowCount > MinimumRows);
    case CmRescale:
      return Enabled(engineCurve);
    case CmResolution:
      // Interpolation needs two rows to take its step from.
      return Enabled(engineCurve && doc.RowCount >= 2);
    case CmBend:
      return Check(doc.TireMode && doc.BendActive, doc.TireLoaded && doc.TireMode);
    case CmModeEngine:
      return Check(doc.EngineMode);
    case CmModeUpgrade:
      return Check(doc.UpgradeMode);
    case CmModeTire:
      return Check(doc.TireMode);
    case CmLockOnToData:
      return Check(doc.LockOnToData);
    case CmShowPeaks:
      return Check(doc.Dyno.ShowPeaks);
    case CmTorqueNm:
    case CmTorqueLbFt:
      return Check(doc.Dyno.Units.Torque == (id == CmTorqueLbFt ? TorqueUnit::LbFt : TorqueUnit::Nm));
    case CmPowerHp:
      return Check(doc.Dyno.Units.Power == PowerUnit::Hp);
    case CmPowerKw:
      return Check(doc.Dyno.Units.Power == PowerUnit::Kw);
    case CmPowerPs:
      return Check(doc.Dyno.Units.Power == PowerUnit::Ps);
    case CmCompareSaved:
      return Enabled(doc.Dyno.Saved != nullptr);
    case CmClearComparison:
      return Enabled(doc.Dyno.Comparison != nullptr);
    case CmRecentFiles:
    case CmClearRecentFiles:
      return Enabled(!doc.RecentFiles.empty());
    default:
      if (id >= CmRecentFile1 && id <= CmRecentFile8) {
        return Enabled(static_cast<std::size_t>(id - CmRecentFile1) < doc.RecentFiles.size());
      }
      // Open, Generate, Compare With File, Exit, About, and the
      // application's commands
      return Enabled(true);
  }
}

bool CanSaveAs(const EditorDocument& doc, bool tireMode, bool upgradeMode) {
  return tireMode ? doc.TireLoaded : upgradeMode ? doc.UpgradeLoaded : doc.EngineLoaded;
}

CommandStatus QueryCommand(int id, const EditorDocument& doc) {
  static const UndoHistory none;
  return QueryCommand(id, doc, none);
}

}  // namespace dyno
