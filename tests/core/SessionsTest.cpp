// Editing sessions: scripts under tests/data/sessions drive the editor core
// as the window does (mouse, timer, value box, scrolling, commands), and a
// transcript of everything each step changed or asked of the window is
// compared with the approved one (<script>.transcript).
//
// Script lines: a command and its words; "#" starts a comment. Targets of the
// mouse commands (down, dbl, move, up) are "X Y" pixels or a named place with
// an optional offset: "torque I", "compression I", "slip I", "cell COLUMN
// LINE" (rpm, compression, torque, power, or tire data column 0 to 3),
// "header COLUMN", "upbutton", "downbutton", each followed by "DX DY".
// The commands run as the window runs them, each one step of the undo
// history; "mark NAME" keeps the document and the bytes it saves to, "same
// NAME" reports where they now differ. "units TORQUE POWER" shows the units
// named (N-m or lb-ft; HP, kW or PS), "readout" the status bar's peaks.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/chart/ChartGeometry.h"
#include "core/chart/RowScrolling.h"
#include "core/curves/Rescale.h"
#include "core/curves/Resolution.h"
#include "core/editing/CommandSteps.h"
#include "core/editing/DynoView.h"
#include "core/editing/EditorState.h"
#include "core/editing/ModeCommands.h"
#include "core/editing/OpenFile.h"
#include "core/editing/Keyboard.h"
#include "core/editing/Mouse.h"
#include "core/editing/Selection.h"
#include "core/editing/Timer.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/FileKind.h"
#include "core/files/ParameterEdits.h"
#include "core/files/ParameterTexts.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "core/resources/ResourceIds.h"
#include "support/Approval.h"
#include "support/DocumentDump.h"
#include "support/FakeHost.h"
#include "support/SameDocument.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using test::Exact;

// The next word of a script line as a T; fallback where there is none.
template <typename T = int>
T Word(std::istream& words, T fallback = {}) {
  words >> fallback;
  return fallback;
}

std::string RectText(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

// The layout as the window computes it: plot, value axis and a digest of the pixels
// of every point.
std::string LayoutText(const ChartLayout& c) {
  std::ostringstream out;
  long long x = 0, torque = 0, power = 0, compression = 0, slip = 0;
  for (int i = 0; i < c.PointCount; ++i) {
    x += c.PointX[i] * (i + 1LL);
    torque += c.TorqueY[i] * (i + 1LL);
    power += c.PowerY[i] * (i + 1LL);
    compression += c.CompressionY[i] * (i + 1LL);
    slip += c.SlipY[i] * (i + 1LL);
  }
  out << "plot " << c.PlotLeft << "," << c.PlotTop << "-" << c.PlotRight << "," << c.PlotBottom << " grid "
      << c.GridLeft << "-" << c.GridRight << " top " << c.GridTop << " base " << c.AxisBaseY << " size " << c.PlotWidth
      << "x" << c.PlotHeight << " axis " << Exact(c.AxisMin) << ".." << Exact(c.AxisMax) << " step "
      << Exact(c.AxisStep) << " range " << Exact(c.AxisRange) << " span " << Exact(c.AxisSpan) << " divisions "
      << c.GridDivisions << " labels every " << c.LabelStep << " pick " << c.PickHalfWidth << " points "
      << c.PointCount << " x " << x << " torque " << torque << " power " << power << " compression " << compression
      << " slip " << slip;
  return out.str();
}

std::string UiText(const EditorState& st) {
  const InteractionState& ui = st.Ui;
  std::ostringstream out;
  out << "selected " << ui.SelectedIndex << " drag " << ui.DragIndex << " pixel " << ui.SelectedPixel.x << ","
      << ui.SelectedPixel.y << " last " << ui.LastSelectedPixel.x << "," << ui.LastSelectedPixel.y;
  const std::pair<const char*, bool> flags[] = {
      {"compressionSel", ui.CompressionSelected}, {"torqueSel", ui.TorqueSelected},
      {"curveSel0", ui.CurveSelected[0]},         {"curveSel1", ui.CurveSelected[1]},
      {"curveSel2", ui.CurveSelected[2]},         {"curveSel3", ui.CurveSelected[3]},
      {"valueShown", ui.ValueShown},              {"setByProgram", ui.EditSetByProgram},
      {"mouseDown", ui.MouseDown},                {"dragging", ui.Dragging},
      {"torquePicked", ui.TorquePicked},          {"compressionPicked", ui.CompressionPicked},
      {"slipPicked", ui.SlipPicked},              {"upPressed", ui.UpPressed},
      {"downPressed", ui.DownPressed},            {"upLow", !ui.UpRaised},
      {"downLow", !ui.DownRaised},                {"tipVisible", ui.TipVisible},
      {"tipShown", ui.TipShown}};
  for (const auto& [name, on] : flags) {
    if (on) out << " " << name;
  }
  out << " readout \"" << ui.ReadoutText << "\" tip \"" << ui.TipText << "\" " << RectText(ui.TipRect) << " repeat "
      << ui.RepeatCount << " bendTarget " << Exact(ui.BendTarget) << " spin " << Exact(ui.SpinValue) << " \""
      << ui.SpinText << "\" | first row " << st.View.FirstVisibleRow << " scroll " << st.View.ScrollPos;
  return out.str();
}

// The values of one column that differ, each "name[i] old -> new".
template <typename Column>
void DiffColumn(std::string& out, const char* name, const Column& before, const Column& after) {
  for (std::size_t i = 0; i < after.size(); ++i) {
    if (before[i] != after[i] && !(before[i] != before[i])) {
      out += "  " + std::string(name) + "[" + std::to_string(i) + "] " + Exact(before[i]) + " -> " + Exact(after[i]) + "\n";
    }
  }
}

// flags: the document's and the session's flags before and after.
std::string DocumentChanges(const EditorDocument& before, const EditorDocument& after, const std::string& flagsBefore,
                            const std::string& flags) {
  std::string out;
  DiffColumn(out, "rpm", before.Engine.Rpm, after.Engine.Rpm);
  DiffColumn(out, "compression", before.Engine.Compression, after.Engine.Compression);
  DiffColumn(out, "torque", before.Engine.Torque, after.Engine.Torque);
  DiffColumn(out, "power", before.Engine.Power, after.Engine.Power);
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    const std::string name = "slip" + std::to_string(slot);
    DiffColumn(out, name.c_str(), before.SlipCurves[slot].Samples, after.SlipCurves[slot].Samples);
    if (before.SlipCurves[slot].SampleCount != after.SlipCurves[slot].SampleCount) {
      out += "  " + name + " samples " + std::to_string(after.SlipCurves[slot].SampleCount) + "\n";
    }
  }
  if (flagsBefore != flags) out += "  " + flags;
  if (before.Engine.EngineRowCount != after.Engine.EngineRowCount) {
    out += "  engine rows " + std::to_string(after.Engine.EngineRowCount) + "\n";
  }
  if (before.EngineText != after.EngineText) out += "  engine text of " + std::to_string(after.EngineText.size()) + " bytes\n";
  return out;
}

std::string HistoryText(const UndoHistory& h) {
  const auto name = [](std::optional<StepKind> kind) { return kind ? std::string(StepName(*kind)) : std::string("-"); };
  return "undo " + name(h.NextUndo()) + " redo " + name(h.NextRedo()) + " steps " + std::to_string(h.Steps()) +
         (h.Recording() ? " recording" : "");
}

class Session {
 public:
  Session() {
    host.valueBoxChanged = [this] { ValueEditNotify(st, ValueEditCode::TextChanged); };
    host.cursor = CursorShape::Arrow;
  }

  std::string Run(std::istream& script) {
    std::string line;
    while (std::getline(script, line)) {
      if (line.empty() || line[0] == '#') continue;
      Step(line);
    }
    return transcript_;
  }

 private:
  void Step(const std::string& line) {
    const EditorDocument doc = st.Doc;
    const std::string flags = test::DumpFlags(st.Doc, st.Session, st.History.Unsaved(st.Doc));
    const std::string ui = UiText(st);
    const std::string box = host.valueBox;
    const int boxChanges = host.valueBoxChanges;
    const CursorShape cursor = host.cursor;
    const bool scaleChanged = st.Chart.ScaleChanged;
    const std::string layout = LayoutText(st.Chart);
    const std::string history = HistoryText(st.History);
    host.invalidations.clear();
    host.scrolls.clear();
    host.messages.clear();
    host.boxFocused = false;
    const int syncs = host.scrollBarSyncs;

    std::istringstream words(line);
    std::string command;
    words >> command;
    transcript_ += "> " + line + "\n";
    Do(command, words);

    for (const auto& inv : host.invalidations) {
      transcript_ += "  invalidate " + RectText(inv.area) + (inv.erase ? " erase" : "") + "\n";
    }
    for (const auto& s : host.scrolls) transcript_ += "  scroll " + std::to_string(s.dy) + " " + RectText(s.area) + "\n";
    if (host.scrollBarSyncs != syncs) {
      const RowScrollBarState& b = host.scrollBar;
      transcript_ += "  scroll bar " + std::string(b.Enabled ? "on " : "off ") + std::to_string(b.Minimum) + ".." +
                     std::to_string(b.Maximum) + " page " + std::to_string(b.PageStep) + " at " +
                     std::to_string(b.Position) + "\n";
    }
    for (const auto& m : host.messages) transcript_ += "  message \"" + m.text + "\" \"" + m.caption + "\"\n";
    if (host.boxFocused) transcript_ += "  value box focused\n";
    if (host.valueBox != box || host.valueBoxChanges != boxChanges) {
      transcript_ += "  box \"" + host.valueBox + "\" after " + std::to_string(host.valueBoxChanges - boxChanges) +
                     " changes\n";
    }
    if (host.cursor != cursor) transcript_ += "  cursor " + std::to_string(static_cast<int>(host.cursor)) + "\n";
    if (st.Chart.ScaleChanged != scaleChanged) transcript_ += "  scale changed " + std::to_string(st.Chart.ScaleChanged) + "\n";
    if (LayoutText(st.Chart) != layout) transcript_ += "  layout " + LayoutText(st.Chart) + "\n";
    // Setting up a curve is no edit: only what follows is traced.
    if (command != "engine" && command != "tire" && command != "open") {
      transcript_ += DocumentChanges(doc, st.Doc, flags, test::DumpFlags(st.Doc, st.Session, st.History.Unsaved(st.Doc)));
    }
    if (UiText(st) != ui) transcript_ += "  ui " + UiText(st) + "\n";
    if (HistoryText(st.History) != history) transcript_ += "  history " + HistoryText(st.History) + "\n";
  }

  void Do(const std::string& command, std::istream& words) {
    if (command == "engine") {
      test::FillSampleEngineCurve(st.Doc, Word(words, 41));
      st.Doc.EngineLoaded = true;
    } else if (command == "tire") {
      test::UseTireView(st.Doc, Word(words, 4));
      st.Doc.TireLoaded = true;
    } else if (command == "paint") {
      // The layout the window computes once a step has repainted anything.
      const int width = Word(words, 800), height = Word(words, 600);
      ResizeView(st.View, width, height);
      ComputeChartLayout(st.View, st.Chart, st.Doc, st.Session.Dyno, width, height);
      FollowPickedPoint(st);
    } else if (command == "down" || command == "dbl" || command == "move" || command == "up") {
      // "shift" after the target holds Shift.
      std::string rest;
      std::getline(words, rest);
      const bool shift = rest.ends_with(" shift");
      std::istringstream target(shift ? rest.substr(0, rest.size() - 6) : rest);
      const Point p = Target(target);
      if (command == "down") OnPress(st, p, shift);
      if (command == "dbl") OnDoublePress(st, p);
      if (command == "move") OnMove(st, p);
      if (command == "up") OnRelease(st, p);
    } else if (command == "tick") {
      for (int k = 0, times = Word(words, 1); k < times; ++k) OnTick(st);
    } else if (command == "type") {
      host.Type(Word<std::string>(words));
    } else if (command == "backspace") {
      host.Backspace();
    } else if (command == "clear") {
      host.EmptyValueBox();
    } else if (command == "focuslost") {
      ValueEditNotify(st, ValueEditCode::FocusLost);
    } else if (command == "enter") {
      ValueEditNotify(st, ValueEditCode::Entered);
    } else if (command == "key") {
      // A key of the chart and table: a pick key, + or - pressed, or let go.
      std::string name;
      words >> name;
      const std::map<std::string, PickKey> keys{{"up", PickKey::Up},       {"down", PickKey::Down},
                                                {"pageup", PickKey::PageUp}, {"pagedown", PickKey::PageDown},
                                                {"home", PickKey::Home},   {"end", PickKey::End},
                                                {"left", PickKey::Left},   {"right", PickKey::Right}};
      bool handled = true;
      const bool extend = name.starts_with("shift+");
      if (extend) name = name.substr(6);
      if (name == "+" || name == "-") {
        handled = OnStepKeyPress(st, name == "+");
      } else if (name == "release") {
        OnStepKeyRelease(st);
      } else {
        handled = OnPickKey(st, keys.at(name), extend);
      }
      if (!handled) transcript_ += "  not handled\n";
    } else if (command == "escape") {
      CancelTyping(st);
    } else if (command == "adjust") {
      // Edit > Adjust Selection: scale, offset, set (with their amount),
      // straighten, smooth.
      std::string name;
      double amount = 0;
      words >> name >> amount;
      const std::map<std::string, RangeOperation> operations{
          {"scale", RangeOperation::Scale},           {"offset", RangeOperation::Offset},
          {"set", RangeOperation::Set},               {"straighten", RangeOperation::Straighten},
          {"smooth", RangeOperation::Smooth}};
      const EditOutcome outcome = AdjustSelection(st, operations.at(name), amount);
      if (outcome.Message) transcript_ += "  message \"" + outcome.Message->Text + "\"\n";
    } else if (command == "normalise") {
      const EditOutcome outcome = CommandSteps(st).NormaliseSlipCurve();
      if (outcome.Message) transcript_ += "  message \"" + outcome.Message->Text + "\"\n";
    } else if (command == "selection") {
      transcript_ += "  readout \"" + SelectionReadout(st) + "\"\n";
    } else if (command == "copyrange") {
      transcript_ += "  copied\n" + ComposeRangeText(st, '\t', "\n");
    } else if (command == "pasterange") {
      std::string text;
      std::getline(words >> std::ws, text);
      for (std::size_t at; (at = text.find("\\n")) != std::string::npos;) text.replace(at, 2, "\n");
      const EditOutcome outcome = PasteIntoRange(st, text);
      if (outcome.Message) transcript_ += "  message \"" + outcome.Message->Text + "\"\n";
    } else if (command == "bend") {
      BendCommand(st);
    } else if (command == "lock") {
      st.Session.LockOnToData = !st.Session.LockOnToData;
    } else if (command == "mode") {
      const std::string mode = Word<std::string>(words);
      SetFileMode(st, mode == "tire" ? FileMode::Tire : mode == "upgrade" ? FileMode::Upgrade : FileMode::Engine);
    } else if (command == "scroll") {
      RowScrollNotify(st.View, st.Host, Word(words));
    } else if (command == "resize") {
      const int width = Word(words), height = Word(words);
      ClientSizeChanged(st.View, st.Host, st.Doc.RowCount, width, height);
    } else if (command == "refit") {
      RefitTable(st.View, st.Host, st.Doc.RowCount);
    } else if (command == "set") {
      const std::string column = Word<std::string>(words);
      const int i = Word(words);
      const double value = Word(words, 0.0);
      EngineCurve& e = st.Doc.Engine;
      if (column.starts_with("slip")) {
        st.Doc.SlipCurves[std::stoi(column.substr(4))].Samples[i] = value;
      } else {
        (column == "rpm" ? e.Rpm : column == "torque" ? e.Torque : e.Compression)[i] = value;
        RecomputePower(st.Doc, i);
      }
    } else if (command == "reset") {
      ResetInteraction(st.Ui, st.Host);
    } else if (command == "open") {
      Open(Word<std::string>(words));
    } else if (command == "undo") {
      st.Steps.Undo();
    } else if (command == "redo") {
      st.Steps.Redo();
    } else if (command == "units") {
      // View > the torque unit and the power unit, by name.
      const std::string torque = Word<std::string>(words), power = Word<std::string>(words);
      TorqueUnitCommand(st, torque == "lb-ft" ? TorqueUnit::LbFt : TorqueUnit::Nm);
      PowerUnitCommand(st, power == "kW" ? PowerUnit::Kw : power == "PS" ? PowerUnit::Ps : PowerUnit::Hp);
    } else if (command == "tosave") {
      // The mode each kind of data would be saved in now.
      static const char* const modes[] = {"engine", "upgrade", "tire"};
      for (const FileData data : {FileData::Engine, FileData::Tire}) {
        const std::optional<FileMode> mode = ModeToSave(st.Doc, st.History, data);
        transcript_ += std::string(data == FileData::Engine ? "  engine rows" : "  slip curves") + " saved as " +
                       (mode ? modes[static_cast<int>(*mode)] : "nothing") + "\n";
      }
    } else if (command == "readout") {
      transcript_ += "  readout \"" + PeakReadout(st.Doc, st.Session.Dyno.Units) + "\"\n";
    } else if (command == "mark") {
      const std::string name = Word<std::string>(words);
      // Saving composes a tire file's text in the document: save first.
      const std::string bytes = Saved();
      marks_[name] = {st.Doc, bytes};
    } else if (command == "same") {
      const std::string name = Word<std::string>(words);
      const auto& [doc, bytes] = marks_.at(name);
      const bool sameBytes = Saved() == bytes;
      std::string differ;
      for (const std::string& field : test::DocumentDifferences(doc, st.Doc)) differ += " " + field;
      if (!sameBytes) differ += " saved-bytes";
      transcript_ += differ.empty() ? "  same as " + name + "\n" : "  differs from " + name + ":" + differ + "\n";
    } else {
      Command(command, words);
    }
  }

  // The commands as the window runs them once their dialogs are answered,
  // each reported with its outcome.
  void Command(const std::string& command, std::istream& words) {
    const auto report = [this](const EditOutcome& outcome) {
      transcript_ += std::string("  ") + (outcome.Changed ? "changed" : "unchanged") + "\n";
      if (outcome.Message) transcript_ += "  says \"" + outcome.Message->Text + "\" \"" + outcome.Message->Caption + "\"\n";
    };
    CommandSteps steps(st);
    if (command == "add") {
      report(steps.AddLine());
    } else if (command == "remove") {
      report(steps.RemoveLine());
    } else if (command == "resolution") {
      const double step = Word(words, 0.0);
      transcript_ += "  offered entry " + std::to_string(BeginChangeResolution(st.Doc, st.Session.Generator)) + "\n";
      report(steps.ChangeResolution(step));
    } else if (command == "rescale") {
      const double hp = Word(words, 0.0), compression = Word(words, 0.0);
      steps.Rescale([&] {
        RescaleValues values = BeginRescale(st.Doc, st.Session.Generator);
        transcript_ += "  measured " + Exact(values.CurrentHp) + " hp, compression " + Exact(values.CompressionMax) + "\n";
        values.CurrentHp = hp;
        values.NewCompression = compression;
        ApplyRescale(st.Doc, st.Session.Generator, values);
        return true;
      });
    } else if (command == "generate") {
      GeneratorSettings& g = st.Session.Generator;
      if (st.Doc.Mode != FileMode::Tire) words >> g.RpmStep >> g.TopRpm >> g.PeakTorqueRpm >> g.TargetPower;
      steps.Generate();
    } else if (command == "bendto") {
      transcript_ += std::string("  ") + (Bend(st.Doc, Word(words, 0.0)) ? "bent" : "not bent") + "\n";
    } else if (command == "import") {
      const ReadResult read = steps.Import(test::DataPath("files/" + Word<std::string>(words)).string()).Result;
      transcript_ += "  read " + std::to_string(static_cast<int>(read)) + "\n";
    } else if (command == "parameter") {
      // The parameter dialog confirmed with one field changed.
      const std::string key = Word<std::string>(words);
      const int field = Word(words);
      const std::string text = Word<std::string>(words);
      ParameterTexts texts;
      LoadParameterTexts(st.Doc.Parameters, texts);
      texts.Texts[ParameterTextIndex(EngineParameterIndex(key), field)] = text;
      steps.EditParameters(texts);
    } else if (command == "slipcurve") {
      // The slip curve dialog: one curve added, the first one renamed, and
      // confirmed or cancelled.
      std::string name, step, dropoff, answer;
      words >> name >> step >> dropoff >> answer;
      steps.EditSlipCurves([&]() -> std::optional<int> {
        const int count = AddSlipCurve(st.Doc, st.Doc.SlipCurveCount);
        StoreSlipHeader(st.Doc.SlipCurves[0], name, step, dropoff);
        if (answer != "ok") return std::nullopt;
        return count;
      });
    } else {
      ADD_FAILURE() << "unknown command " << command;
    }
  }

  // A file of tests/data/files opened as the window opens it.
  // Opens a file as the window's Open does once the file is chosen (and any
  // question answered).
  void Open(const std::string& name) {
    const fs::path path = test::DataPath("files/" + name);
    FileToOpen file = ReadFileToOpen(path.string(), path.parent_path().string(), name);
    if (file.Opened()) ShowOpenedFile(st, file);
    transcript_ += "  read " + std::to_string(static_cast<int>(file.Read.Result)) + "\n";
  }

  // The bytes Save As writes for the document as it is.
  std::string Saved() {
    const std::string name = "saved" + std::to_string(++saves_);
    const std::string folder = dir_.path().string();
    const SaveResult result = st.Doc.Mode == FileMode::Tire ? WriteTireFile(st.Doc, "", "", folder, name)
                                              : WriteEngineFile(st.Doc, "", "", folder, name);
    if (result.Status != SaveStatus::Saved) return "not saved";
    return test::TempDir::Read(dir_.path() / name);
  }

  Point Target(std::istream& words) {
    std::string what;
    words >> what;
    Point p;
    int i = 0;
    const ChartLayout& c = st.Chart;
    const auto line = [](int n) { return TableLineTop(n) + RowHeight / 2; };
    if (what == "torque" || what == "compression" || what == "slip") {
      words >> i;
      p = {c.PointX[i], (what == "torque" ? c.TorqueY : what == "slip" ? c.SlipY : c.CompressionY)[i]};
    } else if (what == "cell") {
      std::string column;
      words >> column >> i;
      const int x = column == "rpm" ? 30 : column == "compression" ? 110 : column == "torque" ? 190
                  : column == "power" ? 250 : TireDataColumnX[std::stoi(column)] + 30;
      p = {x, line(i)};
    } else if (what == "header") {
      words >> i;
      p = {TireDataColumnX[i] + 30, 12};
    } else if (what == "upbutton") {
      p = {367, 7};
    } else if (what == "downbutton") {
      p = {367, 19};
    } else {
      p.x = std::stoi(what);
      words >> p.y;
      return p;
    }
    int dx = 0;
    int dy = 0;
    if (words >> dx >> dy) p = {p.x + dx, p.y + dy};
    return p;
  }

  test::FakeHost host;
  EditorState st{host, 1024, 768};
  std::string transcript_;
  std::map<std::string, std::pair<EditorDocument, std::string>> marks_;
  test::TempDir dir_;
  int saves_ = 0;
};

class Sessions : public ::testing::TestWithParam<std::string> {};

TEST_P(Sessions, DoWhatTheApprovedTranscriptSays) {
  std::ifstream script(test::DataPath("sessions/" + GetParam() + ".txt"));
  ASSERT_TRUE(script) << GetParam();
  Session session;
  test::ExpectApproved(session.Run(script), "sessions/" + GetParam() + ".transcript");
}

INSTANTIATE_TEST_SUITE_P(Editing, Sessions, ::testing::ValuesIn(test::ScriptsIn("sessions")), test::ScriptTestName);

}  // namespace
}  // namespace dyno
