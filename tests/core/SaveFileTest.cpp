#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <clocale>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/editing/EditorState.h"
#include "core/files/ComposeFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/FilePaths.h"
#include "core/files/NumberText.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"
#include "support/ChildProcess.h"
#include "support/FakeHost.h"
#include "support/SampleCurves.h"
#include "support/TempDir.h"
#include "support/WindowSteps.h"

namespace fs = std::filesystem;

namespace dyno {

using namespace dyno::test;
namespace {

// Limits the size of any file this process writes, as a full disk would; a
// write beyond it fails with EFBIG instead of raising SIGXFSZ. Works for
// root too, whom permission bits do not stop.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &previous_);
    previousHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limit = previous_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &previous_);
    signal(SIGXFSZ, previousHandler_);
  }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  rlimit previous_{};
  sighandler_t previousHandler_;
};

std::vector<std::string> FileNames(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

void SetTimes(const std::string& path, long accessSeconds, long modifySeconds) {
  const timespec times[2] = {{accessSeconds, 123456789}, {modifySeconds, 987654321}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

const std::string TireBefore = "[GENERAL]\r\nTitle=front tires\r\n\r\n";
const std::string TireAfter = "[COMPOUND]\r\nName=Soft\r\nStep=1\r\n";

std::string TireFile(int samples) {
  std::string text = TireBefore;
  for (int b = 0; b < 4; ++b) {
    text += "[SLIPCURVE]\r\nName=Curve " + std::to_string(b) + "\r\nStep=0.002\r\nDropoffFunction=-0.5\r\nData:\r\n";
    for (int i = 0; i < samples; ++i) text += (i % 7 ? " " : "") + std::to_string(i / 200.0) + (i % 7 == 6 ? "\r\n" : "");
    text += "\r\n\r\n// between " + std::to_string(b) + "\r\n";
  }
  return text + "[SLIPCURVE]\r\nName=Fifth\r\nData:\r\n0.5\r\n\r\n" + TireAfter;
}

class SaveFileTest : public ::testing::Test {
 protected:
  std::string folder() const { return dir.path().string(); }
  std::string Path(const std::string& name) const { return (dir.path() / name).string(); }

  // Opens an engine file as the Open command does.
  void OpenEngine(const std::string& name, const std::string& bytes, bool upgrade = false) {
    ASSERT_EQ(ReadEngineRows(st, dir.Write(name, bytes)), bytes.find("RPMTorque=(") != std::string::npos ? 1 : 0);
    st.Doc.EngineMode = !upgrade;
    st.Doc.UpgradeMode = upgrade;
  }
  void OpenTire(const std::string& name, const std::string& bytes) {
    ReadTireFile(st, dir.Write(name, bytes));
    st.Doc.TireMode = true;
    st.Doc.EngineMode = false;
  }
  int SaveEngine(const std::string& from, const std::string& to) {
    return WriteEngineFile(st, folder(), from, folder(), to);
  }
  int SaveTire(const std::string& from, const std::string& to) { return WriteTireFile(st, folder(), from, folder(), to); }

  test::TempDir dir;
  test::FakeHost host;
  EditorState st{host, 801, 601};
};

const std::string HandMadeEngine =
    "[ENGINE]\r\n"
    "// torque curve\r\n"
    "RPMTorque=( 0.0, -10.0, 0.0)   // idle\r\n"
    "\r\n"
    "// a comment between rows\n"
    "RPMTorque=( 1000.0, -20.0, 150.0)\n"
    "//RPMTorque=( 1500.0, -21.0, 160.0)\r\n"
    "   \t\r\n"
    "HDV=RPMTorque=( 2000.0, -25.0, 180.0)\r\n"
    "FuelEstimate=0.9   // kept\r\n"
    "[DRIVELINE]\r\n"
    "last line without end";

TEST_F(SaveFileTest, WritesAllRowsWhereTheFirstRowLineStoodAndKeepsEveryOtherLine) {
  OpenEngine("ENGINE.INI", HandMadeEngine);
  ASSERT_EQ(st.Doc.RowCount, 4);
  st.Doc.Engine.Torque[1] = 155.55;
  ASSERT_EQ(SaveEngine("ENGINE.INI", "out.ini"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("out.ini")),
            "[ENGINE]\r\n"
            "// torque curve\r\n"
            "RPMTorque=( 0.0, -10.0, 0.0)\r\n"
            "RPMTorque=( 1000.0, -20.0, 155.6)\r\n"
            "RPMTorque=( 1500.0, -21.0, 160.0)\r\n"
            "RPMTorque=( 2000.0, -25.0, 180.0)\r\n"
            "\r\n"
            "// a comment between rows\n"
            "   \t\r\n"
            "FuelEstimate=0.9   // kept\r\n"
            "[DRIVELINE]\r\n"
            "last line without end");
  EXPECT_TRUE(host.messages.empty());
  // Another name: no backup.
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"ENGINE.INI", "out.ini"}));
  // The text kept for saving is still the file as read.
  EXPECT_EQ(st.Doc.EngineText, HandMadeEngine);
}

TEST_F(SaveFileTest, AFileTheProgramWroteComesBackByteForByte) {
  for (const bool upgrade : {false, true}) {
    OpenEngine("a.ini", HandMadeEngine, upgrade);
    ASSERT_EQ(SaveEngine("a.ini", "b.ini"), 1);
    const std::string written = test::TempDir::Read(Path("b.ini"));
    EXPECT_EQ(written.find("HDV=") != std::string::npos, upgrade);
    if (upgrade) {
      EXPECT_NE(written.find("HDV=RPMTorque=( 1500.0, -21.0, 160.0)\r\n"), std::string::npos);
    }

    OpenEngine("b.ini", written, upgrade);
    ASSERT_EQ(SaveEngine("b.ini", "c.ini"), 1);
    EXPECT_EQ(test::TempDir::Read(Path("c.ini")), written) << upgrade;
  }
}

TEST_F(SaveFileTest, ATextWithoutRowLinesGivesAFileWithoutRows) {
  OpenEngine("a.ini", "[ENGINE]\r\nRPMTorque = (1, 2, 3)\r\n");
  st.Doc.RowCount = 2;  // rows from elsewhere have nowhere to go
  ASSERT_EQ(SaveEngine("a.ini", "b.ini"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("b.ini")), "[ENGINE]\r\nRPMTorque = (1, 2, 3)\r\n");
}

TEST_F(SaveFileTest, SavingOverTheOpenedFileFirstBacksItUpWithItsTimes) {
  OpenEngine("ENGINE.INI", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  // The disk file changed since it was read: the backup takes it as it is now.
  const std::string onDisk = "on disk\r\n" + std::string(30000, 'x');
  dir.Write("ENGINE.INI", onDisk);
  chmod(Path("ENGINE.INI").c_str(), 0444);
  SetTimes(Path("ENGINE.INI"), 1000000000, 1100000000);

  // Case and the way the folder is spelled do not matter.
  ASSERT_EQ(WriteEngineFile(st, folder() + "/.", "ENGINE.INI", folder(), "engine.ini"), 1);
  EXPECT_TRUE(host.messages.empty());

  struct stat backup {};
  ASSERT_EQ(stat(Path("ENGINE.IN_").c_str(), &backup), 0);
  EXPECT_EQ(backup.st_atim.tv_sec, 1000000000);
  EXPECT_EQ(backup.st_atim.tv_nsec, 123456789);
  EXPECT_EQ(backup.st_mtim.tv_sec, 1100000000);
  EXPECT_EQ(backup.st_mtim.tv_nsec, 987654321);
  EXPECT_EQ(backup.st_mode & 07777, 0644u);  // a plain writable file
  EXPECT_EQ(test::TempDir::Read(Path("ENGINE.IN_")), onDisk);

  // Names differing only in case are different files here.
  EXPECT_EQ(test::TempDir::Read(Path("engine.ini")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_EQ(test::TempDir::Read(Path("ENGINE.INI")), onDisk);

  chmod(Path("ENGINE.INI").c_str(), 0644);
  ASSERT_EQ(SaveEngine("ENGINE.INI", "ENGINE.INI"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("ENGINE.INI")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"ENGINE.INI", "ENGINE.IN_", "engine.ini"}));
}

TEST_F(SaveFileTest, ADestinationThatCannotBeCreatedIsReportedAndLeftAlone) {
  OpenEngine("a.ini", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  const std::string missing = folder() + "/no such folder";
  EXPECT_EQ(WriteEngineFile(st, folder(), "a.ini", missing, "b.ini"), 0);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "There was an error opening the output file: " + missing + "/b.ini.");
  EXPECT_EQ(host.messages[0].caption, "FILE ERROR!");

  fs::create_directory(Path("folder.ini"));
  dir.Write("folder.ini/inside", "x");
  EXPECT_EQ(SaveEngine("a.ini", "folder.ini"), 0);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "There was an error opening the output file: " + Path("folder.ini") + ".");
  EXPECT_EQ(test::TempDir::Read(Path("folder.ini/inside")), "x");

  OpenTire("t.tbc", TireFile(12));
  fs::create_directory(Path("folder.tbc"));
  EXPECT_EQ(SaveTire("t.tbc", "folder.tbc"), 0);
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[2].text, "There was an error opening the output file: " + Path("folder.tbc") + ".");
  EXPECT_EQ(host.messages[2].caption, "FILE ERROR!");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.ini", "folder.ini", "folder.tbc", "t.tbc"}));
}

TEST_F(SaveFileTest, AReadOnlyFolderOrFileIsReportedAndLeftAlone) {
  OpenEngine("a.ini", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  dir.Write("old.ini", "old");
  // Permission bits do not stop root: the checks run as an ordinary user.
  test::RunAsOrdinaryUser(dir.path(), [&] {
    chmod(Path("old.ini").c_str(), 0444);
    EXPECT_EQ(SaveEngine("a.ini", "old.ini"), 0);
    chmod(Path("old.ini").c_str(), 0644);
    chmod(folder().c_str(), 0555);
    EXPECT_EQ(SaveEngine("a.ini", "old.ini"), 0);
    // Saving over the opened file: neither the backup nor the file itself
    // can be written, and both failures are told.
    EXPECT_EQ(SaveEngine("a.ini", "a.ini"), 0);
    chmod(folder().c_str(), 0755);
    ASSERT_EQ(host.messages.size(), 4u);
    EXPECT_EQ(host.messages[0].text, "There was an error opening the output file: " + Path("old.ini") + ".");
    EXPECT_EQ(host.messages[1].text, "There was an error opening the output file: " + Path("old.ini") + ".");
    EXPECT_EQ(host.messages[2].text, "Error creating Destination File: a.in_");
    EXPECT_EQ(host.messages[2].caption, "No file copied.");
    EXPECT_EQ(host.messages[3].text, "There was an error opening the output file: " + Path("a.ini") + ".");
    EXPECT_EQ(test::TempDir::Read(Path("old.ini")), "old");
    EXPECT_EQ(test::TempDir::Read(Path("a.ini")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
    EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.ini", "old.ini"}));
  });
}

TEST_F(SaveFileTest, AReadOnlyFileSystemIsReportedAndLeftAlone) {
  const fs::path mounted = dir.path() / "ro";
  fs::create_directory(mounted);
  const std::string folder = mounted.string();
  const std::string engine = "RPMTorque=( 1.0, 2.0, 3.0)\r\n";
  const std::string tire = TireFile(12);
  const int code = test::RunOnSmallFileSystem(
      mounted, "1m", true,
      [&] {
        test::TempDir::WriteFile(mounted / "e.ini", engine);
        test::TempDir::WriteFile(mounted / "t.tbc", tire);
        ReadEngineRows(st, (mounted / "e.ini").string());
        ReadTireFile(st, (mounted / "t.tbc").string());
      },
      [&] {
        EXPECT_EQ(WriteEngineFile(st, folder, "e.ini", folder, "new.ini"), 0);
        EXPECT_EQ(WriteEngineFile(st, folder, "e.ini", folder, "e.ini"), 0);
        EXPECT_EQ(WriteTireFile(st, folder, "t.tbc", folder, "t.tbc"), 0);
        ASSERT_EQ(host.messages.size(), 5u);
        EXPECT_EQ(host.messages[0].text, "There was an error opening the output file: " + folder + "/new.ini.");
        EXPECT_EQ(host.messages[1].text, "Error creating Destination File: e.in_");
        EXPECT_EQ(host.messages[2].text, "There was an error opening the output file: " + folder + "/e.ini.");
        EXPECT_EQ(host.messages[3].text, "Error creating Destination File: t.tb_");
        EXPECT_EQ(host.messages[4].text, "There was an error opening the output file: " + folder + "/t.tbc.");
        EXPECT_EQ(test::TempDir::Read(mounted / "e.ini"), engine);
        EXPECT_EQ(test::TempDir::Read(mounted / "t.tbc"), tire);
        EXPECT_EQ(FileNames(mounted), (std::vector<std::string>{"e.ini", "t.tbc"}));
      });
  if (code == test::ChildCannotSetUp) GTEST_SKIP() << "mounting a file system is not allowed here";
  EXPECT_EQ(code, 0);
}

TEST_F(SaveFileTest, AFullFileSystemIsReportedAndTheOldFilesSurvive) {
  const fs::path mounted = dir.path() / "small";
  fs::create_directory(mounted);
  const std::string folder = mounted.string();
  std::string engine;
  for (int i = 0; i < 400; ++i) engine += "RPMTorque=( " + std::to_string(i * 10) + ".0, -1.0, 2.0)\r\n";
  engine += std::string(26000, '/') + "\r\n";
  const std::string tire = TireFile(261) + std::string(30000, '/') + "\r\n";
  const int code = test::RunOnSmallFileSystem(
      mounted, "64k", false,
      [&] {
        test::TempDir::WriteFile(mounted / "e.ini", engine);
        test::TempDir::WriteFile(mounted / "old.ini", "the old file");
      },
      [&] {
        ReadEngineRows(st, (mounted / "e.ini").string());
        // No room for the new file: the failure is told, the file stays as
        // it was, nothing is left behind. The backup needs no room: it is
        // the old file under a second name.
        EXPECT_EQ(WriteEngineFile(st, folder, "e.ini", folder, "e.ini"), 0);
        EXPECT_EQ(WriteEngineFile(st, folder, "e.ini", folder, "old.ini"), 0);
        ASSERT_EQ(host.messages.size(), 2u);
        EXPECT_EQ(host.messages[0].text, "There was an error writing the output file: " + folder + "/e.ini.");
        EXPECT_EQ(host.messages[0].caption, "FILE ERROR!");
        EXPECT_EQ(host.messages[1].text, "There was an error writing the output file: " + folder + "/old.ini.");
        EXPECT_EQ(test::TempDir::Read(mounted / "e.ini"), engine);
        EXPECT_EQ(test::TempDir::Read(mounted / "e.in_"), engine);
        EXPECT_EQ(test::TempDir::Read(mounted / "old.ini"), "the old file");
        EXPECT_EQ(FileNames(mounted), (std::vector<std::string>{"e.in_", "e.ini", "old.ini"}));

        // A backup copy (of a file that cannot take a second name: a
        // read-only one) finds no room and says so.
        ASSERT_EQ(unlink((mounted / "e.ini").c_str()), 0);
        ASSERT_EQ(unlink((mounted / "e.in_").c_str()), 0);
        test::TempDir::WriteFile(mounted / "t.tbc", tire);
        ReadTireFile(st, (mounted / "t.tbc").string());
        ASSERT_EQ(chmod((mounted / "t.tbc").c_str(), 0444), 0);
        EXPECT_EQ(WriteTireFile(st, folder, "t.tbc", folder, "t.tbc"), 0);
        ASSERT_EQ(host.messages.size(), 4u);
        EXPECT_EQ(host.messages[2].text, "Insufficient disk space on " + folder + " to copy file: t.tb_");
        EXPECT_EQ(host.messages[2].caption, "No file copied.");
        EXPECT_EQ(host.messages[3].caption, "FILE ERROR!");
        EXPECT_EQ(test::TempDir::Read(mounted / "t.tbc"), tire);
        EXPECT_EQ(FileNames(mounted), (std::vector<std::string>{"old.ini", "t.tbc"}));
      });
  if (code == test::ChildCannotSetUp) GTEST_SKIP() << "mounting a file system is not allowed here";
  EXPECT_EQ(code, 0);
}

TEST_F(SaveFileTest, AFullDiskIsReportedAndTheOldDestinationSurvives) {
  std::string bytes;
  for (int i = 0; i < 400; ++i) bytes += "RPMTorque=( " + std::to_string(i * 10) + ".0, -1.0, 2.0)\r\n";
  OpenEngine("a.ini", bytes);
  dir.Write("old.ini", "the old file");
  {
    FileSizeLimit limit(4096);
    EXPECT_EQ(SaveEngine("a.ini", "old.ini"), 0);
  }
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "There was an error writing the output file: " + Path("old.ini") + ".");
  EXPECT_EQ(host.messages[0].caption, "FILE ERROR!");
  EXPECT_EQ(test::TempDir::Read(Path("old.ini")), "the old file");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.ini", "old.ini"}));  // no leftovers

  ASSERT_EQ(SaveEngine("a.ini", "old.ini"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("old.ini")), bytes);
}

TEST_F(SaveFileTest, TheBackupIsTheOldFileItselfAndNeedsNoRoomOnTheDisk) {
  OpenEngine("e.ini", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  const std::string old(50000, 'o');
  dir.Write("e.ini", old);
  dir.Write("e.in_", "previous backup");
  SetTimes(Path("e.ini"), 1000000000, 1100000000);
  struct stat before {};
  stat(Path("e.ini").c_str(), &before);
  {
    FileSizeLimit limit(20000);  // room for the new file, not for a copy of the old
    EXPECT_EQ(SaveEngine("e.ini", "e.ini"), 1);
  }
  EXPECT_TRUE(host.messages.empty());
  EXPECT_EQ(test::TempDir::Read(Path("e.in_")), old);
  EXPECT_EQ(test::TempDir::Read(Path("e.ini")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  struct stat backup {};
  stat(Path("e.in_").c_str(), &backup);
  EXPECT_EQ(backup.st_ino, before.st_ino);
  EXPECT_EQ(backup.st_mtim.tv_sec, 1100000000);
  EXPECT_EQ(backup.st_nlink, 1u);  // the saved file is a new one

  // Saving again makes the new old file the backup, and leaves nothing else.
  EXPECT_EQ(SaveEngine("e.ini", "e.ini"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("e.in_")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"e.in_", "e.ini"}));
}

TEST_F(SaveFileTest, AFailedBackupIsReportedAndTheSaveGoesOn) {
  OpenEngine("e.ini", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  dir.Write("e.ini", "the old file");
  fs::create_directories(dir.path() / "e.in_" / "in the way");  // nothing can take this name
  EXPECT_EQ(SaveEngine("e.ini", "e.ini"), 1);
  ASSERT_EQ(host.messages.size(), 1u);
  EXPECT_EQ(host.messages[0].text, "Error creating Destination File: e.in_");
  EXPECT_EQ(host.messages[0].caption, "No file copied.");
  EXPECT_EQ(test::TempDir::Read(Path("e.ini")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"e.in_", "e.ini"}));
}

TEST_F(SaveFileTest, SavingThroughALinkReplacesTheFileItNamesAndKeepsItsPermissions) {
  OpenEngine("a.ini", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  dir.Write("target.ini", "old");
  chmod(Path("target.ini").c_str(), 0640);
  fs::create_symlink("target.ini", Path("link.ini"));
  ASSERT_EQ(SaveEngine("a.ini", "link.ini"), 1);
  EXPECT_TRUE(fs::is_symlink(Path("link.ini")));
  EXPECT_EQ(test::TempDir::Read(Path("target.ini")), "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_EQ(fs::status(Path("target.ini")).permissions(), fs::perms(0640));
}

// Switches the process to a locale for its lifetime.
class ProcessLocale {
 public:
  explicit ProcessLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    active_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~ProcessLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  ProcessLocale(const ProcessLocale&) = delete;
  ProcessLocale& operator=(const ProcessLocale&) = delete;
  bool active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

TEST_F(SaveFileTest, FilesWrittenUnderAGermanLocaleAreThoseWrittenUnderC) {
  // An engine with parameters, composed as the parameter dialog leaves it,
  // and a tire file: every number with decimals, some negative.
  test::FillSampleEngineCurve(st.Doc, 41);
  for (int i = 0; i < 41; ++i) st.Doc.Engine.Torque[i] += 0.25;
  st.Doc.Parameters.Find("FuelConsumption")->Values[0] = 6.25e-05;
  st.Doc.Parameters.Find("EngineEmission")->Values = {0.125, -0.5, 1234.5};
  st.Doc.Parameters.Find("BoostTorque")->Values[0] = -1.5;
  ComposeAndKeepEngineText(st.Doc);
  EditorState tires{host, 801, 601};
  tires.Doc.TireMode = true;
  ASSERT_EQ(ReadTireFile(tires, dir.Write("t.tbc", TireFile(40))), 1);
  for (SlipCurve& curve : tires.Doc.SlipCurves) {
    curve.Step = 0.0025;
    curve.DropoffFunction = -0.55;
    for (int i = 0; i < curve.SampleCount; ++i) curve.Samples[i] = 1.0 / (i + 3) - (i > 30 ? 0.2 : 0.0);
  }

  const auto write = [&](const char* suffix) {
    std::string engine = "engine-" + std::string(suffix) + ".ini";
    std::string tire = "tire-" + std::string(suffix) + ".tbc";
    EXPECT_EQ(WriteEngineFile(st, folder(), "none.ini", folder(), engine), 1);
    EXPECT_EQ(WriteTireFile(tires, folder(), "t.tbc", folder(), tire), 1);
    return test::TempDir::Read(Path(engine)) + test::TempDir::Read(Path(tire));
  };
  const std::string underC = write("c");
  std::string underGerman;
  {
    ProcessLocale german("de_DE.UTF-8");
    ASSERT_TRUE(german.active()) << "the de_DE.UTF-8 locale is missing; the set-up script generates it";
    char native[32];
    std::snprintf(native, sizeof native, "%.1f", 1000.5);
    ASSERT_STREQ(native, "1000,5") << "the locale is not in effect, so this test proves nothing";
    underGerman = write("de");

    // And what was written reads back the same there.
    const EngineCurve before = st.Doc.Engine;
    OpenEngine("engine-c.ini", test::TempDir::Read(Path("engine-c.ini")));
    ASSERT_EQ(st.Doc.RowCount, 41);
    for (int i = 0; i < 41; ++i) {
      EXPECT_EQ(st.Doc.Engine.Rpm[i], before.Rpm[i]);
      EXPECT_EQ(st.Doc.Engine.Torque[i], DecimalToDouble(FixedText(before.Torque[i], 1)));
    }
    st.Doc.EngineLoaded = true;
    st.Doc.Parameters = EngineParameterSet();
    ASSERT_TRUE(ReadEngineParameters(st.Doc));
    EXPECT_EQ(st.Doc.Parameters.Find("EngineEmission")->Values[2], 1234.5);
    EXPECT_EQ(st.Doc.Parameters.Find("FuelConsumption")->Values[0], 6.25e-05);
  }
  EXPECT_EQ(underGerman, underC);
  EXPECT_NE(underC.find("EngineEmission=(0.12500, -0.5000, 1234.5000)"), std::string::npos);
  EXPECT_NE(underC.find("DropoffFunction=-0.6\r\n"), std::string::npos);
  for (std::size_t i = 1; i + 1 < underC.size(); ++i) {
    EXPECT_FALSE(underC[i] == ',' && std::isdigit(static_cast<unsigned char>(underC[i - 1])) &&
                 std::isdigit(static_cast<unsigned char>(underC[i + 1])))
        << "a decimal comma at " << i;
  }
}

TEST(CopyFileWithTimes, CopiesEveryByteAndReportsEachFailure) {
  test::TempDir dir;
  test::FakeHost host;
  const std::string folder = dir.path().string();
  std::string bytes;
  for (int i = 0; i < 30000; ++i) bytes += static_cast<char>(i * 7);  // several 9216-byte chunks and a rest
  dir.Write("src.bin", bytes);
  SetTimes((dir.path() / "src.bin").string(), 5, 6);

  EXPECT_EQ(CopyFileWithTimes(host, "src.bin", folder, "dst.bin", folder), 1);
  EXPECT_EQ(fs::last_write_time(dir.path() / "dst.bin"), fs::last_write_time(dir.path() / "src.bin"));
  EXPECT_EQ(test::TempDir::Read(dir.path() / "dst.bin"), bytes);
  // A file copied onto itself stays whole.
  EXPECT_EQ(CopyFileWithTimes(host, "dst.bin", folder, "dst.bin", folder), 1);
  EXPECT_EQ(test::TempDir::Read(dir.path() / "dst.bin"), bytes);
  EXPECT_TRUE(host.messages.empty());

  EXPECT_EQ(CopyFileWithTimes(host, "none.bin", folder, "dst.bin", folder), 2);
  EXPECT_EQ(CopyFileWithTimes(host, "src.bin", folder, "dst.bin", folder + "/missing"), 0);
  dir.Write("dst.bin", "previous copy");
  {
    FileSizeLimit limit(20000);  // the disk fills up in the middle of the copy
    EXPECT_EQ(CopyFileWithTimes(host, "src.bin", folder, "dst.bin", folder), 0);
  }
  EXPECT_EQ(test::TempDir::Read(dir.path() / "dst.bin"), "previous copy");
  ASSERT_EQ(host.messages.size(), 3u);
  EXPECT_EQ(host.messages[0].text, "Error: unable to open File: none.bin");
  EXPECT_EQ(host.messages[1].text, "Error creating Destination File: dst.bin");
  EXPECT_EQ(host.messages[2].text, "Disk May be full. Error writing Destination File: " + folder + "/dst.bin");
  for (const auto& message : host.messages) EXPECT_EQ(message.caption, "No file copied.");
}

TEST_F(SaveFileTest, TireFilesKeepTheTextAroundTheCurvesAndAFifthSection) {
  OpenTire("t.tbc", TireFile(25));
  ASSERT_EQ(st.Doc.SlipCurveCount, 4);
  st.Doc.SlipCurves[2].Samples[3] = 0.75;
  ASSERT_EQ(SaveTire("t.tbc", "out.tbc"), 1);
  const std::string written = test::TempDir::Read(Path("out.tbc"));
  EXPECT_EQ(st.Doc.TireOtherText, written);

  std::string curves;
  for (int b = 0; b < 4; ++b) {
    curves += "[SLIPCURVE]\r\nName=Curve " + std::to_string(b) + "\r\nStep=0.00200\r\nDropoffFunction=-0.5\r\nData:\r\n";
    std::string samples;
    for (int i = 0; i < 25; ++i) {
      samples += b == 2 && i == 3 ? "0.750000" : std::to_string(i / 200.0);
      samples += i % 10 == 9 || i == 24 ? "\r\n" : " ";
    }
    curves += samples + "\r\n";
  }
  // The text between the read sections gives way to the curves; what follows
  // the fourth section, the fifth among it, is copied unchanged.
  const std::string tail = "// between 3\r\n[SLIPCURVE]\r\nName=Fifth\r\nData:\r\n0.5\r\n\r\n" + TireAfter;
  EXPECT_EQ(written, TireBefore + curves + tail);

  OpenTire("out.tbc", written);
  ASSERT_EQ(SaveTire("out.tbc", "again.tbc"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("again.tbc")), written);
}

TEST_F(SaveFileTest, TireOutputHasNoSizeLimitAndBacksUpTheOpenedFile) {
  const std::string big = std::string(120000, '/') + "\r\n";
  OpenTire("t.tbc", TireFile(261) + big);
  ASSERT_EQ(st.Doc.SlipCurves[0].SampleCount, 261);
  SetTimes(Path("t.tbc"), 7, 8);
  ASSERT_EQ(SaveTire("t.tbc", "t.tbc"), 1);
  const std::string written = test::TempDir::Read(Path("t.tbc"));
  EXPECT_GT(written.size(), 125000u);
  EXPECT_TRUE(written.ends_with(TireAfter + big));
  EXPECT_EQ(test::TempDir::Read(Path("t.tb_")), TireFile(261) + big);
  struct stat backup {};
  ASSERT_EQ(stat(Path("t.tb_").c_str(), &backup), 0);
  EXPECT_EQ(backup.st_mtim.tv_sec, 8);
}

// Found by fuzzing: each of these wrote a file that did not read back as
// written.
TEST_F(SaveFileTest, ValuesBeyondTheFileLimitAreWrittenAsTheLimit) {
  // A row or sample line of 300 digits was longer than a line piece: it read
  // back as another number, and its rest became a line of its own.
  OpenEngine("big.ini", "RPMTorque=( 1e300, -1e300, 1e21)\r\nRPMTorque=( 1.0, 2.0, 3.0)\r\n");
  EXPECT_EQ(st.Doc.Engine.Rpm[0], 1e300);
  ASSERT_EQ(SaveEngine("big.ini", "out.ini"), 1);
  const std::string rows =
      "RPMTorque=( 100000000000000000000.0, -100000000000000000000.0, 100000000000000000000.0)\r\n"
      "RPMTorque=( 1.0, 2.0, 3.0)\r\n";
  EXPECT_EQ(test::TempDir::Read(Path("out.ini")), rows);
  OpenEngine("out.ini", rows);
  EXPECT_EQ(st.Doc.Engine.Torque[0], MaxFileValue);

  OpenTire("big.tbc", "[SLIPCURVE]\r\nStep=-1e200\r\nData:\r\n1e300 0.5\r\n\r\n");
  ASSERT_EQ(SaveTire("big.tbc", "out.tbc"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("out.tbc")),
            "[SLIPCURVE]\r\nName=\r\nStep=-100000000000000000000.00000\r\nDropoffFunction=0.0\r\nData:\r\n"
            "100000000000000000000.000000 0.500000\r\n\r\n");
}

TEST_F(SaveFileTest, ATireFileWithoutCurvesIsWrittenBackUnchanged) {
  // Sections without "Data:" give no curve; the writer used to drop them
  // and put nothing in their place.
  const std::string bytes = "[GENERAL]\r\n[SLIPCURVE]\r\nName=Front\r\nStep=0.002\r\n0.1 0.2\r\n\r\ntail\r\n";
  OpenTire("t.tbc", bytes);
  ASSERT_EQ(st.Doc.SlipCurveCount, 0);
  ASSERT_EQ(SaveTire("t.tbc", "out.tbc"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("out.tbc")), bytes);
}

TEST_F(SaveFileTest, ACurveNamedWithDataReadsBackWhole) {
  OpenTire("t.tbc", "[SLIPCURVE]\r\nName=Data: wet\r\nData:\r\n0.1 0.2\r\n\r\n");
  ASSERT_EQ(SaveTire("t.tbc", "out.tbc"), 1);
  const std::string written = test::TempDir::Read(Path("out.tbc"));
  OpenTire("out.tbc", written);
  EXPECT_EQ(st.Doc.SlipCurves[0].Name, "Data: wet");
  EXPECT_EQ(st.Doc.SlipCurves[0].SampleCount, 2);
  ASSERT_EQ(SaveTire("out.tbc", "again.tbc"), 1);
  EXPECT_EQ(test::TempDir::Read(Path("again.tbc")), written);
}

TEST(ComposeSlipCurves, ASampleThatPrintsAsMinusZeroIsWrittenAsZero) {
  // -5e-7 is a hair smaller in size than the decimal 5e-7, so it prints as
  // "-0.000000"; starting a line, that ended the samples when read again.
  EditorDocument doc;
  doc.SlipCurveCount = 1;
  doc.SlipCurves[0].SampleCount = 12;
  for (int i = 0; i < 12; ++i) doc.SlipCurves[0].Samples[i] = i == 10 ? -5e-7 : 0.5;
  ComposeSlipCurves(doc);
  EXPECT_NE(doc.TireOtherText.find("\r\n0.000000 0.500000\r\n"), std::string::npos);
  EXPECT_EQ(doc.TireOtherText.find("-0.0"), std::string::npos);
}

TEST(ComposeSlipCurves, WrapsSamplesAtNinetyCharacters) {
  EditorDocument doc;
  doc.SlipCurveCount = 2;
  doc.SlipCurves[0].Name = "Front";
  doc.SlipCurves[0].Step = 0.002;
  doc.SlipCurves[0].DropoffFunction = -0.55;
  doc.SlipCurves[0].SampleCount = 25;
  for (int i = 0; i < 25; ++i) doc.SlipCurves[0].Samples[i] = i / 25.0;
  // Values that print as zero never print as "-0.000000", which would end
  // the samples when read again; a line grows past 90 characters rather
  // than start with a negative sample.
  doc.SlipCurves[1].SampleCount = 13;
  doc.SlipCurves[1].Samples[0] = 0.5;
  for (int i = 1; i < 10; ++i) doc.SlipCurves[1].Samples[i] = -1.5;
  doc.SlipCurves[1].Samples[10] = -2.0;
  doc.SlipCurves[1].Samples[11] = -0.0000001;
  doc.SlipCurves[1].Samples[12] = -0.0;
  doc.TireTailPos = 77;
  ComposeSlipCurves(doc);

  EXPECT_EQ(doc.TireOtherText,
            "[SLIPCURVE]\r\nName=Front\r\nStep=0.00200\r\nDropoffFunction=-0.6\r\nData:\r\n"
            "0.000000 0.040000 0.080000 0.120000 0.160000 0.200000 0.240000 0.280000 0.320000 0.360000\r\n"
            "0.400000 0.440000 0.480000 0.520000 0.560000 0.600000 0.640000 0.680000 0.720000 0.760000\r\n"
            "0.800000 0.840000 0.880000 0.920000 0.960000\r\n"
            "\r\n"
            "[SLIPCURVE]\r\nName=\r\nStep=0.00000\r\nDropoffFunction=0.0\r\nData:\r\n"
            "0.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 "
            "-1.500000 -2.000000\r\n"
            "0.000000 0.000000\r\n"
            "\r\n");
  EXPECT_EQ(doc.TireTextPos, 77);
}

// A curve bent below zero must come back whole: a line starting with a
// minus sign would end its samples when read again.
TEST_F(SaveFileTest, NegativeSamplesNeverStartALineWhileOneCanHoldThem) {
  std::string tire = "[SLIPCURVE]\r\nName=Bent\r\nStep=0.002\r\nDropoffFunction=1.0\r\nData:\r\n0.000000\r\n\r\n";
  OpenTire("t.tbc", tire);
  SlipCurve& curve = st.Doc.SlipCurves[0];
  curve.SampleCount = 261;
  for (int i = 0; i < 261; ++i) {
    // A tail below zero with a run of 20 negatives, and single ones after it.
    curve.Samples[i] = i < 100 ? 0.5 : i < 120 ? -0.25 - i / 1000.0 : (i % 7 == 0 ? -0.125 : 0.75);
  }
  const std::vector<double> written(curve.Samples.begin(), curve.Samples.begin() + 261);
  ASSERT_EQ(SaveTire("t.tbc", "out.tbc"), 1);

  const std::string out = test::TempDir::Read(Path("out.tbc"));
  std::size_t start = out.find("Data:\r\n") + 7;
  for (std::size_t end; (end = out.find("\r\n", start)) != std::string::npos && end > start; start = end + 2) {
    EXPECT_NE(out[start], '-') << out.substr(start, end - start);
    EXPECT_LE(end + 2 - start, 255u);
  }
  OpenTire("out.tbc", out);
  ASSERT_EQ(st.Doc.SlipCurves[0].SampleCount, 261);
  for (int i = 0; i < 261; ++i) EXPECT_NEAR(st.Doc.SlipCurves[0].Samples[i], written[i], 5e-7) << i;
}

TEST(SaveFileNames, BackupNameReplacesTheLastCharacter) {
  EXPECT_EQ(BackupName("ENGINE.INI"), "ENGINE.IN_");
  EXPECT_EQ(BackupName("tires.tbc"), "tires.tb_");
  EXPECT_EQ(BackupName("x"), "_");
  EXPECT_EQ(BackupName("motor.in\xc3\xa9"), "motor.in_");  // a two-byte character
  EXPECT_EQ(BackupName("a\x80"), "a_");                     // a stray byte
}

TEST(SaveFileNames, FileNameOfPathTakesThePartAfterTheLastSlash) {
  EXPECT_EQ(FileNameOfPath("/home/me/cars/ENGINE.INI"), "ENGINE.INI");
  EXPECT_EQ(FileNameOfPath("ENGINE.INI"), "ENGINE.INI");
  EXPECT_EQ(FileNameOfPath("cars\\ENGINE.INI"), "cars\\ENGINE.INI");
  EXPECT_EQ(FileNameOfPath("/home/me/"), "");
  EXPECT_EQ(JoinPath("/home/me", "a.ini"), "/home/me/a.ini");
  EXPECT_EQ(JoinPath("/home/me/", "a.ini"), "/home/me/a.ini");
}

TEST(SaveFileNames, IsSameFileComparesAbsolutePathsIgnoringCaseAndFollowsLinks) {
  test::TempDir dir;
  const std::string a = dir.Write("a.ini", "x");
  dir.Write("b.ini", "x");
  fs::create_symlink("a.ini", dir.path() / "link.ini");
  EXPECT_TRUE(IsSameFile(a, dir.path().string() + "/A.INI"));
  EXPECT_TRUE(IsSameFile(a, dir.path().string() + "/sub/../a.ini"));
  EXPECT_TRUE(IsSameFile(a, (dir.path() / "link.ini").string()));
  EXPECT_FALSE(IsSameFile(a, (dir.path() / "b.ini").string()));
  EXPECT_FALSE(IsSameFile(a, (dir.path() / "c.ini").string()));
}

TEST(DiskFreeBytes, MeasuresTheFolderFileSystem) {
  test::TempDir dir;
  EXPECT_GT(DiskFreeBytes(dir.path().string()), 0.0L);
  EXPECT_GT(DiskFreeBytes(""), 0.0L);
  EXPECT_EQ(DiskFreeBytes((dir.path() / "missing").string()), -1.0L);
}

}  // namespace
}  // namespace dyno
