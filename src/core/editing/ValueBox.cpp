#include "core/editing/ValueBox.h"

#include <algorithm>
#include <optional>

#include "core/chart/ChartGeometry.h"
#include "core/document/Units.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/EditSteps.h"
#include "core/files/TypedNumber.h"
#include "core/files/NumberFormat.h"
#include "core/files/NumberText.h"

namespace dyno {

namespace {

// A row of the engine curve / of the charted slip curves; the selection may
// refer to a row that a shrunken curve no longer has.
bool IsEngineRow(const EditorState& st, int row) {
  return row >= 0 && row < std::min(st.Doc.Engine.EngineRowCount, MaxEngineRows);
}
// A sample of the current slip curve: past its end there is none to change.
bool IsSlipRow(const EditorState& st, int row) {
  const SlipCurve& curve = st.Doc.SlipCurves[std::clamp(st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
  return row >= 0 && row < std::min({st.Doc.RowCount, curve.SampleCount, MaxSlipSamples});
}

// Stores x into every selected value. typed: the text is the user's, not
// one the program wrote.
void StoreBoxValue(EditorState& st, double x, bool typed) {
  InteractionState& ui = st.Ui;
  EditorDocument& doc = st.Doc;
  const int s = ui.SelectedIndex;
  if (ui.CompressionSelected && IsEngineRow(st, s)) {
    doc.Engine.Compression[s] = StoredEngineValue(st.Session.Dyno.Units.Torque, doc.Engine.Compression[s], x, typed);
    RepaintCellBand(st.Host, st.View, s, CompressionColumnSpan.left, TorqueColumnSpan.right, true);
  }
  if (ui.TorqueSelected && IsEngineRow(st, s)) {
    doc.Engine.Torque[s] = StoredEngineValue(st.Session.Dyno.Units.Torque, doc.Engine.Torque[s], x, typed);
    RecomputePower(doc, s);
    // The power cell beside it follows the torque.
    RepaintCellBand(st.Host, st.View, s, TorqueColumnSpan.left, TableWidth, true);
  }
  if (AnyCurveSelected(ui) && IsSlipRow(st, s)) {
    doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)].Samples[s] = x;
    RepaintCellBand(st.Host, st.View, s, TireDataColumnX[0], TableWidth, true);
  }
}

// The user's edits of the box are a step of their own, begun by the first
// one, which also notes the selected values as they were; the program writes
// the box within the step of the press or hold that picked or stepped a value.
void BeginTyping(EditorState& st) {
  // A run of + and - presses is over once the user types.
  if (st.History.Recording() && !st.Ui.KeyRun) return;
  st.Steps.Begin(StepKind::Typing);
  InteractionState& ui = st.Ui;
  const int s = ui.SelectedIndex;
  if (IsEngineRow(st, s)) {
    ui.TypedFromCompression = st.Doc.Engine.Compression[s];
    ui.TypedFromTorque = st.Doc.Engine.Torque[s];
  }
  if (IsSlipRow(st, s)) {
    ui.TypedFromSample = st.Doc.SlipCurves[std::clamp(st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)].Samples[s];
  }
}

// While the box holds no number, the selected values are those the run of
// typing began with: nothing half typed, and nothing that is no number,
// stands in the curve.
void RestoreTypedFrom(EditorState& st) {
  InteractionState& ui = st.Ui;
  EditorDocument& doc = st.Doc;
  const int s = ui.SelectedIndex;
  if (ui.CompressionSelected && IsEngineRow(st, s)) {
    doc.Engine.Compression[s] = ui.TypedFromCompression;
    RepaintCellBand(st.Host, st.View, s, CompressionColumnSpan.left, TorqueColumnSpan.right, true);
  }
  if (ui.TorqueSelected && IsEngineRow(st, s)) {
    doc.Engine.Torque[s] = ui.TypedFromTorque;
    RecomputePower(doc, s);
    RepaintCellBand(st.Host, st.View, s, TorqueColumnSpan.left, TableWidth, true);
  }
  if (AnyCurveSelected(ui) && IsSlipRow(st, s)) {
    doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)].Samples[s] = ui.TypedFromSample;
    RepaintCellBand(st.Host, st.View, s, TireDataColumnX[0], TableWidth, true);
  }
}

// Stores what the user typed: the number it reads as, or, for a text that
// is none, the values the run began with. True when it was a number.
bool StoreTyped(EditorState& st, const std::string& text) {
  BeginTyping(st);
  const std::optional<double> value = ReadTypedNumber(text);
  if (value) {
    StoreBoxValue(st, *value, true);
  } else {
    RestoreTypedFrom(st);
  }
  return value.has_value();
}

}  // namespace

double StoredEngineValue(TorqueUnit unit, double current, double shown, bool typed) {
  if (unit == TorqueUnit::Nm) return shown;
  // Showing a value in other units must not change it.
  if (!typed && ShowSame(ShownTorque(current, unit), shown, EngineDecimals)) return current;
  return StoredTorque(shown, unit, EngineDecimals);
}

std::string ShownSelectedValue(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  const int s = ui.SelectedIndex;
  if (AnyCurveSelected(ui) && IsSlipRow(st, s)) {
    return FormatReadout(st.Doc.SlipCurves[std::clamp(st.Doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)].Samples[s],
                         SlipDecimals);
  }
  if ((ui.CompressionSelected || ui.TorqueSelected) && IsEngineRow(st, s)) {
    const double value = ui.CompressionSelected ? st.Doc.Engine.Compression[s] : st.Doc.Engine.Torque[s];
    return FormatReadout(ShownTorque(value, st.Session.Dyno.Units.Torque), EngineDecimals);
  }
  return {};
}

std::string FormatReadout(double value, int decimals) {
  for (int d = decimals; d >= 0; --d) {
    std::string text = FixedText(value, d);
    if (text.size() <= static_cast<std::size_t>(ValueBoxLimit)) return text;
  }
  return FixedText(value, decimals);
}

void WriteValueBox(InteractionState& ui, EditorHost& host, std::string_view text) {
  ui.ReadoutText = std::string(text);
  ui.EditSetByProgram = true;
  host.EmptyValueBox();
  ui.InsertingReadout = true;
  host.InsertValueBoxText(text);
  ui.InsertingReadout = false;
  // What the box holds now, cut or not, is what was last put through it.
  ui.ReadoutText = host.ValueBoxText();
  ui.ValueShown = true;
}

bool ValueEditNotify(EditorState& st, ValueEditCode code) {
  if (code == ValueEditCode::Other) return true;
  InteractionState& ui = st.Ui;
  if (ui.EditSetByProgram) {
    // The program's own emptying of the box.
    ui.EditSetByProgram = false;
    ui.ValueShown = false;
    return true;
  }
  std::string text = st.Host.ValueBoxText();
  if (text.size() > static_cast<std::size_t>(ValueBoxLimit)) text.resize(ValueBoxLimit);
  const bool typed = !ui.InsertingReadout;

  if (code == ValueEditCode::TextChanged) {
    // A program's write is part of a handler that repaints what its whole
    // work changed; the user's typing may change the buttons' look here.
    std::optional<LookRepaint> look;
    if (typed) look.emplace(st);
    ui.ValueShown = true;
    // The box cut a written value short: showing it must not change it.
    const bool cut = !typed && text != ui.ReadoutText;
    ui.ReadoutText = text;
    if (cut) return true;
    if (typed && st.Doc.Mode == FileMode::Tire && st.Session.BendActive && !AnyCurveSelected(ui)) {
      // The typed text has no sample to go to.
      st.Host.ShowNotice(BendModeNotice);
    }
    if (typed) {
      StoreTyped(st, text);
    } else {
      StoreBoxValue(st, DecimalToDouble(text), false);
    }
    RepaintPointStrip(st.Host, st.View, st.Chart, ui.DragIndex);
    return true;
  }

  // Every keystroke has been stored already; a text unchanged since is the
  // value as it was, or as a command has changed it since. Either way the
  // run of typing ends here.
  if (text != ui.ReadoutText) {
    ui.ReadoutText = text;
    StoreTyped(st, text);
    RepaintPointStrip(st.Host, st.View, st.Chart, ui.SelectedIndex);
  }
  // What the user typed in this run must be a number: otherwise the values
  // are as the run found them, and the user is told and taken back to the
  // box to mend the text.
  const bool typing = st.History.RecordingKind() == StepKind::Typing;
  const bool refused = typing && !ReadTypedNumber(text);
  st.Steps.EndTyping();
  if (refused) {
    const UserMessage message = NotANumberMessage("the value box", text);
    st.Host.ShowMessage(message.Text, message.Caption);
    st.Host.FocusValueBox();
  }
  return !refused;
}

void CancelTyping(EditorState& st) {
  if (st.History.RecordingKind() != StepKind::Typing) return;
  RestoreTypedFrom(st);
  WriteValueBox(st.Ui, st.Host, ShownSelectedValue(st));
  // Showing the value again must not round it.
  RestoreTypedFrom(st);
  RepaintPointStrip(st.Host, st.View, st.Chart, st.Ui.SelectedIndex);
  st.Steps.EndTyping();
}

}  // namespace dyno
