// The platform file functions on real files in a temporary folder, the same
// cases on Linux and on Windows (there under Wine too). Where the systems
// differ the expectation says so; a case that cannot be made on one system
// is skipped with the reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "support/ChildProcess.h"
#endif

#include "core/files/FilePaths.h"
#include "core/platform/PlatformFile.h"
#include "support/Utf8Folder.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using test::Utf8Folder;
using Names = std::vector<std::string>;

const std::string Umlaut = "Motor-\xC3\xBC.ini";                  // Motor-ü.ini
const std::string Emoji = "\xF0\x9F\x8F\x8E Motor-\xC3\xBC.ini";  // U+1F3CE racing car

// An engine file's kind of bytes, with what a text mode would spoil: CR LF,
// lone CR and LF, NUL, Ctrl-Z, bytes above 127; and longer than one read.
std::string HostileBytes() {
  std::string bytes = "[ENGINE]\r\nRPMTorque=( 1000.0, -20.0, 150.0)\r\n";
  const char controls[] = "lone\rcr\nlf\0nul\x1A" "ctrl-z\xFF\xC3\xBC\r\n";
  bytes.append(controls, sizeof controls - 1);
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

fs::file_time_type ModificationTime(const std::string& path) { return fs::last_write_time(PathFromUtf8(path)); }

// A time long past, in whole seconds, which every file system keeps.
fs::file_time_type OldTime() {
  const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24 * 400);
  return std::chrono::time_point_cast<std::chrono::seconds>(old);
}

// Names in the order Utf8Folder::Names gives them.
Names Sorted(Names names) {
  std::sort(names.begin(), names.end());
  return names;
}

// ASCII letters in lower case, as another spelling of the same name where
// letter case does not count.
std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

void MakeReadOnly(const std::string& path) {
  fs::permissions(PathFromUtf8(path), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
}

bool IsReadOnly(const std::string& path) {
  return (fs::status(PathFromUtf8(path)).permissions() & fs::perms::owner_write) == fs::perms::none;
}

// Runs checks as a user whom a read-only file stops. Linux lets root write
// any file, so there they run in a child as the user "nobody"; on Windows
// the read-only attribute is the refusal, for every user.
void AsOrdinaryUser(const Utf8Folder& folder, const std::function<void()>& checks) {
#ifdef _WIN32
  (void)folder;
  checks();
#else
  test::RunAsOrdinaryUser(folder.path(), checks);
#endif
}

#ifdef _WIN32
std::wstring Wide(const std::string& path) { return PathFromUtf8(path).wstring(); }
#endif

// libstdc++ for Windows knows no links: asked there, the file system is.
bool IsLink(const std::string& path) {
#ifdef _WIN32
  const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
#else
  return fs::is_symlink(PathFromUtf8(path));
#endif
}

// Every function on a file with an ASCII, an umlaut and an emoji name.
class PlatformFileNames : public ::testing::TestWithParam<std::string> {
 protected:
  const std::string& name() const { return GetParam(); }
  std::string file() const { return folder.File(name()); }
  std::string backup() const { return folder.File(BackupName(name())); }

  Utf8Folder folder;
};

INSTANTIATE_TEST_SUITE_P(Names, PlatformFileNames, ::testing::Values("ENGINE.INI", Umlaut, Emoji),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           return std::string(param.index == 0 ? "Ascii" : param.index == 1 ? "Umlaut" : "Emoji");
                         });

TEST_P(PlatformFileNames, AWrittenFileReadsBackByteForByte) {
  const std::string bytes = HostileBytes();
  ASSERT_EQ(WriteFileReplacing(file(), bytes), WriteStatus::Ok);

  EXPECT_EQ(fs::file_size(PathFromUtf8(file())), bytes.size());  // nothing translated on the way out
  std::string read = "unchanged";
  ASSERT_EQ(ReadFileBytes(file(), read).Status, ReadStatus::Ok);
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(folder.Names(), Names{name()});
}

TEST_P(PlatformFileNames, ReplacingLeavesOnlyTheNewBytesAndKeepsThePermissions) {
  folder.Put(name(), std::string(50000, 'o'));
#ifdef _WIN32
  ASSERT_TRUE(SetFileAttributesW(Wide(file()).c_str(), FILE_ATTRIBUTE_HIDDEN));
#else
  ASSERT_EQ(chmod(file().c_str(), 0640), 0);
#endif

  ASSERT_EQ(WriteFileReplacing(file(), "new\r\n"), WriteStatus::Ok);

  EXPECT_EQ(folder.Get(name()), "new\r\n");
  EXPECT_EQ(folder.Names(), Names{name()});  // no temporary file left
#ifdef _WIN32
  EXPECT_NE(GetFileAttributesW(Wide(file()).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
#else
  EXPECT_EQ(fs::status(PathFromUtf8(file())).permissions(), fs::perms(0640));
#endif
}

TEST_P(PlatformFileNames, ALinkedBackupKeepsTheOldBytesOnceTheFileIsReplaced) {
  folder.Put(name(), "old\r\n");
  folder.Put(BackupName(name()), "previous backup");

  ASSERT_TRUE(LinkAsBackup(file(), backup()));
  EXPECT_EQ(folder.Get(BackupName(name())), "old\r\n");
  ASSERT_EQ(WriteFileReplacing(file(), "new\r\n"), WriteStatus::Ok);

  EXPECT_EQ(folder.Get(name()), "new\r\n");
  EXPECT_EQ(folder.Get(BackupName(name())), "old\r\n");
  EXPECT_EQ(folder.Names(), Sorted({BackupName(name()), name()}));

  // Linked again while the backup already is this file's second name.
  ASSERT_TRUE(LinkAsBackup(file(), backup()));
  ASSERT_TRUE(LinkAsBackup(file(), backup()));
  ASSERT_EQ(WriteFileReplacing(file(), "newer\r\n"), WriteStatus::Ok);
  EXPECT_EQ(folder.Get(BackupName(name())), "new\r\n");
  EXPECT_EQ(folder.Names(), Sorted({BackupName(name()), name()}));
}

TEST_P(PlatformFileNames, ACopyKeepsEveryByteAndTheModificationTime) {
  const std::string bytes = HostileBytes();
  folder.Put(name(), bytes);
  const fs::file_time_type old = OldTime();
  fs::last_write_time(PathFromUtf8(file()), old);
  MakeReadOnly(file());
  folder.Put(BackupName(name()), "previous copy");

  ASSERT_EQ(CopyFileKeepingTimes(file(), backup()), CopyStatus::Ok);

  EXPECT_EQ(folder.Get(BackupName(name())), bytes);
  EXPECT_EQ(ModificationTime(backup()), old);
  EXPECT_FALSE(IsReadOnly(backup()));  // a plain file the owner may write
  EXPECT_EQ(folder.Names(), Sorted({BackupName(name()), name()}));

  // The copy stays when its source is saved over.
  fs::permissions(PathFromUtf8(file()), fs::perms::owner_write, fs::perm_options::add);
  ASSERT_EQ(WriteFileReplacing(file(), "new\r\n"), WriteStatus::Ok);
  EXPECT_EQ(folder.Get(BackupName(name())), bytes);

  // Copied onto itself, a file stays whole.
  ASSERT_EQ(CopyFileKeepingTimes(backup(), backup()), CopyStatus::Ok);
  EXPECT_EQ(folder.Get(BackupName(name())), bytes);
}

TEST_P(PlatformFileNames, FreeSpaceOfAFolder) {
  const std::string sub = folder.File(name() + ".folder");
  fs::create_directory(PathFromUtf8(sub));

  EXPECT_GT(FreeBytes(sub), 0.0L);
  EXPECT_GT(FreeBytes(""), 0.0L);  // the current folder
  EXPECT_EQ(FreeBytes(folder.File("missing " + name())), -1.0L);
  EXPECT_EQ(FreeBytes(folder.File("missing/" + name())), -1.0L);
}

TEST_P(PlatformFileNames, JoinedPathsNameTheFileAndCompareAsTheSameFile) {
  folder.Put(name(), "bytes");
  const std::string joined = JoinPath(folder.Path(), name());

  std::string read;
  ASSERT_EQ(ReadFileBytes(joined, read).Status, ReadStatus::Ok);
  EXPECT_EQ(read, "bytes");
  EXPECT_TRUE(IsSameFile(joined, JoinPath(folder.Path() + "/sub/..", name())));
  EXPECT_TRUE(IsSameFile(joined, JoinPath(folder.Path(), LowerCase(name()))));
  EXPECT_FALSE(IsSameFile(joined, JoinPath(folder.Path(), name() + "x")));
}

// A file whose path is just short of Windows' MAX_PATH (260): the temporary
// and backup names beside it are longer than that.
TEST(PlatformFileWrite, AFileWhosePathNearlyFillsTheLimitIsSavedAndBackedUp) {
  Utf8Folder folder;
  std::string deep;
  while (folder.Path().size() + deep.size() < 200) deep += "Unterordner-\xC3\xBC/";
  fs::create_directories(PathFromUtf8(folder.File(deep)));
  const std::size_t nameLength = 255 - PathFromUtf8(folder.File(deep)).native().size();
  const std::string name = deep + std::string(nameLength - 4, 'm') + ".ini";
  ASSERT_EQ(PathFromUtf8(folder.File(name)).native().size(), 255u);
  folder.Put(name, "old");

  ASSERT_TRUE(LinkAsBackup(folder.File(name), folder.File(BackupName(name))));
  ASSERT_EQ(WriteFileReplacing(folder.File(name), "new"), WriteStatus::Ok);
  ASSERT_EQ(CopyFileKeepingTimes(folder.File(name), folder.File(deep + "copy.ini")), CopyStatus::Ok);

  std::string bytes;
  ASSERT_EQ(ReadFileBytes(folder.File(name), bytes).Status, ReadStatus::Ok);
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(folder.Get(BackupName(name)), "old");
  EXPECT_EQ(folder.Get(deep + "copy.ini"), "new");
}

TEST(PlatformFileRead, WhatCannotBeReadLeavesTheBytesAsTheyWere) {
  Utf8Folder folder;
  fs::create_directory(PathFromUtf8(folder.File(Umlaut + ".folder")));
#ifdef _WIN32
  const std::string device = "NUL";
#else
  const std::string device = "/dev/null";
#endif
  const struct {
    std::string path;
    ReadStatus status;
  } cases[] = {
      {folder.File("missing.ini"), ReadStatus::CannotOpen},
      {folder.File("missing/" + Umlaut), ReadStatus::CannotOpen},
      {folder.File(Umlaut + ".folder"), ReadStatus::CannotRead},
      {device, ReadStatus::CannotRead},
  };
  for (const auto& c : cases) {
    std::string bytes = "unchanged";
    const FileReadResult result = ReadFileBytes(c.path, bytes);
    EXPECT_EQ(result.Status, c.status) << c.path;
    EXPECT_NE(result.Error, 0) << c.path;
    EXPECT_EQ(bytes, "unchanged") << c.path;
  }
}

TEST(PlatformFileRead, AFileAnotherProgramIsWritingIsRead) {
  Utf8Folder folder;
  std::ofstream writer(folder.path() / PathFromUtf8(Umlaut), std::ios::binary);
  writer << "written so far\r\n" << std::flush;

  std::string bytes;
  ASSERT_EQ(ReadFileBytes(folder.File(Umlaut), bytes).Status, ReadStatus::Ok);
  EXPECT_EQ(bytes, "written so far\r\n");
}

TEST(PlatformFileWrite, WhatCannotBeCreatedIsLeftAsItWas) {
  Utf8Folder folder;
  fs::create_directory(PathFromUtf8(folder.File(Umlaut)));
  folder.Put(Umlaut + "/inside", "x");

  EXPECT_EQ(WriteFileReplacing(folder.File(Umlaut), "new"), WriteStatus::CannotCreate);
  EXPECT_EQ(WriteFileReplacing(folder.File("missing/" + Emoji), "new"), WriteStatus::CannotCreate);

  EXPECT_EQ(folder.Get(Umlaut + "/inside"), "x");
  EXPECT_EQ(folder.Names(), Names{Umlaut});
}

TEST(PlatformFileWrite, AReadOnlyFileIsNotReplaced) {
  Utf8Folder folder;
  folder.Put(Emoji, "old");
  MakeReadOnly(folder.File(Emoji));

  AsOrdinaryUser(folder, [&] {
    EXPECT_EQ(WriteFileReplacing(folder.File(Emoji), "new"), WriteStatus::CannotCreate);
    EXPECT_FALSE(LinkAsBackup(folder.File(Emoji), folder.File(BackupName(Emoji))));
    EXPECT_EQ(folder.Get(Emoji), "old");
    EXPECT_EQ(folder.Names(), Names{Emoji});
  });
}

TEST(PlatformFileWrite, ANewFileTakesTheGivenWriteBit) {
  Utf8Folder folder;
  ASSERT_EQ(WriteFileReplacing(folder.File("read-only.ini"), "x", 0444), WriteStatus::Ok);
  ASSERT_EQ(WriteFileReplacing(folder.File(Umlaut), "x", 0644), WriteStatus::Ok);

  EXPECT_TRUE(IsReadOnly(folder.File("read-only.ini")));
  EXPECT_FALSE(IsReadOnly(folder.File(Umlaut)));
  EXPECT_EQ(folder.Get("read-only.ini"), "x");
}

TEST(PlatformFileWrite, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  Utf8Folder folder;
  folder.Put(Umlaut, "the old file");
#ifdef _WIN32
  // Another program reads the file and does not let it be deleted: Windows
  // cannot put the new file in its place.
  const HANDLE reader = CreateFileW(Wide(folder.File(Umlaut)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  const WriteStatus status = WriteFileReplacing(folder.File(Umlaut), "new");
  CloseHandle(reader);
#else
  // A disk that fills up: writes beyond the file size limit fail with EFBIG
  // (instead of raising SIGXFSZ), for root too.
  rlimit previous{};
  getrlimit(RLIMIT_FSIZE, &previous);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit limit = previous;
  limit.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &limit);
  const WriteStatus status = WriteFileReplacing(folder.File(Umlaut), std::string(10000, 'n'));
  setrlimit(RLIMIT_FSIZE, &previous);
  std::signal(SIGXFSZ, previousHandler);
#endif
  EXPECT_EQ(status, WriteStatus::CannotWrite);
  EXPECT_EQ(folder.Get(Umlaut), "the old file");
  EXPECT_EQ(folder.Names(), Names{Umlaut});
}

TEST(PlatformFileWrite, AReaderThatLetsTheFileGoKeepsReadingTheOldBytes) {
  Utf8Folder folder;
  folder.Put(Emoji, "old bytes");
  std::ifstream reader(folder.path() / PathFromUtf8(Emoji), std::ios::binary);
  ASSERT_TRUE(reader);
#ifdef _WIN32
  // The C runtime opens without FILE_SHARE_DELETE; a program that shares it
  // lets the file be replaced.
  reader.close();
  const HANDLE shared = CreateFileW(Wide(folder.File(Emoji)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
  ASSERT_NE(shared, INVALID_HANDLE_VALUE);
#endif

  ASSERT_EQ(WriteFileReplacing(folder.File(Emoji), "new bytes"), WriteStatus::Ok);

#ifdef _WIN32
  char buffer[32] = {};
  DWORD got = 0;
  ASSERT_TRUE(ReadFile(shared, buffer, sizeof buffer, &got, nullptr));
  CloseHandle(shared);
  const std::string seen(buffer, got);
#else
  const std::string seen(std::istreambuf_iterator<char>(reader), {});
#endif
  EXPECT_EQ(seen, "old bytes");
  EXPECT_EQ(folder.Get(Emoji), "new bytes");
}

TEST(PlatformFileWrite, WritingThroughALinkReplacesTheFileItNames) {
  Utf8Folder folder;
  folder.Put(Umlaut, "old");
#ifdef _WIN32
  // Windows lets an ordinary user make one in Developer Mode; Wine 8 says
  // it made one and makes nothing.
  const bool made = CreateSymbolicLinkW(Wide(folder.File(Emoji)).c_str(), Wide(Umlaut).c_str(),
                                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
                    IsLink(folder.File(Emoji));
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
  if (!made && wine) GTEST_SKIP() << "Wine makes no symbolic links";
  if (!made) GTEST_SKIP() << "no symbolic link can be made here (Windows: Developer Mode or administrator)";
#else
  fs::create_symlink(PathFromUtf8(Umlaut), PathFromUtf8(folder.File(Emoji)));
#endif

  ASSERT_EQ(WriteFileReplacing(folder.File(Emoji), "new"), WriteStatus::Ok);

  EXPECT_TRUE(IsLink(folder.File(Emoji)));
  EXPECT_EQ(folder.Get(Umlaut), "new");
  EXPECT_EQ(folder.Names(), Sorted({Umlaut, Emoji}));
}

TEST(PlatformFileBackup, OnlyAnOrdinaryWritableFileIsLinked) {
  Utf8Folder folder;
  fs::create_directory(PathFromUtf8(folder.File("folder.ini")));
  folder.Put(Umlaut, "x");
  folder.Put(BackupName(Umlaut), "previous backup");

  EXPECT_FALSE(LinkAsBackup(folder.File("missing.ini"), folder.File("missing.in_")));
  EXPECT_FALSE(LinkAsBackup(folder.File("folder.ini"), folder.File("folder.in_")));
  // Nothing can take the backup's name.
  fs::create_directory(PathFromUtf8(folder.File("x.in_")));
  folder.Put("x.in_/inside", "y");
  EXPECT_FALSE(LinkAsBackup(folder.File(Umlaut), folder.File("x.in_")));

  EXPECT_EQ(folder.Get(BackupName(Umlaut)), "previous backup");
  EXPECT_EQ(folder.Names(), Sorted({BackupName(Umlaut), Umlaut, "folder.ini", "x.in_"}));
}

TEST(PlatformFileCopy, EachFailureIsToldAndTheDestinationKept) {
  Utf8Folder folder;
  folder.Put(Umlaut, "source");
  folder.Put(Emoji, "previous copy");
  fs::create_directory(PathFromUtf8(folder.File("folder.ini")));

  const struct {
    std::string source;
    std::string destination;
    CopyStatus status;
  } cases[] = {
      {"missing.ini", Emoji, CopyStatus::CannotOpenSource},
      {"folder.ini", Emoji, CopyStatus::CannotOpenSource},
      {Umlaut, "missing/" + Emoji, CopyStatus::CannotCreateDestination},
      {Umlaut, "folder.ini", CopyStatus::CannotCreateDestination},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CopyFileKeepingTimes(folder.File(c.source), folder.File(c.destination)), c.status)
        << c.source << " to " << c.destination;
  }

  MakeReadOnly(folder.File(Emoji));
  AsOrdinaryUser(folder, [&] {
    EXPECT_EQ(CopyFileKeepingTimes(folder.File(Umlaut), folder.File(Emoji)), CopyStatus::CannotCreateDestination);
    EXPECT_EQ(folder.Get(Emoji), "previous copy");
    EXPECT_EQ(folder.Names(), Sorted({Umlaut, Emoji, "folder.ini"}));
  });
}

// Bytes that are not UTF-8: a name on Linux like any other; on Windows no
// name at all, refused rather than turned into another file's name.
TEST(PlatformFileNamesNotUtf8, AreBytesOnLinuxAndRefusedOnWindows) {
  Utf8Folder folder;
  const std::string name = "Motor-\xFC.ini";  // ü in Latin-1
  const std::string path = JoinPath(folder.Path(), name);
  folder.Put(Umlaut, "x");
  std::string bytes;
#ifdef _WIN32
  EXPECT_EQ(WriteFileReplacing(path, "new"), WriteStatus::CannotCreate);
  EXPECT_EQ(ReadFileBytes(path, bytes).Status, ReadStatus::CannotOpen);
  EXPECT_FALSE(LinkAsBackup(folder.File(Umlaut), path));
  EXPECT_EQ(CopyFileKeepingTimes(folder.File(Umlaut), path), CopyStatus::CannotCreateDestination);
  EXPECT_EQ(FreeBytes(path), -1.0L);
  EXPECT_FALSE(IsSameFile(path, path + "/."));
  EXPECT_EQ(folder.Names(), Names{Umlaut});
#else
  ASSERT_EQ(WriteFileReplacing(path, "new"), WriteStatus::Ok);
  EXPECT_EQ(ReadFileBytes(path, bytes).Status, ReadStatus::Ok);
  EXPECT_EQ(bytes, "new");
  EXPECT_TRUE(IsSameFile(path, folder.Path() + "/./" + name));
  EXPECT_EQ(folder.Names(), Sorted({name, Umlaut}));
#endif
}

}  // namespace
}  // namespace dyno
