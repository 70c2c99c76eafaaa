#include "core/editing/UndoCommands.h"

#include <algorithm>
#include <optional>

#include "core/chart/RowScrolling.h"
#include "core/editing/EditorState.h"
#include "core/editing/ValueBox.h"

namespace dyno {

namespace {

// Shows the view a step recorded, on the document as the step left it.
void ShowRecordedView(EditorState& st, const ViewMark& mark) {
  EditorDocument& doc = st.Doc;
  InteractionState& ui = st.Ui;
  doc.EngineMode = mark.EngineMode;
  doc.UpgradeMode = mark.UpgradeMode;
  doc.TireMode = mark.TireMode;
  doc.CurrentSlipCurve = std::clamp(mark.CurrentSlipCurve, 0, SlipCurveSlots - 1);

  // The points a pick, a drag, a held button or the value box referred to
  // may be gone.
  ResetInteraction(ui, st.Host);
  ui.UpPressed = ui.DownPressed = false;
  ui.UpRaised = ui.DownRaised = ui.UpDrawnRaised = ui.DownDrawnRaised = true;
  ui.TipVisible = ui.TipShown = false;
  if (mark.SelectedIndex >= 0 && mark.SelectedIndex < doc.RowCount) {
    ui.SelectedIndex = ui.DragIndex = mark.SelectedIndex;
    ui.CompressionSelected = mark.CompressionSelected;
    ui.TorqueSelected = mark.TorqueSelected;
    ui.CurveSelected = mark.CurveSelected;
  }

  ShowTableFrom(st.View, st.Host, mark.FirstVisibleRow, doc.RowCount);
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

void TakeStep(EditorState& st, bool forward) {
  EndStep(st);
  const std::optional<ViewMark> mark = forward ? st.History.Redo(st.Doc) : st.History.Undo(st.Doc);
  if (mark) ShowRecordedView(st, *mark);
}

}  // namespace

ViewMark ViewMarkOf(const EditorState& st) {
  ViewMark mark;
  mark.EngineMode = st.Doc.EngineMode;
  mark.UpgradeMode = st.Doc.UpgradeMode;
  mark.TireMode = st.Doc.TireMode;
  mark.CurrentSlipCurve = st.Doc.CurrentSlipCurve;
  mark.FirstVisibleRow = st.View.FirstVisibleRow;
  mark.SelectedIndex = st.Ui.SelectedIndex;
  mark.CompressionSelected = st.Ui.CompressionSelected;
  mark.TorqueSelected = st.Ui.TorqueSelected;
  mark.CurveSelected = st.Ui.CurveSelected;
  return mark;
}

void BeginStep(EditorState& st, StepKind kind) { st.History.Begin(st.Doc, kind, ViewMarkOf(st)); }

void EndStep(EditorState& st) { st.History.Commit(st.Doc, ViewMarkOf(st)); }

void EndTyping(EditorState& st) {
  if (st.History.RecordingKind() == StepKind::Typing) EndStep(st);
}

void AbandonStep(EditorState& st) { st.History.Abandon(st.Doc); }

void StartHistory(EditorState& st) { st.History.Reset(st.Doc); }

void StartHistory(EditorState& st, FileData opened) { st.History.Reset(st.Doc, opened); }

void MarkDocumentClean(EditorState& st) {
  EndStep(st);
  st.History.MarkClean(st.Doc);
}

void MarkDocumentClean(EditorState& st, FileData saved) {
  EndStep(st);
  st.History.MarkClean(st.Doc, saved);
}

void UndoCommand(EditorState& st) { TakeStep(st, false); }

void RedoCommand(EditorState& st) { TakeStep(st, true); }

}  // namespace dyno
