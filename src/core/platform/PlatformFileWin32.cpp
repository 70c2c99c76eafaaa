// The Win32 implementation of the platform file functions. Paths arrive as
// UTF-8 and go to the W functions as UTF-16: the A functions and
// std::filesystem's narrow strings would read them in the ANSI code page.
#include "core/platform/PlatformFile.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <optional>
#include <string>

#include "core/platform/PlatformFileSteps.h"

namespace dyno {

namespace {

constexpr DWORD ShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// ReadFile and WriteFile take a DWORD count; a gigabyte per call keeps well
// inside it.
constexpr std::size_t MaxTransferBytes = std::size_t{1} << 30;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  HANDLE get() const { return handle_; }
  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  // Closes the file; false when the close reported an error.
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    const bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }
  void Reset(HANDLE handle) {
    Close();
    handle_ = handle;
  }

 private:
  HANDLE handle_;
};

// UTF-8 to UTF-16, or nothing for bytes that are not UTF-8 or hold a NUL:
// a name with U+FFFD in it, or one cut at the NUL, would name another file.
std::optional<std::wstring> WideFromUtf8(const std::string& utf8) {
  if (utf8.empty() || utf8.size() > static_cast<std::size_t>(INT_MAX) || utf8.find('\0') != std::string::npos) {
    SetLastError(ERROR_INVALID_NAME);
    return std::nullopt;
  }
  const int in = static_cast<int>(utf8.size());
  const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in, nullptr, 0);
  if (count <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(count), L'\0');
  if (MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(), in, wide.data(), count) != count) {
    return std::nullopt;
  }
  return wide;
}

// The absolute form of a path: "." and ".." resolved, "/" made "\".
std::optional<std::wstring> FullPath(const std::wstring& path) {
  std::wstring full(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0) return std::nullopt;
    if (length < full.size()) {
      full.resize(length);
      return full;
    }
    full.resize(length);
  }
}

// The absolute UTF-16 form of a UTF-8 path.
std::optional<std::wstring> AbsolutePath(const std::string& utf8) {
  const std::optional<std::wstring> wide = WideFromUtf8(utf8);
  return wide ? FullPath(*wide) : std::nullopt;
}

// The UTF-8 path as the file functions take it: absolute, and with the
// "\\?\" prefix, so that the temporary name beside a file whose path is
// close to MAX_PATH still works.
std::optional<std::wstring> SystemPath(const std::string& utf8) {
  std::optional<std::wstring> full = AbsolutePath(utf8);
  if (!full) return std::nullopt;
  const std::wstring& text = *full;
  // Devices ("\\.\NUL") and prefixed paths stay as they are.
  if (text.starts_with(L"\\\\?\\") || text.starts_with(L"\\\\.\\")) return full;
  if (text.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + text.substr(2);
  if (text.size() >= 3 && text[1] == L':' && text[2] == L'\\') return L"\\\\?\\" + text;
  return full;
}

// The folder part of an absolute path.
std::wstring FolderOf(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// True for an ordinary file on a disk: not a folder, a device or a pipe.
bool IsOrdinaryFile(HANDLE file, BY_HANDLE_FILE_INFORMATION& info) {
  return GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
         (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

long long SizeOf(const BY_HANDLE_FILE_INFORMATION& info) {
  return static_cast<long long>((static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow);
}

enum class Existing { Missing, WritableFile, Refused };

// Whether path names an ordinary file the user may write. A read-only file
// is refused by its attribute too: Wine run by root would open it for
// writing all the same. A link is followed.
Existing CheckExisting(const std::wstring& path, FILE_BASIC_INFO* basic = nullptr,
                       BY_HANDLE_FILE_INFORMATION* found = nullptr) {
  FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                              FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) {
    // A link whose file is missing is refused: a new file would take the
    // link's place, and the file it names would never be made.
    if (GetLastError() != ERROR_FILE_NOT_FOUND || Exists(path)) return Existing::Refused;
    return Existing::Missing;
  }
  BY_HANDLE_FILE_INFORMATION info{};
  if (!IsOrdinaryFile(file.get(), info) || (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
    return Existing::Refused;
  }
  if (basic && !GetFileInformationByHandleEx(file.get(), FileBasicInfo, basic, sizeof *basic)) {
    return Existing::Refused;
  }
  if (found) *found = info;
  // Opening for writing asks the file's access list; nothing is written.
  const FileHandle writable(CreateFileW(path.c_str(), FILE_WRITE_DATA, ShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  return writable ? Existing::WritableFile : Existing::Refused;
}

// The path of the file a link names, for a path that is a link; else path.
std::wstring Unlinked(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0) return path;
  const FileHandle file(CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file) return path;
  std::wstring target(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetFinalPathNameByHandleW(file.get(), target.data(), static_cast<DWORD>(target.size()),
                                                   FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return path;
    if (length < target.size()) {
      target.resize(length);
      return target;
    }
    target.resize(length);
  }
}

// Writes all bytes, in pieces a single call can take.
bool WriteAll(HANDLE file, const char* data, std::size_t size) {
  while (size > 0) {
    DWORD written = 0;
    const DWORD asked = static_cast<DWORD>(std::min(size, MaxTransferBytes));
    if (!WriteFile(file, data, asked, &written, nullptr)) return false;
    if (written == 0) {
      SetLastError(ERROR_DISK_FULL);
      return false;
    }
    data += written;
    size -= written;
  }
  return true;
}

// Reads up to size bytes, stopping early only at the end of the file.
// Returns the bytes read, or -1 on an error.
long long ReadUpTo(HANDLE file, char* data, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    DWORD n = 0;
    if (!ReadFile(file, data + got, static_cast<DWORD>(std::min(size - got, MaxTransferBytes)), &n, nullptr)) {
      return -1;
    }
    if (n == 0) break;
    got += n;
  }
  return static_cast<long long>(got);
}

// A name in folder that no other file has yet, for a file of this process.
std::wstring PrivateName(const std::wstring& folder, const wchar_t* suffix) {
  static unsigned counter = 0;
  return folder + L"\\.dynoforge-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++counter) +
         suffix;
}

// The bytes the user may still write on the drive of folder (the current
// one when empty); -1 when that cannot be found out.
long double FreeBytesOn(const std::wstring& folder) {
  std::wstring name = folder;
  if (!name.empty() && !name.ends_with(L'\\')) name += L'\\';  // a share's root needs it
  ULARGE_INTEGER available{};
  if (!GetDiskFreeSpaceExW(name.empty() ? nullptr : name.c_str(), &available, nullptr, nullptr)) return -1;
  return static_cast<long double>(available.QuadPart);
}

// Attributes a replacement takes over from the file it replaces. (ReplaceFileW
// carries them on Windows itself, but not under Wine.)
constexpr DWORD KeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// A new file that takes the place of target only when Commit succeeds: it is
// written beside target under a temporary name, flushed to disk and then
// put in target's place (ReplaceFileW, or MoveFileExW with write-through
// for a new file), so after a crash the target holds either its old or its
// new bytes, never part of them. Until then target keeps its old bytes,
// whatever fails; an uncommitted temporary file is removed.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile() { Discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file. An existing target must be an ordinary file
  // the user may write: a read-only file is not replaced behind the user's
  // back. A link is followed, so the file it names is replaced. mode given:
  // a plain new file, read-only without the owner's write bit; without it an
  // existing target's attributes and creation time are kept (ReplaceFileW
  // keeps its access list). Only an existing target can give CannotReplace.
  WriteStatus Create(const std::string& target, int mode = -1) {
    const std::optional<std::wstring> path = SystemPath(target);
    if (!path) return WriteStatus::CannotCreate;
    FILE_BASIC_INFO existing{};
    switch (CheckExisting(*path, &existing)) {
      case Existing::Refused:
        return WriteStatus::CannotCreate;
      case Existing::WritableFile:
        exists_ = true;
        break;
      case Existing::Missing:
        exists_ = false;
        break;
    }
    target_ = exists_ ? Unlinked(*path) : *path;

    const std::wstring folder = FolderOf(target_);
    for (int attempt = 0; attempt < 100; ++attempt) {
      temporary_ = PrivateName(folder, L".tmp");
      file_.Reset(CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                              nullptr));
      if (file_) break;
      if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
    if (!file_) {
      temporary_.clear();
      return exists_ ? WriteStatus::CannotReplace : WriteStatus::CannotCreate;
    }

    if (mode >= 0) {
      readOnly_ = (mode & 0200) == 0;
    } else if (exists_) {
      FILE_BASIC_INFO kept{};
      kept.CreationTime = existing.CreationTime;
      kept.FileAttributes = existing.FileAttributes & KeptAttributes;
      SetFileInformationByHandle(file_.get(), FileBasicInfo, &kept, sizeof kept);
    }
    return WriteStatus::Ok;
  }

  HANDLE handle() const { return file_.get(); }

  bool Write(const char* data, std::size_t size) { return WriteAll(file_.get(), data, size); }

  // Flushes the file to disk and puts it in the place of the target.
  bool Commit() {
    if (!FlushFileBuffers(file_.get())) return false;
    if (!file_.Close()) return false;
    if (!(exists_ ? Replace() : MoveFileExW(temporary_.c_str(), target_.c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))) {
      return false;
    }
    temporary_.clear();
    const DWORD attributes = readOnly_ ? GetFileAttributesW(target_.c_str()) : INVALID_FILE_ATTRIBUTES;
    if (attributes != INVALID_FILE_ATTRIBUTES) {
      SetFileAttributesW(target_.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
    }
    return true;
  }

 private:
  // ReplaceFileW moves the old file to a name of its own first, so that a
  // failure halfway leaves it there rather than deleted; it is put back
  // then, and removed after success.
  bool Replace() {
    const std::wstring old = PrivateName(FolderOf(target_), L".old");
    if (ReplaceFileW(target_.c_str(), temporary_.c_str(), old.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr, nullptr)) {
      DeleteFileW(old.c_str());
      return true;
    }
    const DWORD error = GetLastError();
    if (!Exists(target_) && Exists(old)) MoveFileExW(old.c_str(), target_.c_str(), MOVEFILE_WRITE_THROUGH);
    // The target went away since Create: the new file simply takes its name.
    if (error == ERROR_FILE_NOT_FOUND && !Exists(target_)) {
      return MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    }
    SetLastError(error);
    return false;
  }

  void Discard() {
    file_.Close();
    if (!temporary_.empty()) DeleteFileW(temporary_.c_str());
    temporary_.clear();
  }

  FileHandle file_;
  std::wstring target_;
  std::wstring temporary_;
  bool exists_ = false;
  bool readOnly_ = false;
};

// An existing file written where it is (WriteInPlace's Open, ReadAll and
// Overwrite).
class InPlaceFile {
 public:
  bool Open(const std::string& target) {
    const std::optional<std::wstring> path = SystemPath(target);
    if (!path || CheckExisting(*path) != Existing::WritableFile) return false;
    file_.Reset(CreateFileW(path->c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    return file_ && IsOrdinaryFile(file_.get(), info) && SizeOf(info) <= MaxFileBytes;
  }

  bool ReadAll(std::string& bytes) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file_.get(), &info) || !Rewind()) return false;
    const auto read = [&](char* data, std::size_t size) -> long long {
      DWORD got = 0;
      if (!ReadFile(file_.get(), data, static_cast<DWORD>(std::min(size, MaxTransferBytes)), &got, nullptr)) return -1;
      return got;
    };
    const auto error = [] { return static_cast<int>(GetLastError()); };
    return platform::ReadToEnd(SizeOf(info), read, error, ERROR_FILE_TOO_LARGE, bytes).Status == ReadStatus::Ok;
  }

  bool Overwrite(std::string_view bytes) {
    return Rewind() && WriteAll(file_.get(), bytes.data(), bytes.size()) && SetEndOfFile(file_.get()) &&
           FlushFileBuffers(file_.get());
  }

 private:
  bool Rewind() { return SetFilePointerEx(file_.get(), LARGE_INTEGER{}, nullptr, FILE_BEGIN) != 0; }

  FileHandle file_;
};

// Opens an existing file for reading, sharing it with every other program.
HANDLE OpenForReading(const std::optional<std::wstring>& path) {
  if (!path) return INVALID_HANDLE_VALUE;
  return CreateFileW(path->c_str(), GENERIC_READ, ShareAll, nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                     nullptr);
}

}  // namespace

FileReadResult ReadFileBytes(const std::string& path, std::string& bytes) {
  const std::optional<std::wstring> name = SystemPath(path);
  const FileHandle file(OpenForReading(name));
  if (!file) {
    const DWORD error = GetLastError();
    // A folder opens only as a folder; on POSIX it opens and then cannot be read.
    if (error == ERROR_ACCESS_DENIED && name) {
      const DWORD attributes = GetFileAttributesW(name->c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return {ReadStatus::CannotRead, ERROR_DIRECTORY};
      }
    }
    return {ReadStatus::CannotOpen, static_cast<int>(error)};
  }

  // Only ordinary files are read: a device such as NUL or CON never ends.
  BY_HANDLE_FILE_INFORMATION info{};
  if (!IsOrdinaryFile(file.get(), info)) return {ReadStatus::CannotRead, ERROR_NOT_SUPPORTED};
  if (SizeOf(info) > MaxFileBytes) return {ReadStatus::CannotRead, ERROR_FILE_TOO_LARGE};

  const auto read = [&](char* data, std::size_t size) -> long long {
    DWORD got = 0;
    if (!ReadFile(file.get(), data, static_cast<DWORD>(std::min(size, MaxTransferBytes)), &got, nullptr)) return -1;
    return got;
  };
  const auto error = [] { return static_cast<int>(GetLastError()); };
  return platform::ReadToEnd(SizeOf(info), read, error, ERROR_FILE_TOO_LARGE, bytes);
}

WriteStatus WriteFileReplacing(const std::string& path, std::string_view bytes, int mode) {
  return platform::WriteReplacing<ReplacementFile>(path, bytes, mode);
}

WriteStatus WriteFileInPlace(const std::string& path, std::string_view bytes) {
  return platform::WriteInPlace<InPlaceFile>(path, bytes);
}

// ReplaceFileW gives the new file the access list of the one it replaces;
// the owner is taken as kept.
SaveTarget InspectSaveTarget(const std::string& path) {
  SaveTarget target;
  const std::optional<std::wstring> name = SystemPath(path);
  BY_HANDLE_FILE_INFORMATION info{};
  if (!name || CheckExisting(*name, nullptr, &info) != Existing::WritableFile) return target;
  target.Exists = true;
  target.Links = static_cast<int>(info.nNumberOfLinks);
  return target;
}

// The access list decides who may write a file: one the user may not write
// is read-only to the user, whoever owns it.
BackupSlot InspectBackupSlot(const std::string& path) {
  const std::optional<std::wstring> name = SystemPath(path);
  if (!name) return BackupSlot::NotAFile;
  switch (CheckExisting(*name)) {
    case Existing::Missing:
      return BackupSlot::Free;
    case Existing::WritableFile:
      return BackupSlot::Replaceable;
    case Existing::Refused:
      break;
  }
  const DWORD attributes = GetFileAttributesW(name->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return BackupSlot::NotAFile;
  }
  const FileHandle file(CreateFileW(name->c_str(), FILE_READ_ATTRIBUTES, ShareAll, nullptr, OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  return file && IsOrdinaryFile(file.get(), info) ? BackupSlot::ReadOnly : BackupSlot::NotAFile;
}

std::string PrivateNameBeside(const std::string& path, const char* suffix) {
  // Built in UTF-8, as the caller passes it on: only the folder part is kept.
  const std::size_t slash = path.find_last_of("\\/");
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  static unsigned counter = 0;
  for (;;) {
    std::string name = folder + ".dynoforge-" + std::to_string(GetCurrentProcessId()) + "-" +
                       std::to_string(++counter) + suffix;
    const std::optional<std::wstring> wide = SystemPath(name);
    if (!wide || !Exists(*wide)) return name;
  }
}

// A second name (a hard link) on NTFS, as on Linux. FAT and exFAT drives
// have no hard links: false, and the caller copies instead.
bool LinkFile(const std::string& source, const std::string& name) {
  const std::optional<std::wstring> from = SystemPath(source);
  const std::optional<std::wstring> to = SystemPath(name);
  if (!from || !to || CheckExisting(*from) != Existing::WritableFile) return false;
  return CreateHardLinkW(to->c_str(), Unlinked(*from).c_str(), nullptr) != 0;
}

bool RenameFile(const std::string& from, const std::string& to) {
  const std::optional<std::wstring> source = SystemPath(from);
  const std::optional<std::wstring> target = SystemPath(to);
  return source && target &&
         MoveFileExW(source->c_str(), target->c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
  const std::optional<std::wstring> name = SystemPath(path);
  return name && DeleteFileW(name->c_str()) != 0;
}

CopyStatus CopyFileKeepingTimes(const std::string& source, const std::string& destination) {
  FileHandle from(OpenForReading(SystemPath(source)));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!from || !IsOrdinaryFile(from.get(), info)) return CopyStatus::CannotOpenSource;

  const std::optional<std::wstring> to = AbsolutePath(destination);
  const long double free = to ? FreeBytesOn(FolderOf(*to)) : -1;
  if (free >= 0 && free < static_cast<long double>(SizeOf(info))) return CopyStatus::NoRoom;

  // A backup is a plain file its owner can read and write, whatever the
  // source's attributes were.
  ReplacementFile copy;
  if (copy.Create(destination, 0666) != WriteStatus::Ok) return CopyStatus::CannotCreateDestination;

  const CopyStatus copied = platform::CopyChunks(
      SizeOf(info), [&](char* data, std::size_t size) { return ReadUpTo(from.get(), data, size); },
      [&](const char* data, std::size_t size) { return copy.Write(data, size); });
  if (copied != CopyStatus::Ok) return copied;

  SetFileTime(copy.handle(), nullptr, &info.ftLastAccessTime, &info.ftLastWriteTime);
  // The source may be the destination itself: it is let go before the
  // replacement.
  from.Close();
  return copy.Commit() ? CopyStatus::Ok : CopyStatus::CannotWriteDestination;
}

long double FreeBytes(const std::string& folder) {
  if (folder.empty()) return FreeBytesOn(std::wstring());
  const std::optional<std::wstring> full = AbsolutePath(folder);
  return full ? FreeBytesOn(*full) : -1;
}

}  // namespace dyno
