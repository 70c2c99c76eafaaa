#include "core/editing/ModeCommands.h"

#include "core/chart/RowScrolling.h"
#include "core/document/CommandRules.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/InteractionState.h"

namespace dyno {

FileData ShownData(const EditorDocument& doc) {
  return doc.Mode == FileMode::Tire ? FileData::Tire : FileData::Engine;
}

DataFile& FileOf(EditorDocument& doc, FileData data) { return data == FileData::Tire ? doc.TireFile : doc.EngineFile; }

const DataFile& FileOf(const EditorDocument& doc, FileData data) {
  return data == FileData::Tire ? doc.TireFile : doc.EngineFile;
}

namespace {

bool CanSaveIn(const EditorDocument& doc, FileMode mode) {
  return CanSaveAs(doc, mode == FileMode::Tire, mode == FileMode::Upgrade);
}

}  // namespace

bool HasUnsavedChanges(const EditorDocument& doc, const UndoHistory& history, FileData data) {
  return history.Unsaved(doc, data) && ModeToSave(doc, history, data).has_value();
}

std::optional<FileMode> ModeToSave(const EditorDocument& doc, const UndoHistory& history, FileData data) {
  const FileMode current = doc.Mode;
  if (ShownData(doc) == data && CanSaveIn(doc, current)) return current;
  if (data == FileData::Tire) return CanSaveIn(doc, FileMode::Tire) ? std::optional(FileMode::Tire) : std::nullopt;
  // Rows changed in Upgrade mode are written with their "HDV=" prefix again.
  const std::optional<ViewMark> last = history.LastChangeView(FileData::Engine);
  if (last && last->Mode == FileMode::Upgrade && CanSaveIn(doc, FileMode::Upgrade)) return FileMode::Upgrade;
  if (CanSaveIn(doc, FileMode::Engine)) return FileMode::Engine;
  return std::nullopt;
}

void SetFileMode(EditorState& st, FileMode mode) {
  EditorDocument& doc = st.Doc;
  doc.Mode = mode;
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
