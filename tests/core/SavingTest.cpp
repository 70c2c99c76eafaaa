// Files in a hostile world. Each scene tests/data/saving/<scene>.txt sets up
// a folder, then reads, replaces, backs up, copies or saves files there as
// the editor does; its transcript (each command with what it reported, then
// every file left in the folder) is compared with <scene>.transcript. The
// scenes run on Windows too, but for those naming a POSIX-only reason; there
// only the owner's write bit of each file's permissions is compared.
#ifndef _WIN32
#include <grp.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <clocale>
#include <filesystem>
#include <functional>
#include <map>
#include <sstream>
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
#include "support/DocumentDump.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32
const char* const NullDevice = "/dev/null";

// Exit code of a child whose set-up is not possible here; the test skips.
constexpr int ChildCannotSetUp = 77;

// Runs body in a forked child after setUp (which returns false when the
// machine does not allow it) and gives the child's exit code: 0 when body
// raised no test failure, 1 when it did (its failures are printed by the
// child), ChildCannotSetUp, or -1 when the child died.
int RunInChild(const std::function<bool()>& setUp, const std::function<void()>& body) {
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (!setUp()) _exit(ChildCannotSetUp);
    body();
    std::fflush(nullptr);
    _exit(::testing::Test::HasFailure() ? 1 : 0);
  }
  int status = 0;
  if (waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

#else
const char* const NullDevice = "NUL";

// Windows has no FIFOs in the file system; the scenes that need them are POSIX-only.
int mkfifo(const char*, int) { return -1; }
#endif

// The bytes of a script line after its first `words` words.
std::string Rest(const std::string& line, int words) {
  std::size_t at = 0;
  for (int i = 0; i < words; ++i) {
    at = line.find(' ', at);
    if (at == std::string::npos) return {};
    ++at;
  }
  return test::Unescape(line.substr(at));
}

// A time long past, in whole seconds, which every file system keeps.
fs::file_time_type OldTime() {
  return std::chrono::floor<std::chrono::days>(fs::file_time_type::clock::now()) - std::chrono::days(400);
}

const char* const ReadNames[] = {"ok", "cannot open", "cannot read"};
const char* const WriteNames[] = {"ok", "cannot create", "cannot replace", "cannot write", "cannot write back"};
const char* const CopyNames[] = {"ok",         "cannot open source", "no room", "cannot create destination",
                                 "cannot read source", "cannot write destination"};
const char* const OpenNames[] = {"read", "nothing found", "cannot open", "cannot read"};

class Scene {
 public:
  explicit Scene(fs::path folder) : folder_(std::move(folder)) {}

  // The UTF-8 path of a name in the folder; <device> is the system's null device.
  std::string Path(const std::string& name) const {
    return name == "<device>" ? NullDevice : JoinPath(Utf8FromPath(folder_), name);
  }
  fs::path FsPath(const std::string& name) const { return PathFromUtf8(Path(name)); }

  // Plays one line of a scene.
  void Run(const std::string& line) {
    Note("> " + line);
    std::istringstream in(line);
    std::string command, a, b;
    in >> command >> a >> b;
    a = test::Unescape(a);
    const std::map<std::string, std::function<void()>> commands = {
        {"file", [&] { test::TempDir::WriteFile(FsPath(a), Rest(line, 2)); }},
        {"append", [&] {
          std::string bytes = test::TempDir::Read(FsPath(a));
          for (int i = 0; i < std::stoi(b); ++i) bytes += Rest(line, 3);
          test::TempDir::WriteFile(FsPath(a), bytes);
        }},
        {"mode", [&] { fs::permissions(FsPath(a), static_cast<fs::perms>(std::stoi(b, nullptr, 8))); }},
        {"mkdir", [&] { fs::create_directories(FsPath(a)); }},
        {"root-owned", [&] { rootOwned.push_back(FsPath(a)); }},  // kept by "needs ordinary-user"
        {"symlink", [&] { fs::create_symlink(PathFromUtf8(b), FsPath(a)); }},
        {"hardlink", [&] { fs::create_hard_link(FsPath(b), FsPath(a)); }},
        {"fifo", [&] { mkfifo(Path(a).c_str(), 0644); }},
        {"remove", [&] { fs::remove(FsPath(a)); }},
        {"resize", [&] { fs::resize_file(FsPath(a), std::stoull(b)); }},
        {"age", [&] { fs::last_write_time(FsPath(a), OldTime()); }},
        {"time", [&] { Note(fs::last_write_time(FsPath(a)) == OldTime() ? "  the old time" : "  a new time"); }},
        {"limit", [&] {
#ifndef _WIN32
          // Limits the size of any file this process writes, as a full disk would, for root too; the program
          // itself must keep SIGXFSZ from ending it. Windows has no such limit: the scenes that set one are POSIX-only.
          rlimit limit{};
          getrlimit(RLIMIT_FSIZE, &limit);
          limit.rlim_cur = a == "off" ? limit.rlim_max : std::stoull(a);
          setrlimit(RLIMIT_FSIZE, &limit);
#endif
        }},
        {"open", [&] { Open(a); }},
        // "save NAME overwrite": the user said to write over other changes.
        {"save", [&] { Save(a, b == "overwrite"); }},
        {"torque", [&] { doc.Engine.Torque[std::stoul(a)] = std::stod(b); }},
        {"samples", [&] {
          SlipCurve& curve = doc.SlipCurves[0];
          curve.SampleCount = std::stoi(a);
          std::fill_n(curve.Samples.begin(), curve.SampleCount, std::stod(b));
        }},
        {"compose", [&] {  // as OK in the parameter dialog does
          doc.EngineLoaded = true;
          ReadEngineParameters(doc);
          ComposeAndKeepEngineText(doc);
          Note(test::DumpParameters(doc.Parameters));
        }},
        {"locale", [&] {
          // A German desktop writes 1000,5 for 1000.5 with printf.
#ifdef _WIN32
          const char* german = "German_Germany.1252";
#else
          const char* german = "de_DE.UTF-8";  // the set-up script generates it
#endif
          const char* set = std::setlocale(LC_ALL, a == "german" ? german : "C");
          char native[16];
          std::snprintf(native, sizeof native, "%.1f", 1000.5);
          Note(std::string("  ") + (set ? "" : "cannot be set: ") + native);
        }},
        {"flags", [&] {
          const std::size_t text = doc.EngineText.size() + doc.TireText.size();
          Note(test::DumpFlags(doc, EditorSession(), false) + "  text " + std::to_string(text));
        }},
        {"replace", [&] { Tell(WriteNames, WriteFileReplacing(Path(a), Rest(line, 2))); }},
        {"create", [&] { Tell(WriteNames, WriteFileReplacing(Path(a), Rest(line, 3), std::stoi(b, nullptr, 8))); }},
        {"read", [&] {
          std::string bytes = "unchanged";
          const FileReadResult read = ReadFileBytes(Path(a), bytes);
          const bool errorTold = (read.Status == ReadStatus::Ok) == (read.Error == 0);
          Note(std::string("  ") + ReadNames[static_cast<int>(read.Status)] +
               (errorTold ? "" : " (error number wrong)") + ": \"" + bytes + "\"");
        }},
        {"link", [&] { Note(LinkFile(Path(a), Path(test::Unescape(b))) ? "  linked" : "  not linked"); }},
        {"copy", [&] { Tell(CopyNames, CopyFileKeepingTimes(Path(a), Path(test::Unescape(b)))); }},
        {"free", [&] {
          const long double free = FreeBytes(a == "-" ? "" : Path(a));
          Note(free > 0 ? "  some" : free == -1.0L ? "  unknown" : "  none");
        }},
        {"same", [&] { Note(IsSameFile(Path(a), Path(test::Unescape(b))) ? "  the same file" : "  another file"); }},
    };
    if (const auto found = commands.find(command); found != commands.end()) {
      found->second();
    } else {
      ADD_FAILURE() << "no such command: " << line;
    }
  }

  // Opens a file there as the Open command does.
  void Open(const std::string& name) {
    doc = EditorDocument();
    doc.Mode = name.ends_with(".tbc") ? FileMode::Tire : FileMode::Engine;
    DataFile& file = doc.Mode == FileMode::Tire ? doc.TireFile : doc.EngineFile;
    file.Path = Path(name);
    file.Title = name;
    file.Folder = Utf8FromPath(folder_);
    const ReadOutcome read =
        doc.Mode == FileMode::Tire ? ReadTireFile(doc, Path(name)) : ReadEngineRows(doc, Path(name));
    file.Stamp = read.Stamp;
    const bool cannotRead = read.Result == ReadResult::CannotRead;
    Note("  " + std::string(OpenNames[static_cast<int>(read.Result)]) +
         (cannotRead ? " (error " + std::to_string(read.Error) + ")" : ""));
  }

  // Saves the file opened last there under the name `to`, as Save As does.
  void Save(const std::string& to, bool overwrite) {
    const SaveResult saved = SaveDocumentAs(doc, Utf8FromPath(folder_), to, {.OverwriteChangedFile = overwrite});
    const char* const status[] = {"  saved", "  failed", "  changed on disk: asks"};
    Note(status[static_cast<int>(saved.Status)]);
    for (const UserMessage& m : saved.Messages) Note("  \"" + m.Text + "\" \"" + m.Caption + "\"");
  }

  // The name of a status, as a line of the transcript.
  template <typename Status>
  void Tell(const char* const* names, Status status) {
    Note(std::string("  ") + names[static_cast<int>(status)]);
  }

  void Note(std::string line) {
    // Messages name the folder; Windows joins names to it with '\'.
    const std::string folder = Utf8FromPath(folder_);
    for (std::size_t at; (at = line.find(folder)) != std::string::npos;) {
      line.replace(at, folder.size(), "<folder>");
      if (line.compare(at + 8, 1, "\\") == 0) line[at + 8] = '/';
    }
    transcript_ += line + "\n";
  }

  // The transcript, and every file in the folder and below with its bytes
  // (or its size, when long) and its permission bits.
  std::string Transcript() const {
    std::vector<std::pair<std::string, fs::path>> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder_)) {
      std::string name = Utf8FromPath(entry.path().lexically_relative(folder_));
      std::replace(name.begin(), name.end(), '\\', '/');
      files.emplace_back(name, entry.path());
    }
    std::sort(files.begin(), files.end());
    std::string out = transcript_;
    for (const auto& [name, file] : files) {
      const fs::file_status status = fs::symlink_status(file);
      const bool regular = fs::is_regular_file(status);
      char mode[8];
      std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.permissions() & fs::perms::mask));
      out += std::string("file ") + mode + " " + name + (fs::is_symlink(status) ? " link" : "") + ": ";
      if (regular && fs::file_size(file) > 300) {
        out += std::to_string(fs::file_size(file)) + " bytes\n";
      } else {
        out += "\"" + (regular ? test::TempDir::Read(file) : std::string()) + "\"\n";
      }
    }
    return out;
  }

  EditorDocument doc;
  std::vector<fs::path> rootOwned;

 private:
  fs::path folder_;
  std::string transcript_;
};

class Saving : public ::testing::TestWithParam<std::string> {};

// A scene's first lines may say what it needs: "needs ordinary-user" (one
// whom permission bits stop), "needs own-process" (one that may die),
// "needs small-file-system SIZE" or "needs read-only-file-system SIZE"
// (filled by the lines before "act"), and "posix-only REASON".
TEST_P(Saving, ReportsAndLeavesWhatTheApprovedTranscriptSays) {
  std::istringstream script(test::TempDir::Read(test::DataPath("saving/" + GetParam() + ".txt")));
  std::string needs, size, posixOnly;
  std::vector<std::string> prepare, act;
  for (std::string line; std::getline(script, line);) {
    std::istringstream words(line);
    std::string first;
    words >> first;
    if (first == "needs") {
      words >> needs >> size;
    } else if (first == "posix-only") {
      posixOnly = Rest(line, 1);
    } else if (first == "act") {
      prepare.swap(act);
    } else if (!first.empty() && first[0] != '#') {
      act.push_back(line);
    }
  }
  test::TempDir dir;
  const fs::path folder = dir.path() / "folder";
  fs::create_directory(folder);
  // A scene acted in a child process leaves its transcript here.
  const fs::path transcript = dir.path() / "transcript.txt";
  test::TempDir::WriteFile(transcript, "");
  fs::permissions(transcript, static_cast<fs::perms>(0666));
  Scene scene(folder);
  const auto play = [&](const std::vector<std::string>& lines) {
    for (const std::string& line : lines) scene.Run(line);
  };
  const auto playAct = [&] {
    play(act);
    test::TempDir::WriteFile(transcript, scene.Transcript());
  };
  const std::string reference = "saving/" + GetParam() + ".transcript";
  // Otherwise the lines before "act" fill the small file system the scene needs.
  const bool mounts = !needs.empty() && needs != "ordinary-user" && needs != "own-process";
#ifdef _WIN32
  // The read-only attribute stops every user.
  if (mounts) GTEST_SKIP() << "it mounts a small Linux file system";
  if (!posixOnly.empty()) GTEST_SKIP() << posixOnly;
  play(prepare);
  playAct();
  // Windows keeps no POSIX permission bits, only whether the owner may write.
  const auto writeBits = [](std::string text) {
    for (std::size_t at = 0; (at = text.find("\nfile ", at)) != std::string::npos;) {
      at += 6;
      text.replace(at, 4, (text[at + 1] & 2) != 0 ? "w" : "r");
    }
    return text;
  };
  EXPECT_EQ(writeBits(test::TempDir::Read(transcript)), writeBits(test::TempDir::Read(test::DataPath(reference))));
#else
  if (!mounts) play(prepare);
  if (needs.empty()) {
    playAct();
  } else if (needs == "ordinary-user" && geteuid() != 0) {
    playAct();
  } else if (needs == "ordinary-user") {
    // As it is when the tests run as root: in a child that takes the user
    // "nobody" and owns the folder and everything in it but the files the
    // scene keeps root-owned.
    constexpr uid_t nobody = 65534;
    std::error_code ignored;
    if (chown(folder.c_str(), nobody, nobody) != 0) ADD_FAILURE() << "cannot hand " << folder << " over";
    for (const auto& entry : fs::recursive_directory_iterator(folder, ignored)) {
      if (std::find(scene.rootOwned.begin(), scene.rootOwned.end(), entry.path()) != scene.rootOwned.end()) continue;
      if (lchown(entry.path().c_str(), nobody, nobody) != 0) ADD_FAILURE() << "cannot hand " << entry.path() << " over";
    }
    const auto becomeNobody = [] { return setgroups(0, nullptr) == 0 && setgid(nobody) == 0 && setuid(nobody) == 0; };
    EXPECT_EQ(RunInChild(becomeNobody, playAct), 0) << "the checks made as an ordinary user failed (see above)";
  } else if (needs == "own-process") {
    EXPECT_EQ(RunInChild([] { return true; }, playAct), 0) << "the process died";
  } else {
    // A tmpfs of the given size mounted on the folder in a mount namespace of
    // the child's own (it goes away with the child), read-only when asked
    // once the lines before "act" have filled it.
    const int code = RunInChild(
        [&] {
          if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
          if (mount("tmpfs", folder.c_str(), "tmpfs", 0, ("size=" + size).c_str()) != 0) return false;
          play(prepare);
          const bool readOnly = needs == "read-only-file-system";
          return !readOnly || mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
        },
        playAct);
    if (code == ChildCannotSetUp) GTEST_SKIP() << "mounting a file system is not allowed here";
    EXPECT_EQ(code, 0);
  }
  test::ExpectApproved(test::TempDir::Read(transcript), reference);
#endif
}

INSTANTIATE_TEST_SUITE_P(Scenes, Saving, ::testing::ValuesIn(test::ScriptsIn("saving")), test::ScriptTestName);

}  // namespace
}  // namespace dyno
