#include "core/editing/EditSteps.h"

#include <algorithm>
#include <optional>

#include "core/chart/RowScrolling.h"
#include "core/chart/ViewState.h"
#include "core/editing/EditorHost.h"
#include "core/editing/InteractionState.h"

namespace dyno {

EditSteps::EditSteps(EditorDocument& doc, UndoHistory& history, ViewState& view, InteractionState& ui,
                     EditorHost& host)
    : doc_(doc), history_(history), view_(view), ui_(ui), host_(host) {}

ViewMark EditSteps::MarkOfView() const {
  ViewMark mark;
  mark.Mode = doc_.Mode;
  mark.CurrentSlipCurve = doc_.CurrentSlipCurve;
  mark.FirstVisibleRow = view_.FirstVisibleRow;
  mark.SelectedIndex = ui_.SelectedIndex;
  mark.CompressionSelected = ui_.CompressionSelected;
  mark.TorqueSelected = ui_.TorqueSelected;
  mark.CurveSelected = ui_.CurveSelected;
  return mark;
}

// Shows the view a step recorded, on the document as the step left it.
void EditSteps::ShowRecordedView(const ViewMark& mark) {
  doc_.Mode = mark.Mode;
  doc_.CurrentSlipCurve = std::clamp(mark.CurrentSlipCurve, 0, SlipCurveSlots - 1);

  // The points a pick, a drag, a held button or the value box referred to
  // may be gone.
  ResetInteraction(ui_, host_);
  ui_.UpPressed = ui_.DownPressed = false;
  ui_.UpRaised = ui_.DownRaised = ui_.UpDrawnRaised = ui_.DownDrawnRaised = true;
  ui_.TipVisible = ui_.TipShown = false;
  if (mark.SelectedIndex >= 0 && mark.SelectedIndex < doc_.RowCount) {
    ui_.SelectedIndex = ui_.DragIndex = mark.SelectedIndex;
    ui_.CompressionSelected = mark.CompressionSelected;
    ui_.TorqueSelected = mark.TorqueSelected;
    ui_.CurveSelected = mark.CurveSelected;
  }

  ShowTableFrom(view_, host_, mark.FirstVisibleRow, doc_.RowCount);
  host_.Invalidate(view_.ClientFrom(0, 0), false);
}

void EditSteps::TakeStep(bool forward) {
  End();
  const std::optional<ViewMark> mark = forward ? history_.Redo(doc_) : history_.Undo(doc_);
  if (mark) ShowRecordedView(*mark);
}

void EditSteps::Begin(StepKind kind) {
  ui_.KeyRun = false;
  history_.Begin(doc_, kind, MarkOfView());
}

void EditSteps::End() {
  ui_.KeyRun = false;
  history_.Commit(doc_, MarkOfView());
}

void EditSteps::EndTyping() {
  if (history_.RecordingKind() == StepKind::Typing) End();
}

void EditSteps::Abandon() { history_.Abandon(doc_); }

void EditSteps::Start() { history_.Reset(doc_); }

void EditSteps::Start(FileData opened) { history_.Reset(doc_, opened); }

void EditSteps::MarkClean(FileData saved) {
  End();
  history_.MarkClean(doc_, saved);
}

void EditSteps::Undo() { TakeStep(false); }

void EditSteps::Redo() { TakeStep(true); }

}  // namespace dyno
