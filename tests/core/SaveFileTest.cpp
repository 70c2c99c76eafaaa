#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/EditorState.h"
#include "files/EngineFile.h"
#include "files/SaveFile.h"
#include "files/TireFile.h"
#include "support/FakeHost.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace dyno {
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
  EXPECT_EQ(FileNames(dir.path()), (std::vector<std::string>{"a.ini", "folder.ini"}));
}

TEST_F(SaveFileTest, AReadOnlyFolderOrFileIsReportedAndLeftAlone) {
  if (geteuid() == 0) GTEST_SKIP() << "permission bits do not stop root";
  OpenEngine("a.ini", "RPMTorque=( 1.0, 2.0, 3.0)\r\n");
  dir.Write("old.ini", "old");
  chmod(Path("old.ini").c_str(), 0444);
  EXPECT_EQ(SaveEngine("a.ini", "old.ini"), 0);
  chmod(Path("old.ini").c_str(), 0644);
  chmod(folder().c_str(), 0555);
  EXPECT_EQ(SaveEngine("a.ini", "old.ini"), 0);
  chmod(folder().c_str(), 0755);
  ASSERT_EQ(host.messages.size(), 2u);
  EXPECT_EQ(host.messages[1].text, "There was an error opening the output file: " + Path("old.ini") + ".");
  EXPECT_EQ(test::TempDir::Read(Path("old.ini")), "old");
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

TEST(ComposeSlipCurves, WrapsSamplesAtNinetyCharacters) {
  EditorDocument doc;
  doc.SlipCurveCount = 2;
  doc.SlipCurves[0].Name = "Front";
  doc.SlipCurves[0].Step = 0.002;
  doc.SlipCurves[0].DropoffFunction = -0.55;
  doc.SlipCurves[0].SampleCount = 25;
  for (int i = 0; i < 25; ++i) doc.SlipCurves[0].Samples[i] = i / 25.0;
  // Negative samples go nine to a line; values that print as zero never
  // print as "-0.000000", which would end the samples when read again.
  doc.SlipCurves[1].SampleCount = 11;
  for (int i = 0; i < 9; ++i) doc.SlipCurves[1].Samples[i] = -1.5;
  doc.SlipCurves[1].Samples[9] = -0.0000001;
  doc.SlipCurves[1].Samples[10] = -0.0;
  doc.TireTailPos = 77;
  ComposeSlipCurves(doc);

  EXPECT_EQ(doc.TireOtherText,
            "[SLIPCURVE]\r\nName=Front\r\nStep=0.00200\r\nDropoffFunction=-0.6\r\nData:\r\n"
            "0.000000 0.040000 0.080000 0.120000 0.160000 0.200000 0.240000 0.280000 0.320000 0.360000\r\n"
            "0.400000 0.440000 0.480000 0.520000 0.560000 0.600000 0.640000 0.680000 0.720000 0.760000\r\n"
            "0.800000 0.840000 0.880000 0.920000 0.960000\r\n"
            "\r\n"
            "[SLIPCURVE]\r\nName=\r\nStep=0.00000\r\nDropoffFunction=0.0\r\nData:\r\n"
            "-1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000 -1.500000\r\n"
            "0.000000 0.000000\r\n"
            "\r\n");
  EXPECT_EQ(doc.TireTextPos, 77);
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
