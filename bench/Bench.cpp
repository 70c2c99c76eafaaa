// Measures the editor's speed, each row against a floor timed in the same
// run and in alternating batches (see Timing.h): opening and saving files
// against plain reads and synced writes of the same bytes, one drag move
// against a full paint, and start-up against a bare Qt window started the
// same way; painting, undo and redo against a goal in milliseconds.
//
//   bench [--filter=TEXT] [--pairs=N] [--batch-ms=N]
//
// --filter runs the rows whose key or name contains TEXT. Prints a table:
// per row the CPU and the wall figures, A (the editor), B (the floor), the
// median of the pair ratios A / B with their 25th to 75th percentile, the
// goal, and the verdict on the clock the row is judged by (marked *).

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <QStandardPaths>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Printf.h"
#include "Timing.h"
#include "core/curves/RangeEdits.h"
#include "core/curves/Rescale.h"
#include "core/editing/EditorState.h"
#include "core/editing/Mouse.h"
#include "core/editing/EditSteps.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/SaveFile.h"
#include "core/files/TableText.h"
#include "core/files/TireFile.h"
#include "core/platform/PlatformFile.h"
#include "gui/chart/ChartPainter.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"

extern char** environ;

namespace dyno::bench {
namespace {
using test::Printf;

namespace fs = std::filesystem;

const QSize FullHd(1920, 1080);

// Sections, keys and comments of the kind a real engine file carries besides
// its rows and parameters, numbered from first, about bytes long.
std::string OtherText(int first, std::size_t bytes) {
  std::string text;
  text.reserve(bytes + 200);
  for (int i = first; text.size() < bytes; ++i) {
    text += Printf("[SECTION%d]\r\nSomeKey%d=(%d.5, %d.25)   // a comment that is kept as it is\r\n", i, i, i, i);
  }
  return text;
}

// The files every file row works on, made once.
struct Files {
  Files() {
    test::FakeHost host;
    EditorState st(host, 1024, 768);
    test::FillSampleEngineCurve(st.Doc, 500, 12475.0);
    ComposeAndKeepEngineText(st.Doc);
    enginePath = dir.Write("engine.ini", st.Doc.EngineText + OtherText(0, 20000));
    // Rows and parameters in the middle of 50 MB: each reader goes through
    // the text before them.
    largePath = dir.Write("large.ini", OtherText(0, 25000000) + st.Doc.EngineText + OtherText(1000000, 25000000));

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
  std::string largePath;
  std::string tirePath;
};

Files& TheFiles() {
  static Files files;
  return files;
}

// The editor's state with a file opened as the window opens it.
struct OpenedFile {
  explicit OpenedFile(const std::string& path) : st(std::make_unique<EditorState>(host, 1024, 768)) { Open(path); }
  void Open(const std::string& path) {
    EditorDocument& doc = st->Doc;
    if (path.ends_with(".tbc")) {
      ReadTireFile(doc, path);
      doc.Mode = FileMode::Tire;
    } else {
      ReadEngineRows(doc, path);
      doc.EngineLoaded = true;
      ReadEngineParameters(doc);
    }
    st->Steps.Start();
  }
  test::FakeHost host;
  std::unique_ptr<EditorState> st;
};

// --- Floors of the file rows -----------------------------------------------

// The least a program does to have every byte of a file in memory: one
// buffer of the file's size, one read.
Batch ReadBytes(const std::string& path) {
  return InProcess([path] {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info {};
    ::fstat(fd, &info);
    const auto size = static_cast<std::size_t>(info.st_size);
    std::unique_ptr<char[]> bytes(new char[size]);
    std::size_t got = 0;
    while (got < size) {
      const ssize_t n = ::read(fd, bytes.get() + got, size - got);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    ::close(fd);
    if (got != size) std::fprintf(stderr, "read %zu of %zu bytes\n", got, size);
  });
}

// The same bytes put in place as a save must: a new file written, flushed
// to disk and renamed over the old one.
Batch SyncedWrite(const std::string& path) {
  std::string bytes;
  ReadFileBytes(path, bytes);
  const std::string target = TheFiles().folder + "/floor.out";
  const std::string temporary = TheFiles().folder + "/floor.tmp";
  return InProcess([bytes, target, temporary] {
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) std::fprintf(stderr, "write\n");
    ::fsync(fd);
    ::close(fd);
    ::rename(temporary.c_str(), target.c_str());
  });
}

// --- Opening and saving ----------------------------------------------------

// Open as the window does it: read, parse, and a fresh history.
Batch Open(const std::string& path) {
  auto opened = std::make_shared<OpenedFile>(path);
  return InProcess([opened, path] { opened->Open(path); });
}

// Save As over the opened file: the backup, then the writer.
Batch SaveOver(const std::string& path) {
  auto opened = std::make_shared<OpenedFile>(path);
  const std::string name = fs::path(path).filename().string();
  const std::string folder = TheFiles().folder;
  const bool tire = path.ends_with(".tbc");
  return InProcess([opened, name, folder, tire] {
    EditorDocument& doc = opened->st->Doc;
    const SaveResult saved = tire ? WriteTireFile(doc, folder, name, folder, name)
                                  : WriteEngineFile(doc, folder, name, folder, name);
    if (saved.Status != SaveStatus::Saved) std::fprintf(stderr, "the save failed\n");
  });
}

// --- Painting --------------------------------------------------------------

// The editor at 1920 x 1080 painted into an image as the window paints it:
// the view, with the window's gray background where no panel lies.
struct View {
  explicit View(bool tire) : st(std::make_unique<EditorState>(host, FullHd.width(), FullHd.height())), image(FullHd, QImage::Format_RGB32) {
    // The value box tells the core of every change, as the window's does.
    host.valueBoxChanged = [this] { ValueEditNotify(*st, ValueEditCode::TextChanged); };
    ResizeView(st->View, FullHd.width(), FullHd.height());
    if (tire) {
      test::UseTireView(st->Doc, 4);
      for (SlipCurve& curve : st->Doc.SlipCurves) curve.SampleCount = 261;
      st->Doc.RowCount = 261;
    } else {
      test::FillSampleEngineCurve(st->Doc, 500, 12475.0);
    }
    Paint(QRegion(image.rect()));
  }
  // As the window does after a step: lay the chart out, then paint.
  void Paint(const QRegion& region) {
    ComputeChartLayout(st->Chart, st->Doc, st->Session.Dyno, FullHd.width(), FullHd.height());
    QPainter painter(&image);
    PaintEditorRegion(painter, *st, region, {image.rect(), false, FullHd, Qt::black, Qt::white, QColor(96, 96, 96)});
  }
  test::FakeHost host;
  std::unique_ptr<EditorState> st;
  QImage image;
};

Batch PaintAll(bool tire) {
  auto view = std::make_shared<View>(tire);
  return InProcess([view] { view->Paint(QRegion(view->image.rect())); });
}

// One mouse move of a torque drag at 500 rows, then the paint of what it
// asked to repaint, as the window paints it.
Batch DragMove() {
  auto view = std::make_shared<View>(false);
  EditorState& st = *view->st;
  // A row the table shows, so its cells are repainted too.
  const int index = 40;
  const Point point{st.Chart.PointX[index], st.Chart.TorqueY[index]};
  OnPress(st, point);
  if (!st.Ui.TorquePicked) std::fprintf(stderr, "the torque point was not picked\n");
  auto k = std::make_shared<int>(0);
  return InProcess([view, point, k] {
    view->host.invalidations.clear();
    OnMove(*view->st, Point{point.x, point.y - 5 - (*k)++ % 60});
    QRegion region;
    for (const auto& invalidation : view->host.invalidations) {
      const Rect& r = invalidation.area;
      region += QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    }
    view->Paint(region & view->image.rect());
  });
}

// --- Undo and redo ---------------------------------------------------------

// One step on the 500-row engine file, undone and redone: the document, the
// view and the repaint requests, without the paint itself.
Batch UndoRedo(StepKind kind) {
  auto opened = std::make_shared<OpenedFile>(TheFiles().enginePath);
  EditorState& st = *opened->st;
  st.Steps.Begin(kind);
  if (kind == StepKind::Rescale) {
    RescaleValues values = BeginRescale(st.Doc, st.Session.Generator);
    values.CurrentHp *= 1.1;
    ApplyRescale(st.Doc, st.Session.Generator, values);
  } else {
    st.Doc.Engine.Torque[250] += 10.0;
    RecomputePower(st.Doc, 250);
  }
  st.Steps.End();
  if (st.History.Steps() != 1) std::fprintf(stderr, "the action made no step\n");
  return InProcess([opened] {
    opened->host.invalidations.clear();
    opened->st->Steps.Undo();
    opened->st->Steps.Redo();
  });
}

// --- Spreadsheets ----------------------------------------------------------

// 500 rows as a German spreadsheet puts them on the clipboard: semicolons,
// decimal commas, CR LF, a header to match by name.
Batch ParsePastedRows() {
  EditorDocument doc;
  test::FillSampleEngineCurve(doc, MaxEngineRows);
  std::string text = ComposeTableText(doc, DisplayUnits(), ';', "\r\n");
  for (char& c : text) c = c == '.' ? ',' : c;
  if (ReadTableText(text, TableShape::Engine).Refusal) std::fprintf(stderr, "the pasted rows were refused\n");
  return InProcess([text] {
    const TableRead table = ReadTableText(text, TableShape::Engine);
    if (table.Refusal) std::fprintf(stderr, "refused\n");
  });
}

// --- Range editing ---------------------------------------------------------

// One operation over all 500 rows of the torque column, power following.
Batch AdjustAllRows(RangeOperation operation, double amount) {
  auto doc = std::make_shared<EditorDocument>();
  test::FillSampleEngineCurve(*doc, MaxEngineRows);
  const std::array<double, MaxEngineRows> torque = doc->Engine.Torque;
  return InProcess([doc, torque, operation, amount] {
    // Each run starts from the same curve: repeated scaling would leave a
    // file's range.
    EngineCurve& e = doc->Engine;
    e.Torque = torque;
    const EditOutcome outcome =
        AdjustRange(e.Torque, e.Rpm, {0, MaxEngineRows - 1}, operation, amount, "Torque");
    for (int i = 0; i < MaxEngineRows; ++i) RecomputePower(*doc, i);
    if (outcome.Message) std::fprintf(stderr, "refused\n");
  });
}

// --- Start-up --------------------------------------------------------------

std::string ProgramFolder;

// Runs a program of the build folder to its end, every run the same way:
// the time from its start to its end and the CPU time it used.
Batch Program(const std::string& name, const char* option, const char* option2 = nullptr) {
  return [path = ProgramFolder + "/" + name, option, option2](int count) {
    Cost total;
    for (int i = 0; i < count; ++i) {
      char* argv[] = {const_cast<char*>(path.c_str()), const_cast<char*>(option), const_cast<char*>(option2), nullptr};
      // The platform's remarks on stderr would drown the table.
      posix_spawn_file_actions_t actions;
      posix_spawn_file_actions_init(&actions);
      posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
      pid_t pid = 0;
      const double wall0 = Seconds(CLOCK_MONOTONIC);
      const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
      posix_spawn_file_actions_destroy(&actions);
      int status = 0;
      rusage usage{};
      if (spawned != 0 || wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s failed\n", path.c_str());
      }
      total.wall += Seconds(CLOCK_MONOTONIC) - wall0;
      total.cpu += Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
    }
    return Cost{total.cpu / count, total.wall / count};
  };
}

// --- The table -------------------------------------------------------------

enum class Clock { Cpu, Wall };

struct Row {
  const char* key;
  const char* name;
  std::function<Batch()> a;
  std::function<Batch()> b;  // none: a goal in milliseconds
  Clock judged;
  double goal;
  int most = 1 << 20;  // the largest batch
};

std::vector<Row> Rows() {
  return {
      {"open-engine", "open engine file (500 rows, 36 parameters, 20 KB)", [] { return Open(TheFiles().enginePath); },
       [] { return ReadBytes(TheFiles().enginePath); }, Clock::Cpu, 3.0},
      {"open-tire", "open tire file (4 x 261 samples)", [] { return Open(TheFiles().tirePath); },
       [] { return ReadBytes(TheFiles().tirePath); }, Clock::Cpu, 3.0},
      {"open-large", "open engine file of 50 MB", [] { return Open(TheFiles().largePath); },
       [] { return ReadBytes(TheFiles().largePath); }, Clock::Cpu, 3.0, 1},
      {"save-engine", "Save As engine file over itself (backup + writer)", [] { return SaveOver(TheFiles().enginePath); },
       [] { return SyncedWrite(TheFiles().enginePath); }, Clock::Wall, 1.5},
      {"save-tire", "Save As tire file over itself (backup + writer)", [] { return SaveOver(TheFiles().tirePath); },
       [] { return SyncedWrite(TheFiles().tirePath); }, Clock::Wall, 1.5},
      {"paint-engine", "paint engine view, 500 rows, 1920 x 1080 (ms)", [] { return PaintAll(false); }, nullptr,
       Clock::Cpu, 1.5},
      {"paint-tire", "paint tire view, 4 x 261 samples, 1920 x 1080 (ms)", [] { return PaintAll(true); }, nullptr,
       Clock::Cpu, 1.5},
      {"drag", "one drag move at 500 rows, floor a full paint", DragMove, [] { return PaintAll(false); }, Clock::Cpu,
       0.1},
      {"undo-drag", "undo + redo of a drag, 500-row engine file (ms)", [] { return UndoRedo(StepKind::Drag); },
       nullptr, Clock::Cpu, 1.0},
      {"undo-rescale", "undo + redo of Rescale, 500-row engine file (ms)",
       [] { return UndoRedo(StepKind::Rescale); }, nullptr, Clock::Cpu, 1.0},
      {"paste", "read 500 pasted rows (German spreadsheet) (ms)", ParsePastedRows, nullptr, Clock::Cpu, 1.0},
      {"smooth", "Smooth over 500 rows, power following (ms)", [] { return AdjustAllRows(RangeOperation::Smooth, 0); },
       nullptr, Clock::Cpu, 1.0},
      {"scale", "Scale by 105 % over 500 rows, power following (ms)",
       [] { return AdjustAllRows(RangeOperation::Scale, 105); }, nullptr, Clock::Cpu, 1.0},
      {"start-paint", "start-up to the first paint, floor a bare window",
       [] { return Program("startup_probe", nullptr); }, [] { return Program("startup_floor", nullptr); }, Clock::Wall,
       1.5, 1},
      {"start-paint-text", "  floor a bare window that shows a line of text",
       [] { return Program("startup_probe", nullptr); }, [] { return Program("startup_floor", "--text"); },
       Clock::Wall, 1.5, 1},
      {"start-ready", "start-up to the first idle after the first paint",
       [] { return Program("startup_probe", "--idle"); }, [] { return Program("startup_floor", "--idle"); },
       Clock::Wall, 1.2, 1},
      {"start-ready-text", "  floor a bare window that shows a line of text",
       [] { return Program("startup_probe", "--idle"); }, [] { return Program("startup_floor", "--text", "--idle"); },
       Clock::Wall, 1.2, 1},
  };
}

std::string Time(double seconds) {
  if (std::isnan(seconds)) return "-";
  if (seconds >= 1e-3) return Printf("%.3f ms", seconds * 1e3);
  return Printf("%.1f us", seconds * 1e6);
}

void PrintRow(const Row& row, const Outcome& outcome) {
  for (const Clock clock : {Clock::Cpu, Clock::Wall}) {
    const Figures& f = clock == Clock::Cpu ? outcome.cpu : outcome.wall;
    const bool judged = clock == row.judged;
    std::string spread;
    std::string ratio = "-";
    std::string goal;
    std::string verdict;
    bool met = false;
    if (row.b) {
      ratio = Printf("%.3f", f.ratio);
      spread = Printf("%.3f - %.3f", f.low, f.high);
      goal = Printf("<= %.2f", row.goal);
      met = f.ratio <= row.goal;
    } else {
      spread = Time(f.low) + " - " + Time(f.high);
      goal = Printf("<= %.2f ms", row.goal);
      met = f.a * 1e3 <= row.goal;
    }
    if (judged) verdict = met ? "met" : "MISSED";
    std::printf("%-52s %-5s %11s %11s %7s  %-23s %-11s %s\n", clock == Clock::Cpu ? row.name : "",
                judged ? (clock == Clock::Cpu ? "cpu *" : "wall*") : (clock == Clock::Cpu ? "cpu" : "wall"),
                Time(f.a).c_str(), row.b ? Time(f.b).c_str() : "-", ratio.c_str(), spread.c_str(),
                judged ? goal.c_str() : "", verdict.c_str());
  }
  std::fflush(stdout);
}

int Run(int argc, char* argv[]) {
  TimingOptions options;
  std::string filter;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.starts_with("--filter=")) {
      filter = arg.substr(9);
    } else if (arg.starts_with("--pairs=")) {
      options.pairs = std::max(15, std::atoi(arg.c_str() + 8));
    } else if (arg.starts_with("--batch-ms=")) {
      options.batchSeconds = std::max(1, std::atoi(arg.c_str() + 11)) * 1e-3;
    } else {
      std::fprintf(stderr, "usage: bench [--filter=TEXT] [--pairs=N (at least 15)] [--batch-ms=N]\n");
      return 2;
    }
  }
  std::printf("%d pairs a row, A B A B ...; batches of at least %.0f ms; ratio: median of the pair ratios A / B\n",
              options.pairs, options.batchSeconds * 1e3);
  std::printf("%-52s %-5s %11s %11s %7s  %-23s %-11s %s\n", "row", "clock", "A", "B", "ratio", "p25 - p75", "goal",
              "");
  for (const Row& row : Rows()) {
    if (!filter.empty() && !std::strstr(row.key, filter.c_str()) && !std::strstr(row.name, filter.c_str())) continue;
    const Batch a = row.a();
    const Batch b = row.b ? row.b() : Batch();
    PrintRow(row, TimePairs(a, b, options, row.most));
  }
  return 0;
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
  int qtArgc = 1;
  QApplication app(qtArgc, argv);
  return dyno::bench::Run(argc, argv);
}
