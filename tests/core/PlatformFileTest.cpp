// The platform file functions where a folder scene cannot show them (those
// are under tests/data/saving): bytes no text mode may touch, paths near
// Windows' length limit, names that are not UTF-8, files other programs hold
// open, and what only Windows has. Where the systems differ the expectation
// says so; a case that cannot be made on one system is skipped with the reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

#include "core/files/FilePaths.h"
#include "core/platform/PlatformFile.h"
#include "support/TempDir.h"

namespace dyno {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

// A temporary folder whose files are named by UTF-8 paths on every system:
// std::filesystem's std::string paths are in the ANSI code page on Windows.
class Utf8Folder : public test::TempDir {
 public:
  std::string Path() const { return Utf8FromPath(path()); }
  std::string File(const std::string& name) const { return Utf8FromPath(path() / PathFromUtf8(name)); }
  void Put(const std::string& name, const std::string& bytes) const { WriteFile(path() / PathFromUtf8(name), bytes); }
  std::string Get(const std::string& name) const { return Read(path() / PathFromUtf8(name)); }

  // The UTF-8 names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path())) names.push_back(Utf8FromPath(entry.path().filename()));
    std::sort(names.begin(), names.end());
    return names;
  }
};

const std::string Umlaut = "Motor-\xC3\xBC.ini";                  // Motor-ü.ini
const std::string Emoji = "\xF0\x9F\x8F\x8E Motor-\xC3\xBC.ini";  // U+1F3CE racing car

#ifdef _WIN32
std::wstring Wide(const std::string& path) { return PathFromUtf8(path).wstring(); }
#endif

// An engine file's kind of bytes, with what a text mode would spoil: CR LF,
// lone CR and LF, NUL, Ctrl-Z, bytes above 127; and longer than one read.
TEST(PlatformFile, WrittenAndCopiedFilesKeepEveryByteWhateverTheirName) {
  std::string bytes = "[ENGINE]\r\nRPMTorque=( 1000.0, -20.0, 150.0)\r\nlone\rcr\nlf" + std::string(1, '\0') +
                      "nul\x1A" "ctrl-z\xFF\xC3\xBC\r\n";
  for (int i = 0; i < 20000; ++i) bytes += static_cast<char>(i * 7);
  for (const std::string& name : {std::string("ENGINE.INI"), Umlaut, Emoji}) {
    Utf8Folder folder;
    ASSERT_EQ(WriteFileReplacing(folder.File(name), bytes), WriteStatus::Ok) << name;
    EXPECT_EQ(fs::file_size(folder.path() / PathFromUtf8(name)), bytes.size()) << name;  // nothing translated
    std::string read = "unchanged";
    ASSERT_EQ(ReadFileBytes(folder.File(name), read).Status, ReadStatus::Ok) << name;
    EXPECT_EQ(read, bytes) << name;
    ASSERT_EQ(CopyFileKeepingTimes(folder.File(name), folder.File(BackupName(name))), CopyStatus::Ok) << name;
    EXPECT_EQ(folder.Get(BackupName(name)), bytes) << name;
    EXPECT_EQ(folder.Names().size(), 2u) << name;  // no temporary file left
  }
}

// A file whose path is just short of Windows' MAX_PATH (260): the temporary
// and backup names beside it are longer than that.
TEST(PlatformFile, AFileWhosePathNearlyFillsTheLimitIsSavedAndBackedUp) {
  Utf8Folder folder;
  std::string deep;
  while (folder.Path().size() + deep.size() < 200) deep += "Unterordner-\xC3\xBC/";
  fs::create_directories(PathFromUtf8(folder.File(deep)));
  const std::size_t nameLength = 255 - PathFromUtf8(folder.File(deep)).native().size();
  const std::string name = deep + std::string(nameLength - 4, 'm') + ".ini";
  ASSERT_EQ(PathFromUtf8(folder.File(name)).native().size(), 255u);
  folder.Put(name, "old");

  const std::string aside = PrivateNameBeside(folder.File(name), ".bak");
  ASSERT_TRUE(LinkFile(folder.File(name), aside));
  ASSERT_TRUE(RenameFile(aside, folder.File(BackupName(name))));
  ASSERT_EQ(WriteFileReplacing(folder.File(name), "new"), WriteStatus::Ok);
  ASSERT_EQ(CopyFileKeepingTimes(folder.File(name), folder.File(deep + "copy.ini")), CopyStatus::Ok);

  std::string bytes;
  ASSERT_EQ(ReadFileBytes(folder.File(name), bytes).Status, ReadStatus::Ok);
  EXPECT_EQ(bytes, "new");
  EXPECT_EQ(folder.Get(BackupName(name)), "old");
  EXPECT_EQ(folder.Get(deep + "copy.ini"), "new");
}

// A file another program is writing is read; one another program reads is
// replaced, and that reader keeps reading the old bytes.
TEST(PlatformFile, FilesOtherProgramsHoldOpen) {
  Utf8Folder folder;
  std::ofstream writer(folder.path() / PathFromUtf8(Umlaut), std::ios::binary);
  writer << "written so far\r\n" << std::flush;
  std::string bytes;
  ASSERT_EQ(ReadFileBytes(folder.File(Umlaut), bytes).Status, ReadStatus::Ok);
  EXPECT_EQ(bytes, "written so far\r\n");

  folder.Put(Emoji, "old bytes");
#ifdef _WIN32
  // The C runtime opens without FILE_SHARE_DELETE; a program that shares it
  // lets the file be replaced.
  const HANDLE shared = CreateFileW(Wide(folder.File(Emoji)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                    0, nullptr);
  ASSERT_NE(shared, INVALID_HANDLE_VALUE);
#else
  std::ifstream reader(folder.path() / PathFromUtf8(Emoji), std::ios::binary);
  ASSERT_TRUE(reader);
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

#ifdef _WIN32
// Bytes that are not UTF-8 name no file on Windows: refused rather than
// turned into another file's name. (On Linux they are a name like any
// other: the scene names-not-in-utf8.)
TEST(PlatformFileOnWindows, NamesNotInUtf8AreRefused) {
  Utf8Folder folder;
  const std::string path = JoinPath(folder.Path(), "Motor-\xFC.ini");  // ü in Latin-1
  folder.Put(Umlaut, "x");
  std::string bytes;
  EXPECT_EQ(WriteFileReplacing(path, "new"), WriteStatus::CannotCreate);
  EXPECT_EQ(ReadFileBytes(path, bytes).Status, ReadStatus::CannotOpen);
  EXPECT_FALSE(LinkFile(folder.File(Umlaut), path));
  EXPECT_EQ(CopyFileKeepingTimes(folder.File(Umlaut), path), CopyStatus::CannotCreateDestination);
  EXPECT_EQ(FreeBytes(path), -1.0L);
  EXPECT_FALSE(IsSameFile(path, path + "/."));
  EXPECT_EQ(folder.Names(), Names{Umlaut});
}

// A replaced file keeps its attributes; one another program reads without
// letting it be deleted cannot be replaced, and keeps its bytes.
TEST(PlatformFileOnWindows, AttributesAndLocks) {
  Utf8Folder folder;
  folder.Put(Umlaut, "the old file");
  ASSERT_TRUE(SetFileAttributesW(Wide(folder.File(Umlaut)).c_str(), FILE_ATTRIBUTE_HIDDEN));
  ASSERT_EQ(WriteFileReplacing(folder.File(Umlaut), "new\r\n"), WriteStatus::Ok);
  EXPECT_NE(GetFileAttributesW(Wide(folder.File(Umlaut)).c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

  const HANDLE reader = CreateFileW(Wide(folder.File(Umlaut)).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  const WriteStatus status = WriteFileReplacing(folder.File(Umlaut), "newer");
  CloseHandle(reader);
  EXPECT_EQ(status, WriteStatus::CannotWrite);
  EXPECT_EQ(folder.Get(Umlaut), "new\r\n");
  EXPECT_EQ(folder.Names(), Names{Umlaut});
}

TEST(PlatformFileOnWindows, WritingThroughALinkReplacesTheFileItNames) {
  Utf8Folder folder;
  folder.Put(Umlaut, "old");
  // Windows lets an ordinary user make one in Developer Mode; Wine 8 says
  // it made one and makes nothing.
  const auto isLink = [](const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
  };
  const bool made = CreateSymbolicLinkW(Wide(folder.File(Emoji)).c_str(), Wide(Umlaut).c_str(),
                                        SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) &&
                    isLink(folder.File(Emoji));
  const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  const bool wine = ntdll && GetProcAddress(ntdll, "wine_get_version");
  if (!made && wine) GTEST_SKIP() << "Wine makes no symbolic links";
  if (!made) GTEST_SKIP() << "no symbolic link can be made here (Windows: Developer Mode or administrator)";

  ASSERT_EQ(WriteFileReplacing(folder.File(Emoji), "new"), WriteStatus::Ok);

  EXPECT_TRUE(isLink(folder.File(Emoji)));
  EXPECT_EQ(folder.Get(Umlaut), "new");
  EXPECT_EQ(folder.Names(), (Names{Umlaut, Emoji}));
}
#endif

}  // namespace
}  // namespace dyno
