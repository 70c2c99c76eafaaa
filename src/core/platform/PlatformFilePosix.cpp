// The POSIX implementation of the platform file functions.
#include "core/platform/PlatformFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <vector>

#include "core/platform/PlatformFileSteps.h"

namespace fs = std::filesystem;

namespace dyno {

namespace {

// A write past the file-size limit (ulimit -f) raises SIGXFSZ, which ends
// the program with the work in its window. Ignored from the start, such a
// write fails with EFBIG instead, and the save says so as for a full disk.
[[maybe_unused]] const bool FileSizeSignalIgnored = std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR;

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd = -1) : fd_(fd) {}
  ~FileDescriptor() { Close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  // Closes the file; false when the close reported an error.
  bool Close() {
    if (fd_ < 0) return true;
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0;
  }
  void Reset(int fd) {
    Close();
    fd_ = fd;
  }

 private:
  int fd_;
};

// Opens a file for reading without waiting, so that a pipe with no writer
// cannot hang the editor. For an ordinary file the flag changes nothing.
int OpenForReading(const std::string& path) { return ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK); }

// Writes all bytes, resuming after interruptions and partial writes.
bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (written == 0) {
      errno = ENOSPC;
      return false;
    }
    data += written;
    size -= static_cast<std::size_t>(written);
  }
  return true;
}

// Reads up to size bytes, stopping early only at the end of the file.
// Returns the bytes read, or -1 on an error.
ssize_t ReadUpTo(int fd, char* data, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, data + got, size - got);
    if (n < 0) {
      if (errno == EINTR) continue;
      return -1;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(got);
}

// A name in folder that no other file has yet, for a file of this process.
std::string PrivateName(const fs::path& folder, const char* suffix) {
  static unsigned counter = 0;
  const std::string name = ".dynoforge-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + suffix;
  return (folder.empty() ? fs::path(name) : folder / name).string();
}

// path with its symbolic links followed to the file they name, which need
// not exist yet (a link to a file still to be made leads there). path itself
// for a loop or a link that cannot be read: opening it then fails.
std::string FollowLinks(const std::string& path) {
  fs::path current(path);
  for (int hop = 0; hop < 40; ++hop) {
    std::error_code error;
    if (!fs::is_symlink(current, error)) return current.string();
    const fs::path next = fs::read_symlink(current, error);
    if (error) return path;
    current = next.is_absolute() ? next : current.parent_path() / next;
  }
  return path;
}

// Whether this process may give a file info's owner and group.
bool MayGiveOwner(const struct stat& info) {
  if (::geteuid() == 0) return true;
  if (info.st_uid != ::geteuid()) return false;
  if (info.st_gid == ::getegid()) return true;
  std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
  groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
  return std::find(groups.begin(), groups.end(), info.st_gid) != groups.end();
}

// A new file that takes the place of target only when Commit succeeds: it is
// written beside target under a temporary name, flushed to disk and renamed
// over target, so after a crash the target holds either its old or its new
// bytes, never part of them. Until then target keeps its old bytes, whatever
// fails; an uncommitted temporary file is removed.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile() { Discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file. An existing target must be a regular file
  // the user may write: a read-only file is not replaced behind the user's
  // back. A link is followed, so the file it names is replaced (or made).
  // mode is the new file's permission bits; without it an existing target's
  // owner and bits are kept, and a new file gets the usual bits. Only an
  // existing target can give CannotReplace.
  WriteStatus Create(const std::string& target, int mode = -1) {
    target_ = FollowLinks(target);

    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists) {
      if (!S_ISREG(existing.st_mode)) return WriteStatus::CannotCreate;
      if (::access(target_.c_str(), W_OK) != 0) return WriteStatus::CannotCreate;
    } else if (errno != ENOENT) {
      return WriteStatus::CannotCreate;
    }
    const WriteStatus refused = exists ? WriteStatus::CannotReplace : WriteStatus::CannotCreate;

    const fs::path folder = fs::path(target_).parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      temporary_ = PrivateName(folder, ".tmp");
      file_.Reset(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (file_.get() >= 0) break;
      if (errno != EEXIST) {
        temporary_.clear();
        return refused;
      }
    }
    if (file_.get() < 0) {
      temporary_.clear();
      return refused;
    }

    if (mode >= 0) {
      ::fchmod(file_.get(), static_cast<mode_t>(mode));
    } else if (exists) {
      // A file that would change hands by being replaced is not replaced.
      if (::fchown(file_.get(), existing.st_uid, existing.st_gid) != 0) {
        Discard();
        return WriteStatus::CannotReplace;
      }
      ::fchmod(file_.get(), existing.st_mode & 07777);
    }
    return WriteStatus::Ok;
  }

  int fd() const { return file_.get(); }

  bool Write(const char* data, std::size_t size) { return WriteAll(file_.get(), data, size); }

  // Flushes the file to disk and puts it in the place of the target.
  bool Commit() {
    if (::fsync(file_.get()) != 0) return false;
    if (!file_.Close()) return false;
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return false;
    temporary_.clear();
    return true;
  }

 private:
  void Discard() {
    file_.Close();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
  }

  FileDescriptor file_;
  std::string target_;
  std::string temporary_;
};

// An existing file written where it is (WriteInPlace's Open, ReadAll and
// Overwrite).
class InPlaceFile {
 public:
  bool Open(const std::string& path) {
    file_.Reset(::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    return file_.get() >= 0 && ::fstat(file_.get(), &info) == 0 && S_ISREG(info.st_mode) &&
           info.st_size <= MaxFileBytes && ::access(path.c_str(), W_OK) == 0;
  }

  bool ReadAll(std::string& bytes) {
    struct stat info {};
    if (::fstat(file_.get(), &info) != 0) return false;
    off_t at = 0;
    const auto read = [&](char* data, std::size_t size) -> long long {
      for (;;) {
        const ssize_t got = ::pread(file_.get(), data, size, at);
        if (got < 0 && errno == EINTR) continue;
        if (got > 0) at += got;
        return got;
      }
    };
    return platform::ReadToEnd(info.st_size, read, [] { return errno; }, EFBIG, bytes).Status == ReadStatus::Ok;
  }

  bool Overwrite(std::string_view bytes) {
    return ::lseek(file_.get(), 0, SEEK_SET) == 0 && WriteAll(file_.get(), bytes.data(), bytes.size()) &&
           ::ftruncate(file_.get(), static_cast<off_t>(bytes.size())) == 0 && ::fsync(file_.get()) == 0;
  }

 private:
  FileDescriptor file_;
};

}  // namespace

FileReadResult ReadFileBytes(const std::string& path, std::string& bytes) {
  // Only ordinary files are read: a device such as /dev/zero never ends.
  FileDescriptor file(OpenForReading(path));
  if (file.get() < 0) return {ReadStatus::CannotOpen, errno};

  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return {ReadStatus::CannotRead, errno};
  if (S_ISDIR(info.st_mode)) return {ReadStatus::CannotRead, EISDIR};
  if (!S_ISREG(info.st_mode)) return {ReadStatus::CannotRead, ENODEV};
  if (info.st_size > MaxFileBytes) return {ReadStatus::CannotRead, EFBIG};

  // Some files report no size at all: the size is only where reading starts.
  const auto read = [&](char* data, std::size_t size) -> long long {
    for (;;) {
      const ssize_t got = ::read(file.get(), data, size);
      if (got >= 0 || errno != EINTR) return got;
    }
  };
  return platform::ReadToEnd(info.st_size, read, [] { return errno; }, EFBIG, bytes);
}

WriteStatus WriteFileReplacing(const std::string& path, std::string_view bytes, int mode) {
  return platform::WriteReplacing<ReplacementFile>(path, bytes, mode);
}

WriteStatus WriteFileInPlace(const std::string& path, std::string_view bytes) {
  return platform::WriteInPlace<InPlaceFile>(path, bytes);
}

SaveTarget InspectSaveTarget(const std::string& path) {
  SaveTarget target;
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return target;
  target.Exists = true;
  target.Links = static_cast<int>(info.st_nlink);
  target.OwnerKept = MayGiveOwner(info);
  return target;
}

BackupSlot InspectBackupSlot(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return errno == ENOENT ? BackupSlot::Free : BackupSlot::NotAFile;
  if (!S_ISREG(info.st_mode)) return BackupSlot::NotAFile;
  // Root may write any file: only the bits say it is meant to be kept.
  if ((info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0) return BackupSlot::ReadOnly;
  if (::geteuid() != 0 && info.st_uid != ::geteuid()) return BackupSlot::OtherOwner;
  return BackupSlot::Replaceable;
}

std::string PrivateNameBeside(const std::string& path, const char* suffix) {
  const fs::path folder = fs::path(path).parent_path();
  for (;;) {
    std::string name = PrivateName(folder, suffix);
    struct stat info {};
    if (::lstat(name.c_str(), &info) != 0) return name;
  }
}

bool LinkFile(const std::string& source, const std::string& name) {
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0 ||
      ::access(source.c_str(), W_OK) != 0) {
    return false;
  }
  return ::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0;
}

bool RenameFile(const std::string& from, const std::string& to) { return ::rename(from.c_str(), to.c_str()) == 0; }

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0; }

CopyStatus CopyFileKeepingTimes(const std::string& source, const std::string& destination) {
  FileDescriptor from(OpenForReading(source));
  struct stat info {};
  if (from.get() < 0 || ::fstat(from.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    return CopyStatus::CannotOpenSource;
  }

  const long double free = FreeBytes(fs::path(destination).parent_path().string());
  if (free >= 0 && free < static_cast<long double>(info.st_size)) return CopyStatus::NoRoom;

  // A backup is a plain file its owner can read and write, whatever the
  // source's permissions were.
  ReplacementFile to;
  if (to.Create(destination, static_cast<int>((info.st_mode & 0777) | S_IRUSR | S_IWUSR)) != WriteStatus::Ok) {
    return CopyStatus::CannotCreateDestination;
  }

  const CopyStatus copied = platform::CopyChunks(
      info.st_size, [&](char* data, std::size_t size) -> long long { return ReadUpTo(from.get(), data, size); },
      [&](const char* data, std::size_t size) { return to.Write(data, size); });
  if (copied != CopyStatus::Ok) return copied;

  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  ::futimens(to.fd(), times);
  return to.Commit() ? CopyStatus::Ok : CopyStatus::CannotWriteDestination;
}

long double FreeBytes(const std::string& folder) {
  std::error_code error;
  const fs::space_info space = fs::space(folder.empty() ? fs::path(".") : fs::path(folder), error);
  if (error || space.available == static_cast<std::uintmax_t>(-1)) return -1;
  return static_cast<long double>(space.available);
}

}  // namespace dyno
