#include "core/editing/CommandSteps.h"

#include <memory>

#include "core/chart/RowScrolling.h"
#include "core/curves/Generator.h"
#include "core/curves/PasteTable.h"
#include "core/curves/RangeEdits.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/InteractionState.h"
#include "core/files/EngineFile.h"
#include "core/files/ParameterEdits.h"

namespace dyno {

EditOutcome CommandSteps::AddLine() {
  st_.Steps.Begin(StepKind::AddLine);
  EditOutcome outcome = dyno::AddLine(st_.Doc);
  RefitTable(st_.View, st_.Host, st_.Doc.RowCount);
  st_.Steps.End();
  return outcome;
}

EditOutcome CommandSteps::RemoveLine() {
  st_.Steps.Begin(StepKind::RemoveLine);
  EditOutcome outcome = dyno::RemoveLine(st_.Doc);
  RefitTable(st_.View, st_.Host, st_.Doc.RowCount);
  ForgetRowsBeyondCurve(st_.Ui, st_.Host, st_.Doc.RowCount);
  st_.Steps.End();
  return outcome;
}

EditOutcome CommandSteps::ChangeResolution(double rpmStep) {
  st_.Steps.Begin(StepKind::ChangeResolution);
  EditOutcome outcome = dyno::ChangeResolution(st_.Doc, rpmStep);
  if (outcome.Changed) {
    RefitTable(st_.View, st_.Host, st_.Doc.RowCount);
    // The rows are new: nothing stays selected.
    ResetInteraction(st_.Ui, st_.Host);
  }
  st_.Steps.End();
  return outcome;
}

void CommandSteps::Rescale(const std::function<bool()>& scaled) {
  st_.Steps.Begin(StepKind::Rescale);
  if (scaled()) {
    // The shown value is the old one: nothing stays selected.
    ResetInteraction(st_.Ui, st_.Host);
    st_.Host.Invalidate(st_.View.ClientFrom(0, 0), false);
  }
  st_.Steps.End();
}

void CommandSteps::Generate() {
  st_.Steps.Begin(StepKind::Generate);
  if (st_.Doc.Mode == FileMode::Tire) {
    st_.Doc.TireParsed = false;
    ResetSlipCurves(st_.Doc);
    st_.Host.Invalidate(st_.View.ClientFrom(0, 0), false);
    // The curves shown are new: nothing stays selected.
    ResetInteraction(st_.Ui, st_.Host);
    st_.Steps.End();
    return;
  }
  GenerateNewEngine(st_.Doc, st_.Session.Generator);
  ResetInteraction(st_.Ui, st_.Host);
  RefitTable(st_.View, st_.Host, st_.Doc.RowCount);
  // A new engine is unsaved work like any edit.
  st_.Steps.End();
}

ReadOutcome CommandSteps::Import(const std::string& path) {
  // Only the rows come in: the engine text, its parameters and the file the
  // data is saved to stay this file's. A file without rows changes nothing.
  const auto read = std::make_unique<EditorDocument>();
  ReadOutcome outcome = ReadEngineRows(*read, path);
  if (outcome.Result != ReadResult::Read) return outcome;
  st_.Steps.Begin(StepKind::Import);
  st_.Doc.Engine = read->Engine;
  st_.Doc.RowCount = read->Engine.EngineRowCount;
  RepaintNewRows(st_.Host, st_.View);
  // The old points are gone: nothing stays picked, the table starts at its top.
  ResetInteraction(st_.Ui, st_.Host);
  st_.View.FirstVisibleRow = 0;
  UpdateRowScrollBar(st_.View, st_.Host, 0, st_.Doc.RowCount);
  st_.Steps.End();
  return outcome;
}

EditOutcome CommandSteps::PasteTable(StepKind kind, std::string_view text) {
  st_.Steps.Begin(kind);
  EditOutcome outcome = dyno::PasteTable(st_.Doc, st_.Session.Dyno.Units, text);
  if (outcome.Changed) {
    // The rows are new: nothing stays selected; the whole window is drawn
    // again, the axis fitted to the new curve.
    ResetInteraction(st_.Ui, st_.Host);
    RefitTable(st_.View, st_.Host, st_.Doc.RowCount);
  }
  st_.Steps.End();
  return outcome;
}

EditOutcome CommandSteps::NormaliseSlipCurve() {
  EditorDocument& doc = st_.Doc;
  SlipCurve& curve = doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
  const auto n = static_cast<std::size_t>(std::clamp(std::min(curve.SampleCount, doc.RowCount), 0, MaxSlipSamples));
  st_.Steps.Begin(StepKind::Normalise);
  const EditOutcome outcome = dyno::NormaliseSlipCurve(std::span(curve.Samples).first(n));
  // The value box shows a value that may have changed; the axis may too.
  if (outcome.Changed) {
    ResetInteraction(st_.Ui, st_.Host);
    st_.Host.Invalidate(st_.View.ClientFrom(0, 0), false);
  }
  st_.Steps.End();
  return outcome;
}

void CommandSteps::EditParameters(const ParameterTexts& texts) {
  st_.Steps.Begin(StepKind::EditParameters);
  ApplyParameterTexts(st_.Doc, texts);
  st_.Host.Invalidate(st_.View.ClientFrom(2, 2), false);
  st_.Steps.End();
}

void CommandSteps::EditSlipCurves(const std::function<std::optional<int>()>& edited) {
  st_.Steps.Begin(StepKind::EditSlipCurves);
  if (const std::optional<int> count = edited()) {
    ApplySlipCurveCount(st_.Doc, *count);
    st_.Host.Invalidate(st_.View.ClientFrom(2, 2), false);
    st_.Steps.End();
  } else {
    st_.Steps.Abandon();
  }
}

}  // namespace dyno
