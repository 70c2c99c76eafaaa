// Saving in a hostile world, and reading files that are not what they seem.
// Each scene sets up a folder, saves or reads there, and its transcript
// (what the save reported, and every file left in the folder) is compared
// with the approved one under tests/data/saving.
#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#endif

#include <algorithm>
#include <clocale>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/document/EditorDocument.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/FilePaths.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "core/platform/PlatformFile.h"
#include "support/Approval.h"
#ifndef _WIN32
#include "support/ChildProcess.h"
#endif
#include "support/DocumentDump.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;

const std::string Engine = "[ENGINE]\r\nRPMTorque=( 0.0, -10.0, 0.0)\r\nRPMTorque=( 1000.0, -20.5, 150.25)\r\n"
                           "FuelEstimate=0.9   // kept\r\n";
const std::string Tire = "[GENERAL]\r\n[SLIPCURVE]\r\nName=Front\r\nStep=0.002\r\nDropoffFunction=-0.5\r\nData:\r\n"
                         "0.1 0.5 0.9 -0.25\r\n\r\n[COMPOUND]\r\n";

#ifndef _WIN32
// Limits the size of any file this process writes, as a full disk would; a
// write beyond it fails instead of raising SIGXFSZ. Stops root too.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    handler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, handler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  sighandler_t handler_;
};

void MakeFifo(const std::string& path) { mkfifo(path.c_str(), 0644); }
#else
// Windows has neither a per-process file size limit nor FIFOs in the file
// system; the scenes that need them skip there.
struct FileSizeLimit {
  explicit FileSizeLimit(unsigned long long) {}
};
void MakeFifo(const std::string&) {}
#endif

void SetMode(const std::string& path, unsigned mode) { fs::permissions(path, static_cast<fs::perms>(mode)); }

class Scene {
 public:
  explicit Scene(fs::path folder) : folder_(std::move(folder)) {}

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  void Write(const std::string& name, const std::string& bytes) const { test::TempDir::WriteFile(folder_ / name, bytes); }

  // Opens a file there as the Open command does.
  void Open(const std::string& name) {
    doc = EditorDocument();
    doc.FileFolder = folder_.string();
    doc.FileTitle = name;
    doc.TireMode = name.ends_with(".tbc");
    doc.EngineMode = !doc.TireMode;
    const ReadOutcome read = doc.TireMode ? ReadTireFile(doc, Path(name)) : ReadEngineRows(doc, Path(name));
    Note("open " + name + ": " + Result(read));
  }

  // Saves the file opened last there under the name `to`, as Save As does.
  void Save(const std::string& to) {
    const SaveResult saved = SaveDocumentAs(doc, folder_.string(), to);
    Note("save " + doc.FileTitle + " as " + to + ": " + (saved.Status == SaveStatus::Saved ? "saved" : "failed"));
    for (const UserMessage& m : saved.Messages) Note("  \"" + m.Text + "\" \"" + m.Caption + "\"");
  }

  void Note(std::string line) {
    // Messages name the folder; Windows joins names to it with '\'.
    const std::string folder = folder_.string();
    for (std::size_t at; (at = line.find(folder)) != std::string::npos;) {
      line.replace(at, folder.size(), "<folder>");
      if (line.compare(at + 8, 1, "\\") == 0) line[at + 8] = '/';
    }
    transcript_ += line + "\n";
  }

  // The transcript, and every file in the folder with its bytes (or its
  // size, when long) and its permission bits.
  std::string Transcript() const {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder_)) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::string out = transcript_;
    for (const fs::path& file : files) {
      const fs::file_status status = fs::symlink_status(file);
      const bool regular = fs::is_regular_file(status);
      char mode[8];
      std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.permissions() & fs::perms::mask));
      out += "file " + file.filename().string() + " " + mode + (fs::is_symlink(status) ? " link" : "") + ": ";
      if (regular && fs::file_size(file) > 300) {
        out += std::to_string(fs::file_size(file)) + " bytes\n";
      } else {
        out += "\"" + (regular ? test::TempDir::Read(file) : std::string()) + "\"\n";
      }
    }
    return out;
  }

  static std::string Result(const ReadOutcome& read) {
    switch (read.Result) {
      case ReadResult::Read: return "read";
      case ReadResult::NothingFound: return "nothing found";
      case ReadResult::CannotOpen: return "cannot open";
      case ReadResult::CannotRead: return "cannot read (error " + std::to_string(read.Error) + ")";
    }
    return "?";
  }

  EditorDocument doc;

 private:
  fs::path folder_;
  std::string transcript_;
};

enum class Needs { Nothing, OrdinaryUser, SmallFileSystem, ReadOnlyFileSystem };

struct Case {
  const char* Name;
  Needs Setting;
  const char* Size;  // of the small file system
  std::function<void(Scene&)> Prepare;  // before the setting is in force
  std::function<void(Scene&)> Act;
  const char* NotOnWindows = nullptr;  // why the scene cannot be played there
};

const Case Cases[] = {
    {"into-a-missing-folder", Needs::Nothing, nullptr, [](Scene& s) { s.Write("e.ini", Engine); },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("no/such/folder.ini");
     }},
    {"onto-a-folder", Needs::Nothing, nullptr, [](Scene& s) { s.Write("e.ini", Engine), fs::create_directory(s.Path("d.ini")); },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("d.ini");
     }},
    {"over-itself-keeps-a-backup", Needs::Nothing, nullptr,
     [](Scene& s) {
       s.Write("e.ini", Engine);
       s.Write("e.in_", "an older backup");
       SetMode(s.Path("e.ini"), 0640);
     },
     [](Scene& s) {
       s.Open("e.ini");
       s.doc.Engine.Torque[1] = 175.5;
       s.Save("e.ini");
       s.Open("t.tbc");
     }},
    {"over-itself-read-only-file", Needs::OrdinaryUser, nullptr,
     [](Scene& s) {
       s.Write("e.ini", Engine);
       SetMode(s.Path("e.ini"), 0444);
     },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("e.ini");
       s.Save("other.ini");
     }},
    {"in-a-read-only-folder", Needs::OrdinaryUser, nullptr,
     [](Scene& s) {
       s.Write("e.ini", Engine);
       s.Write("old.ini", "old");
     },
     [](Scene& s) {
       s.Open("e.ini");
       SetMode(s.Path(""), 0555);
       s.Save("old.ini");
       s.Save("e.ini");
       SetMode(s.Path(""), 0755);
     }},
    {"on-a-full-disk", Needs::Nothing, nullptr,
     [](Scene& s) {
       std::string many = "[ENGINE]\r\n";
       for (int i = 0; i < 400; ++i) many += "RPMTorque=( " + std::to_string(i * 10) + ".0, -1.0, 2.0)\r\n";
       s.Write("e.ini", many);
       s.Write("old.ini", "the old file");
     },
     [](Scene& s) {
       s.Open("e.ini");
       {
         const FileSizeLimit limit(4096);
         s.Save("old.ini");
       }
       s.Save("new.ini");
     },
     "Windows has no per-process file size limit to stand for a full disk"},
    {"with-too-little-room", Needs::SmallFileSystem, "96k",
     [](Scene& s) { s.Write("e.ini", Engine + std::string(40000, '/') + "\r\n"); },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("e.ini");
     }},
    {"with-no-room-for-a-backup-copy", Needs::SmallFileSystem, "512k",
     [](Scene& s) {
       s.Write("t.tbc", Tire + std::string(280000, '/') + "\r\n");
       SetMode(s.Path("t.tbc"), 0444);
     },
     [](Scene& s) {
       s.Open("t.tbc");
       s.Save("t.tbc");
     }},
    {"on-a-read-only-file-system", Needs::ReadOnlyFileSystem, "1m",
     [](Scene& s) {
       s.Write("e.ini", Engine);
       s.Write("t.tbc", Tire);
     },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("new.ini");
       s.Save("e.ini");
       s.Open("t.tbc");
       s.Save("t.tbc");
     }},
    {"when-the-file-went-away", Needs::Nothing, nullptr, [](Scene& s) { s.Write("e.ini", Engine), s.Write("t.tbc", Tire); },
     [](Scene& s) {
       s.Open("e.ini");
       fs::remove(s.Path("e.ini"));
       s.Save("e.ini");
       s.Open("t.tbc");
       fs::remove(s.Path("t.tbc"));
       fs::create_directory(s.Path("t.tbc"));
       s.Save("t.tbc");
       MakeFifo(s.Path("pipe.tbc"));
       s.Save("pipe.tbc");
     },
     "it saves over a FIFO, which Windows file systems do not have"},
    {"through-a-link", Needs::Nothing, nullptr,
     [](Scene& s) {
       s.Write("real.ini", "old");
       SetMode(s.Path("real.ini"), 0640);
       fs::create_symlink("real.ini", s.Path("link.ini"));
       s.Write("e.ini", Engine);
     },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("link.ini");
     },
     "symbolic links need a privilege on Windows"},
    {"keeps-hard-links", Needs::Nothing, nullptr,
     [](Scene& s) {
       s.Write("e.ini", Engine);
       fs::create_hard_link(s.Path("e.ini"), s.Path("deployed.ini"));
     },
     [](Scene& s) {
       s.Open("e.ini");
       s.doc.Engine.Torque[1] = 175.5;
       s.Save("e.ini");  // deployed.ini shows it too; the backup is a copy
     }},
    {"creates-a-dangling-links-file", Needs::Nothing, nullptr,
     [](Scene& s) {
       s.Write("e.ini", Engine);
       fs::create_symlink("made.ini", s.Path("dangling.ini"));
     },
     [](Scene& s) {
       s.Open("e.ini");
       s.Save("dangling.ini");
     },
     "symbolic links need a privilege on Windows"},
    {"what-would-not-read-back-is-not-written", Needs::Nothing, nullptr, [](Scene& s) { s.Write("t.tbc", Tire); },
     [](Scene& s) {
       s.Open("t.tbc");
       SlipCurve& curve = s.doc.SlipCurves[0];
       curve.SampleCount = 60;  // negative runs too long for a line
       std::fill_n(curve.Samples.begin(), curve.SampleCount, -0.5);
       s.Save("t.tbc");
       s.Save("new.tbc");
     }},
    {"reading-what-is-no-file", Needs::Nothing, nullptr,
     [](Scene& s) {
       MakeFifo(s.Path("pipe.ini"));
       MakeFifo(s.Path("pipe.tbc"));
       fs::create_directory(s.Path("dir.ini"));
       s.Write("big.tbc", "");
       fs::resize_file(s.Path("big.tbc"), MaxFileBytes + 1);
       fs::create_symlink("/dev/zero", s.Path("zero.ini"));
     },
     [](Scene& s) {
       fs::create_symlink("/proc/self/mem", s.Path("memory.ini"));  // a plain file whose reads fail
       for (const char* name : {"pipe.ini", "dir.ini", "zero.ini", "memory.ini", "missing.ini", "pipe.tbc", "big.tbc",
                                "missing.tbc"}) {
         s.Open(name);
         s.Note(test::DumpFlags(s.doc) + "  text " + std::to_string(s.doc.EngineText.size() + s.doc.TireText.size()));
       }
     },
     "FIFOs, /dev/zero and /proc are POSIX"},
};

class Saving : public ::testing::TestWithParam<Case> {};

TEST_P(Saving, ReportsAndKeepsWhatTheApprovedTranscriptSays) {
  const Case& c = GetParam();
  test::TempDir dir;
  const fs::path folder = dir.path() / "folder";
  fs::create_directory(folder);
  // A scene acted in a child process leaves its transcript here.
  const fs::path transcript = dir.path() / "transcript.txt";
  test::TempDir::WriteFile(transcript, "");
  SetMode(transcript.string(), 0666);
  Scene scene(folder);
  const auto act = [&] {
    c.Act(scene);
    test::TempDir::WriteFile(transcript, scene.Transcript());
  };
#ifdef _WIN32
  if (c.Setting == Needs::OrdinaryUser) GTEST_SKIP() << "it switches to an ordinary user, whom POSIX permission bits stop";
  if (c.Setting != Needs::Nothing) GTEST_SKIP() << "it mounts a small Linux file system";
  if (c.NotOnWindows) GTEST_SKIP() << c.NotOnWindows;
  c.Prepare(scene);
  act();
  // Windows keeps no POSIX permission bits: the rest of each line must agree.
  const auto withoutModes = [](std::string text) {
    for (std::size_t at = 0; (at = text.find("\nfile ", at)) != std::string::npos;) {
      at = text.find(' ', text.find(' ', at + 1) + 1);
      text.erase(at, 5);
    }
    return text;
  };
  EXPECT_EQ(withoutModes("\n" + test::TempDir::Read(transcript)),
            withoutModes("\n" + test::TempDir::Read(test::DataPath(std::string("saving/") + c.Name + ".txt"))));
#else
  if (c.Setting == Needs::Nothing || c.Setting == Needs::OrdinaryUser) {
    c.Prepare(scene);
    if (c.Setting == Needs::Nothing) act();
    if (c.Setting == Needs::OrdinaryUser) test::RunAsOrdinaryUser(folder, act);
  } else {
    const bool readOnly = c.Setting == Needs::ReadOnlyFileSystem;
    const int code = test::RunOnSmallFileSystem(folder, c.Size, readOnly, [&] { c.Prepare(scene); }, act);
    if (code == test::ChildCannotSetUp) GTEST_SKIP() << "mounting a file system is not allowed here";
    EXPECT_EQ(code, 0);
  }
  test::ExpectApproved(test::TempDir::Read(transcript), std::string("saving/") + c.Name + ".txt");
#endif
}

INSTANTIATE_TEST_SUITE_P(Scenes, Saving, ::testing::ValuesIn(Cases), [](const auto& c) {
  std::string name = c.param.Name;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
});

// A German desktop writes 1000,5 for 1000.5 with printf: the files the
// editor writes and reads there are those of the "C" locale.
TEST(Saving, FilesUnderAGermanLocaleAreThoseUnderC) {
  const auto saveAll = [] {
    test::TempDir dir;
    Scene scene(dir.path());
    scene.Write("e.ini", Engine + "EngineEmission=(0.125, -0.5, 1234.5)\r\n");
    scene.Write("t.tbc", Tire);
    scene.Open("e.ini");
    scene.doc.EngineLoaded = true;
    ReadEngineParameters(scene.doc);
    ComposeAndKeepEngineText(scene.doc);
    scene.Save("e2.ini");
    scene.Open("t.tbc");
    scene.Save("t2.tbc");
    return test::TempDir::Read(scene.Path("e2.ini")) + test::TempDir::Read(scene.Path("t2.tbc")) +
           test::DumpParameters(scene.doc.Parameters);
  };
  const std::string underC = saveAll();
  const std::string previous = std::setlocale(LC_ALL, nullptr);
#ifdef _WIN32
  const char* german = "German_Germany.1252";
#else
  const char* german = "de_DE.UTF-8";  // the set-up script generates it
#endif
  ASSERT_NE(std::setlocale(LC_ALL, german), nullptr) << german;
  char native[16];
  std::snprintf(native, sizeof native, "%.1f", 1000.5);
  const std::string underGerman = saveAll();
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_STREQ(native, "1000,5") << "the locale was not in effect";
  EXPECT_EQ(underGerman, underC);
  EXPECT_NE(underC.find("EngineEmission=(0.12500, -0.5000, 1234.5000)"), std::string::npos);
}

}  // namespace
}  // namespace dyno
