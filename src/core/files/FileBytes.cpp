#include "core/files/FileBytes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace dyno {

namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

}  // namespace

FileReadResult ReadFileBytes(const std::string& path, std::string& bytes) {
  // Opened without waiting, so that a pipe with no writer cannot hang the
  // editor; only plain files are read (a device such as /dev/zero never
  // ends). For a plain file the flag changes nothing.
  FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (file.get() < 0) return {ReadStatus::CannotOpen, errno};

  struct stat info {};
  if (::fstat(file.get(), &info) != 0) return {ReadStatus::CannotRead, errno};
  if (S_ISDIR(info.st_mode)) return {ReadStatus::CannotRead, EISDIR};
  if (!S_ISREG(info.st_mode)) return {ReadStatus::CannotRead, ENODEV};
  if (info.st_size > MaxFileBytes) return {ReadStatus::CannotRead, EFBIG};

  // Read to the end rather than trusting the size: the file may change
  // under us, and some files report no size at all.
  std::string data;
  data.resize(static_cast<std::size_t>(info.st_size) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == data.size()) {
      if (static_cast<long long>(data.size()) > MaxFileBytes) return {ReadStatus::CannotRead, EFBIG};
      data.resize(data.size() * 2);
    }
    const ssize_t got = ::read(file.get(), data.data() + used, data.size() - used);
    if (got < 0) {
      if (errno == EINTR) continue;
      return {ReadStatus::CannotRead, errno};
    }
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
  }
  data.resize(used);
  bytes.swap(data);
  return {};
}

}  // namespace dyno
