#include "core/editing/ModeCommands.h"

#include "core/chart/RowScrolling.h"
#include "core/document/CommandRules.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/ValueBox.h"

namespace dyno {

FileMode CurrentFileMode(const EditorDocument& doc) {
  return doc.TireMode ? FileMode::Tire : doc.UpgradeMode ? FileMode::Upgrade : FileMode::Engine;
}

std::optional<FileMode> ModeToSaveChanges(const EditorDocument& doc, const UndoHistory& history) {
  if (!doc.Modified) return std::nullopt;
  bool engine = history.Unsaved(FileData::Engine);
  bool tire = history.Unsaved(FileData::Tire);
  // Marked Modified with no step that says what changed: it may be either.
  if (!engine && !tire) engine = tire = true;
  const auto canSave = [&](FileMode mode) { return CanSaveAs(doc, mode == FileMode::Tire, mode == FileMode::Upgrade); };

  const FileMode current = CurrentFileMode(doc);
  if (canSave(current) && (current == FileMode::Tire ? tire : engine)) return current;
  if (tire && canSave(FileMode::Tire)) return FileMode::Tire;
  if (!engine) return std::nullopt;
  // Rows changed in Upgrade mode are written with their "HDV=" prefix again.
  const std::optional<ViewMark> last = history.LastChangeView(FileData::Engine);
  if (last && last->UpgradeMode && canSave(FileMode::Upgrade)) return FileMode::Upgrade;
  if (canSave(FileMode::Engine)) return FileMode::Engine;
  return std::nullopt;
}

void SetFileMode(EditorState& st, FileMode mode) {
  EditorDocument& doc = st.Doc;
  doc.EngineMode = mode == FileMode::Engine;
  doc.UpgradeMode = mode == FileMode::Upgrade;
  doc.TireMode = mode == FileMode::Tire;
  // Nothing is picked or selected any more, and the value box, which would
  // step a value nothing refers to, is emptied.
  ResetInteraction(st.Ui, st.Host);
  st.View.FirstVisibleRow = 0;
  if (mode == FileMode::Tire) {
    doc.RowCount = doc.SlipCurves[0].SampleCount;
    doc.CurrentSlipCurve = 0;
  } else {
    doc.RowCount = doc.Engine.EngineRowCount;
  }
  UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
  RepaintNewRows(st.Host, st.View);
}

}  // namespace dyno
