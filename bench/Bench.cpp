// Measures the editor's speed against floors taken in the same run, so the
// ratios hold on a busy machine: opening and saving files against plain
// reads and writes of the same bytes, a paint of the whole view, one drag
// move against a full repaint, and start-up against an empty Qt window; and
// undo and redo against an absolute goal.
//
//   bench [google benchmark flags]
//
// Prints Google Benchmark's own lines, then a table: name, median, floor,
// ratio and the goal.

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QRegion>
#include <QPainter>
#include <QStandardPaths>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/curves/Rescale.h"
#include "core/editing/EditorState.h"
#include "core/editing/Mouse.h"
#include "core/editing/UndoCommands.h"
#include "core/editing/ValueBox.h"
#include "core/files/ComposeFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/NumberText.h"
#include "core/files/SaveFile.h"
#include "core/files/TableText.h"
#include "core/files/TireFile.h"
#include "core/platform/PlatformFile.h"
#include "gui/chart/ChartPainter.h"
#include "support/FakeHost.h"
#include "Printf.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

extern char** environ;

namespace dyno::bench {
namespace {
using namespace dyno::test;

namespace fs = std::filesystem;

const QSize FullHd(1920, 1080);

// The files every file benchmark works on, made once.
struct Files {
  Files() {
    test::FakeHost host;
    EditorState st(host, 1024, 768);
    test::FillSampleEngineCurve(st.Doc, 500, 12475.0);
    ComposeAndKeepEngineText(st.Doc);
    std::string engine = st.Doc.EngineText;
    // 20 KB of other text: sections, keys and comments a real file carries.
    for (int i = 0; engine.size() < st.Doc.EngineText.size() + 20000; ++i) {
      engine += Printf("[SECTION%d]\r\nSomeKey%d=(%d.5, %d.25)   // a comment that is kept as it is\r\n", i, i,
                    i, i);
    }
    enginePath = dir.Write("engine.ini", engine);

    std::string tire = "// tire file\r\n[COMPOUND]\r\nName=\"Bench\"\r\n";
    for (int curve = 0; curve < 4; ++curve) {
      tire += Printf("[SLIPCURVE]\r\nName=\"Curve %d\"\r\nStep=0.00250\r\nDropoffFunction=3.0\r\nData:\r\n", curve);
      std::string line;
      for (int i = 0; i < 261; ++i) {
        line += Printf("%0.6f ", 0.5 + 0.4 * std::sin(i * 0.05 + curve));
        if (line.size() >= 90 || i == 260) {
          line.back() = '\r';
          tire += line + "\n";
          line.clear();
        }
      }
      tire += "\r\n";
    }
    tire += "[TAIL]\r\nKept=1\r\n";
    tirePath = dir.Write("tires.tbc", tire);
    folder = dir.path().string();
  }

  test::TempDir dir;
  std::string folder;
  std::string enginePath;
  std::string tirePath;
};

Files& TheFiles() {
  static Files files;
  return files;
}

// The editor's state after opening a file, for the writers.
struct OpenedFile {
  explicit OpenedFile(bool tire) : st(std::make_unique<EditorState>(host, 1024, 768)) {
    if (tire) {
      ReadTireFile(st->Doc, TheFiles().tirePath);
      st->Doc.TireMode = true;
      st->Doc.EngineMode = false;
    } else {
      ReadEngineRows(st->Doc, TheFiles().enginePath);
      st->Doc.EngineLoaded = true;
      ReadEngineParameters(st->Doc);
    }
  }
  test::FakeHost host;
  std::unique_ptr<EditorState> st;
};

// --- Opening ---------------------------------------------------------------

void OpenEngine(benchmark::State& state) {
  test::FakeHost host;
  auto st = std::make_unique<EditorState>(host, 1024, 768);
  st->Doc.EngineLoaded = true;
  for (auto _ : state) {
    benchmark::DoNotOptimize(ReadEngineRows(st->Doc, TheFiles().enginePath));
    benchmark::DoNotOptimize(ReadEngineParameters(st->Doc));
  }
}

void OpenTire(benchmark::State& state) {
  test::FakeHost host;
  auto st = std::make_unique<EditorState>(host, 1024, 768);
  for (auto _ : state) benchmark::DoNotOptimize(ReadTireFile(st->Doc, TheFiles().tirePath));
}

void ReadBytes(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::string bytes;
    benchmark::DoNotOptimize(ReadFileBytes(path, bytes));
    benchmark::DoNotOptimize(bytes.data());
  }
}

void OpenEngineFloor(benchmark::State& state) { ReadBytes(state, TheFiles().enginePath); }
void OpenTireFloor(benchmark::State& state) { ReadBytes(state, TheFiles().tirePath); }

// --- Saving ----------------------------------------------------------------

// Save As over the opened file: the backup copy, then the writer.
void Save(benchmark::State& state, bool tire) {
  OpenedFile opened(tire);
  const Files& files = TheFiles();
  const std::string name = fs::path(tire ? files.tirePath : files.enginePath).filename().string();
  for (auto _ : state) {
    const int written = (tire ? WriteTireFile(opened.st->Doc, files.folder, name, files.folder, name)
                              : WriteEngineFile(opened.st->Doc, files.folder, name, files.folder, name))
                                .Status == SaveStatus::Saved;
    if (written != 1) state.SkipWithError("the save failed");
  }
}

void SaveEngine(benchmark::State& state) { Save(state, false); }
void SaveTire(benchmark::State& state) { Save(state, true); }

// The same bytes with one write and a rename; with sync, flushed to disk
// before the rename as a save that survives a power cut must be.
void WriteAndRename(benchmark::State& state, bool tire, bool sync) {
  const Files& files = TheFiles();
  std::string bytes;
  ReadFileBytes(tire ? files.tirePath : files.enginePath, bytes);
  const std::string target = files.folder + "/floor.out";
  const std::string temporary = files.folder + "/floor.tmp";
  for (auto _ : state) {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) state.SkipWithError("write");
    if (sync) ::fsync(fd);
    ::close(fd);
    ::rename(temporary.c_str(), target.c_str());
  }
}

void SaveEngineFloor(benchmark::State& state) { WriteAndRename(state, false, false); }
void SaveTireFloor(benchmark::State& state) { WriteAndRename(state, true, false); }
void SaveEngineSyncedFloor(benchmark::State& state) { WriteAndRename(state, false, true); }
void SaveTireSyncedFloor(benchmark::State& state) { WriteAndRename(state, true, true); }

// --- Painting --------------------------------------------------------------

void PaintView(benchmark::State& state, bool tire) {
  test::FakeHost host;
  auto st = std::make_unique<EditorState>(host, FullHd.width(), FullHd.height());
  ResizeView(st->View, FullHd.width(), FullHd.height());
  if (tire) {
    test::UseTireView(st->Doc, 4);
    for (SlipCurve& curve : st->Doc.SlipCurves) curve.SampleCount = 261;
    st->Doc.RowCount = 261;
  } else {
    test::FillSampleEngineCurve(st->Doc, 500, 12475.0);
  }
  QImage image(FullHd, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(qRgb(96, 96, 96));
    QPainter painter(&image);
    PaintEditorView(painter, *st, {image.rect(), false, FullHd, Qt::black, Qt::white, false});
  }
}

void PaintEngine(benchmark::State& state) { PaintView(state, false); }
void PaintTire(benchmark::State& state) { PaintView(state, true); }

// --- Dragging --------------------------------------------------------------

// The editor at 1920 x 1080 with a 500-row curve, painted into an image as
// the window would be.
struct DragView {
  DragView() : st(std::make_unique<EditorState>(host, FullHd.width(), FullHd.height())), image(FullHd, QImage::Format_RGB32) {
    // The value box tells the core of every change, as the window's does.
    host.valueBoxChanged = [this] { ValueEditNotify(*st, ValueEditCode::TextChanged); };
    ResizeView(st->View, FullHd.width(), FullHd.height());
    test::FillSampleEngineCurve(st->Doc, 500, 12475.0);
    Paint(image.rect());
  }
  void Paint(const QRect& area) {
    QPainter painter(&image);
    painter.fillRect(area, QColor(96, 96, 96));  // the window's own background
    PaintEditorView(painter, *st, {area, false, FullHd, Qt::black, Qt::white, false});
  }
  test::FakeHost host;
  std::unique_ptr<EditorState> st;
  QImage image;
};

// A full paint of the view: the floor of a drag move.
void PaintWholeView(benchmark::State& state) {
  DragView view;
  for (auto _ : state) view.Paint(view.image.rect());
}

// One mouse move of a locked torque drag, then the paint of what it asked
// to repaint.
void DragMove(benchmark::State& state) {
  DragView view;
  EditorState& st = *view.st;
  // A row the table shows, so its cells are repainted too.
  const int index = 40;
  const Point point{st.Chart.PointX[index], st.Chart.TorqueY[index]};
  EvLButtonDown(st, point);
  if (!st.Ui.TorquePicked) state.SkipWithError("the torque point was not picked");
  int k = 0;
  for (auto _ : state) {
    view.host.invalidations.clear();
    EvMouseMove(st, Point{point.x, point.y - 5 - k++ % 60});
    QRegion region;
    for (const auto& invalidation : view.host.invalidations) {
      const Rect& r = invalidation.area;
      region += QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    // The window paints each rectangle of what was asked for.
    for (const QRect& r : region) view.Paint(r);
  }
  EvLButtonUp(st, point);
}

// --- Undo and redo ---------------------------------------------------------

// One step on the 500-row engine file, undone and redone: the document, the
// view and the repaint requests, without the paint itself.
void UndoRedo(benchmark::State& state, StepKind kind) {
  test::FakeHost host;
  auto st = std::make_unique<EditorState>(host, 1024, 768);
  if (dyno::ReadEngineRows(st->Doc, TheFiles().enginePath).Result != ReadResult::Read) state.SkipWithError("not read");
  st->Doc.EngineLoaded = true;
  ReadEngineParameters(st->Doc);
  StartHistory(*st);
  BeginStep(*st, kind);
  if (kind == StepKind::Rescale) {
    RescaleValues values = BeginRescale(st->Doc);
    values.CurrentHp *= 1.1;
    ApplyRescale(st->Doc, values);
  } else {
    st->Doc.Engine.Torque[250] += 10.0;
    RecomputePower(st->Doc, 250);
  }
  EndStep(*st);
  if (st->History.Steps() != 1) state.SkipWithError("the action made no step");
  const EngineCurve after = st->Doc.Engine;
  for (auto _ : state) {
    host.invalidations.clear();
    UndoCommand(*st);
    RedoCommand(*st);
  }
  if (st->History.Position() != 1 || st->Doc.Engine.Torque != after.Torque) state.SkipWithError("the step was lost");
}

void UndoRedoDrag(benchmark::State& state) { UndoRedo(state, StepKind::Drag); }
void UndoRedoRescale(benchmark::State& state) { UndoRedo(state, StepKind::Rescale); }

// --- Spreadsheets ----------------------------------------------------------

// 500 rows as a German spreadsheet puts them on the clipboard: semicolons,
// decimal commas, CR LF, a header to match by name.
void ParsePastedRows(benchmark::State& state) {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, MaxEngineRows);
  std::string text = ComposeTableText(doc, ';', "\r\n");
  for (char& c : text) c = c == '.' ? ',' : c;
  for (auto _ : state) {
    const TableRead table = ReadTableText(text, TableShape::Engine);
    if (table.Refusal) state.SkipWithError("refused");
    benchmark::DoNotOptimize(table);
  }
}

// --- Start-up --------------------------------------------------------------

std::string ProgramFolder;

// Runs a program of the build folder to its end; returns false when it fails.
bool RunProgram(const std::string& name, const char* option = nullptr) {
  const std::string path = ProgramFolder + "/" + name;
  char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(option), nullptr};
  // The platform's remarks on stderr would drown the table.
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return false;
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void StartUp(benchmark::State& state, const char* program, const char* option = nullptr) {
  for (auto _ : state) {
    if (!RunProgram(program, option)) state.SkipWithError("the program failed");
  }
}

void StartEditor(benchmark::State& state) { StartUp(state, "startup_probe"); }
void StartEmptyWindow(benchmark::State& state) { StartUp(state, "startup_floor"); }
void StartWindowWithText(benchmark::State& state) { StartUp(state, "startup_floor", "--text"); }

// --- The table -------------------------------------------------------------

// Keeps the median of every benchmark while the console shows the runs.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.aggregate_name == "median" && !run.error_occurred) {
        medians[run.run_name.function_name] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      }
    }
  }
  std::map<std::string, double> medians;  // seconds
};

struct Row {
  const char* name;
  const char* measured;
  const char* floor;  // nullptr: an absolute goal
  double goal;        // the largest ratio, or the most milliseconds
};

const Row Rows[] = {
    {"open engine file (500 rows, 36 parameters, 20 KB)", "OpenEngine", "OpenEngineFloor", 3.0},
    {"open tire file (4 x 261 samples)", "OpenTire", "OpenTireFloor", 3.0},
    {"Save As engine file (backup + writer)", "SaveEngine", "SaveEngineFloor", 2.0},
    {"  against a write synced before its rename", "SaveEngine", "SaveEngineSyncedFloor", 2.0},
    {"Save As tire file (backup + writer)", "SaveTire", "SaveTireFloor", 2.0},
    {"  against a write synced before its rename", "SaveTire", "SaveTireSyncedFloor", 2.0},
    {"paint engine view, 500 rows, 1920 x 1080 (ms)", "PaintEngine", nullptr, 4.0},
    {"paint tire view, 4 x 261 samples, 1920 x 1080 (ms)", "PaintTire", nullptr, 4.0},
    {"one drag move at 500 rows, floor a full paint", "DragMove", "PaintWholeView", 0.25},
    {"undo + redo of a drag, 500-row engine file (ms)", "UndoRedoDrag", nullptr, 1.0},
    {"undo + redo of Rescale, 500-row engine file (ms)", "UndoRedoRescale", nullptr, 1.0},
    {"parse 500 pasted rows (ms)", "ParsePastedRows", nullptr, 1.0},
    {"start-up to the first painted window", "StartEditor", "StartEmptyWindow", 1.5},
    {"  against a window that also shows a line of text", "StartEditor", "StartWindowWithText", 1.5},
};

std::string Time(double seconds) {
  if (seconds >= 1e-3) return Printf("%.3f ms", seconds * 1e3);
  return Printf("%.1f us", seconds * 1e6);
}

void PrintTable(const std::map<std::string, double>& medians) {
  std::printf("\n%-52s %12s %12s %8s %8s\n", "name", "median", "floor", "ratio", "goal");
  for (const Row& row : Rows) {
    const auto measured = medians.find(row.measured);
    if (measured == medians.end()) {
      std::printf("%-52s %12s\n", row.name, "(not run)");
      continue;
    }
    if (row.floor == nullptr) {
      const double ms = measured->second * 1e3;
      std::printf("%-52s %12s %12s %8s %6.1fms %s\n", row.name, Time(measured->second).c_str(), "-", "-", row.goal,
                  ms <= row.goal ? "met" : "MISSED");
      continue;
    }
    const auto floor = medians.find(row.floor);
    if (floor == medians.end()) continue;
    const double ratio = measured->second / floor->second;
    std::printf("%-52s %12s %12s %8.2f %8.2f %s\n", row.name, Time(measured->second).c_str(),
                Time(floor->second).c_str(), ratio, row.goal, ratio <= row.goal ? "met" : "MISSED");
  }
}

void Register() {
  const auto add = [](const char* name, void (*function)(benchmark::State&), int repetitions) {
    benchmark::RegisterBenchmark(name, function)
        ->Repetitions(repetitions)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMicrosecond)
        ->UseRealTime()
        ->MinTime(0.1);
  };
  // Each figure stands next to its floor, so both see the same machine.
  add("OpenEngine", OpenEngine, 9);
  add("OpenEngineFloor", OpenEngineFloor, 9);
  add("OpenTire", OpenTire, 9);
  add("OpenTireFloor", OpenTireFloor, 9);
  add("SaveEngine", SaveEngine, 9);
  add("SaveEngineFloor", SaveEngineFloor, 9);
  add("SaveEngineSyncedFloor", SaveEngineSyncedFloor, 9);
  add("SaveTire", SaveTire, 9);
  add("SaveTireFloor", SaveTireFloor, 9);
  add("SaveTireSyncedFloor", SaveTireSyncedFloor, 9);
  add("PaintEngine", PaintEngine, 9);
  add("PaintTire", PaintTire, 9);
  add("PaintWholeView", PaintWholeView, 9);
  add("DragMove", DragMove, 9);
  add("UndoRedoDrag", UndoRedoDrag, 9);
  add("UndoRedoRescale", UndoRedoRescale, 9);
  add("ParsePastedRows", ParsePastedRows, 9);
  // Whole processes: fewer, longer runs.
  using Function = void (*)(benchmark::State&);
  const std::pair<const char*, Function> programs[] = {
      {"StartEditor", StartEditor}, {"StartEmptyWindow", StartEmptyWindow}, {"StartWindowWithText", StartWindowWithText}};
  for (const auto& [name, function] : programs) {
    benchmark::RegisterBenchmark(name, function)
        ->Repetitions(9)
        ->ReportAggregatesOnly(true)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime()
        ->Iterations(3);
  }
}

}  // namespace
}  // namespace dyno::bench

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Quiet the offscreen platform's remarks about window hints.
  qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type != QtWarningMsg || !message.contains(QLatin1String("propagateSizeHints"))) {
      std::fprintf(stderr, "%s\n", qPrintable(message));
    }
  });
  QStandardPaths::setTestModeEnabled(true);
  dyno::bench::ProgramFolder = std::filesystem::absolute(std::filesystem::path(argv[0])).parent_path().string();
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  dyno::bench::Register();
  dyno::bench::MedianReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  dyno::bench::PrintTable(reporter.medians);
  benchmark::Shutdown();
  return 0;
}
