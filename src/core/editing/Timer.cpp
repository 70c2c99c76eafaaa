#include "core/editing/Timer.h"

#include <algorithm>
#include <optional>
#include <string>

#include "core/document/DefaultSlipTable.h"
#include "core/document/Units.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/files/TypedNumber.h"
#include "core/editing/ValueBox.h"
#include "core/files/NumberText.h"

namespace dyno {

namespace {

// Ticks a held button is counted up to; the count only matters below 11.
constexpr int RepeatCountCap = 1000;

// The first tick of a press acts, the next nine pause, every later one acts.
bool RepeatActs(int repeatCount) { return repeatCount < 2 || repeatCount > 10; }

// Samples a bend moves: the current curve's own. Past its end there are no
// samples to bend (the table shows none), and moving what lies there would
// show numbers the file does not hold.
int BendSampleCount(const SlipCurve& curve) { return std::clamp(curve.SampleCount, 0, MaxSlipSamples); }

SlipCurve& CurrentCurve(EditorDocument& doc) {
  return doc.SlipCurves[std::clamp(doc.CurrentSlipCurve, 0, SlipCurveSlots - 1)];
}

void StepShownValue(EditorState& st, bool up) {
  InteractionState& ui = st.Ui;
  std::string text = st.Host.ValueBoxText();
  if (text.size() > static_cast<std::size_t>(ValueBoxLimit)) text.resize(ValueBoxLimit);
  // The box may still hold a text the user was told is no number: the step
  // then starts from the value as it stands, shown as the box shows values.
  const std::optional<double> typed = ReadTypedNumber(text);
  ui.SpinValue = typed ? *typed : DecimalToDouble(ShownSelectedValue(st));
  const bool tire = st.Doc.Mode == FileMode::Tire;
  const double step = !tire ? EngineValueStep : ui.RepeatCount < 10 ? SlipFirstStep : SlipRepeatStep;
  ui.SpinValue += up ? step : -step;
  ui.SpinText = FormatReadout(ui.SpinValue, tire ? SlipDecimals : EngineDecimals);
  // The box's change handling stores the new text into the selected value.
  WriteValueBox(ui, st.Host, ui.SpinText);
}

// One action of the held Up or Down button: a bend of the current slip curve
// in bend mode, a step of the shown value.
void ActOnHeldButton(EditorState& st, bool bend, bool step) {
  InteractionState& ui = st.Ui;
  EditorDocument& doc = st.Doc;
  const LookRepaint look(st);
  if (bend) {
    SlipCurve& curve = CurrentCurve(doc);
    const int n = BendSampleCount(curve);
    if (n > 0) {
      ui.BendTarget = curve.Samples[n - 1] + (ui.UpPressed ? BendStep : 0.0) - (ui.DownPressed ? BendStep : 0.0);
      if (Bend(doc, ui.BendTarget)) {
        st.Chart.ScaleChanged = true;  // the chart follows at the end of the tick
        if (doc.Mode == FileMode::Tire) RepaintTable(st.Host, st.View);
      }
    }
  }
  if (step) StepShownValue(st, ui.UpPressed);
}

}  // namespace

const std::array<double, DefaultSlipSamples>& BendWeights() {
  static const std::array<double, DefaultSlipSamples> weights = [] {
    std::array<double, DefaultSlipSamples> w{};
    for (int j = 0; j < DefaultSlipSamples; ++j) w[j] = DefaultSlipTable[0][j] - DefaultSlipTable[3][j];
    return w;
  }();
  return weights;
}

bool Bend(EditorDocument& doc, double target) {
  SlipCurve& curve = CurrentCurve(doc);
  const int n = BendSampleCount(curve);
  const auto& w = BendWeights();
  const double last = w[DefaultSlipSamples - 1];
  if (n < 1 || last == 0.0) return false;
  const double k = (target - curve.Samples[n - 1]) / last;
  for (int i = 0; i < n; ++i) curve.Samples[i] += k * w[std::min(i, DefaultSlipSamples - 1)];
  return true;
}

void OnTick(EditorState& st) {
  InteractionState& ui = st.Ui;
  if (!ui.MouseDown && !ui.KeyHeld) ui.RepeatCount = 0;

  const bool held = ui.UpPressed || ui.DownPressed;
  const bool bend = st.Session.BendActive && held;
  const bool step = held && ui.ValueShown;
  // One count per tick, so bending and stepping keep the same rhythm.
  if (bend || step) ui.RepeatCount = std::min(ui.RepeatCount + 1, RepeatCountCap);
  if ((bend || step) && RepeatActs(ui.RepeatCount)) ActOnHeldButton(st, bend, step);

  if (st.Chart.ScaleChanged) {
    RepaintChart(st.Host, st.View);
    st.Chart.ScaleChanged = false;
  }
}

void ActOnShortPress(EditorState& st) {
  InteractionState& ui = st.Ui;
  const bool held = ui.UpPressed || ui.DownPressed;
  const bool bend = st.Session.BendActive && held;
  const bool step = held && ui.ValueShown;
  if (ui.RepeatCount != 0 || !(bend || step)) return;
  ui.RepeatCount = 1;
  ActOnHeldButton(st, bend, step);
}

void BendCommand(EditorState& st) {
  const LookRepaint look(st);
  EditorDocument& doc = st.Doc;
  InteractionState& ui = st.Ui;
  if (doc.Mode == FileMode::Tire) {
    st.Session.BendActive = !st.Session.BendActive;
    if (st.Session.BendActive) {
      // The buttons now bend: nothing is picked or selected any more.
      ui.ValueShown = false;
      ui.CurveSelected.fill(false);
      ui.SlipPicked = false;
      ui.TorquePicked = false;
      ui.CompressionPicked = false;
      ui.CompressionSelected = false;
      ui.TorqueSelected = false;
      EmptyValueBoxByProgram(ui, st.Host);
      ui.ValueShown = false;
    }
  }
  st.Host.Invalidate(st.Chart.UpButtonRect, false);
  st.Host.Invalidate(st.Chart.DownButtonRect, false);
}

}  // namespace dyno
