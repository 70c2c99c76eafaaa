#include "core/files/SaveFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "core/editing/EditorState.h"
#include "core/files/EngineFile.h"
#include "core/files/NumberText.h"
#include "core/files/TextHelpers.h"
#include "core/files/TireFile.h"

namespace fs = std::filesystem;

namespace dyno {

namespace {

constexpr const char* FileErrorCaption = "FILE ERROR!";
constexpr const char* NoCopyCaption = "No file copied.";
constexpr std::size_t CopyChunkBytes = 9216;
constexpr int WrapColumn = 90;  // a sample line ends once it is this long

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

// A new file that takes the place of target only when Commit succeeds: it is
// written beside target under a temporary name, flushed to disk and renamed
// over target, so after a crash the target holds either its old or its new
// bytes, never part of them. Until then target keeps its old bytes, whatever fails; an
// uncommitted temporary file is removed.
class ReplacementFile {
 public:
  ReplacementFile() = default;
  ~ReplacementFile() { Discard(); }
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Creates the temporary file. An existing target must be a regular file
  // the user may write: a read-only file is not replaced behind the user's
  // back. A link is followed, so the file it names is replaced. mode is the
  // new file's permission bits; without it an existing target's bits are
  // kept and a new file gets the usual ones.
  bool Create(const std::string& target, int mode = -1) {
    std::error_code ignored;
    target_ = fs::is_symlink(target, ignored) ? fs::weakly_canonical(target, ignored).string() : target;
    if (target_.empty()) target_ = target;

    struct stat existing {};
    const bool exists = ::stat(target_.c_str(), &existing) == 0;
    if (exists) {
      if (!S_ISREG(existing.st_mode)) return Fail(S_ISDIR(existing.st_mode) ? EISDIR : EINVAL);
      if (::access(target_.c_str(), W_OK) != 0) return Fail(errno);
    } else if (errno != ENOENT) {
      return Fail(errno);
    }

    const fs::path folder = fs::path(target_).parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      static unsigned counter = 0;
      const std::string name = ".dynoforge-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".tmp";
      temporary_ = (folder.empty() ? fs::path(name) : folder / name).string();
      file_.Reset(::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
      if (file_.get() >= 0) break;
      if (errno != EEXIST) {
        temporary_.clear();
        return Fail(errno);
      }
    }
    if (file_.get() < 0) {
      temporary_.clear();
      return Fail(EEXIST);
    }

    if (mode >= 0) {
      ::fchmod(file_.get(), static_cast<mode_t>(mode));
    } else if (exists) {
      // Keep owner and permissions of the file being replaced where allowed.
      if (::fchown(file_.get(), existing.st_uid, existing.st_gid) != 0) {
      }
      ::fchmod(file_.get(), existing.st_mode & 07777);
    }
    return true;
  }

  int fd() const { return file_.get(); }

  bool Write(const char* data, std::size_t size) { return WriteAll(file_.get(), data, size) || Fail(errno); }

  // Flushes the file to disk and puts it in the place of the target.
  bool Commit() {
    if (::fsync(file_.get()) != 0) return Fail(errno);
    if (!file_.Close()) return Fail(errno);
    if (::rename(temporary_.c_str(), target_.c_str()) != 0) return Fail(errno);
    temporary_.clear();
    return true;
  }

  int Error() const { return error_; }

 private:
  bool Fail(int error) {
    error_ = error;
    return false;
  }
  void Discard() {
    file_.Close();
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    temporary_.clear();
  }

  FileDescriptor file_;
  std::string target_;
  std::string temporary_;
  int error_ = 0;
};

// Puts bytes into the file at path as one replacement. Returns 1, or reports
// the failure and returns 0.
int WriteOutputFile(EditorHost& host, const std::string& path, std::string_view bytes) {
  ReplacementFile file;
  if (!file.Create(path)) {
    host.ShowMessage("There was an error opening the output file: " + path + ".", FileErrorCaption);
    return 0;
  }
  if (!file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
    host.ShowMessage("There was an error writing the output file: " + path + ".", FileErrorCaption);
    return 0;
  }
  return 1;
}

// Gives the file at source a second name, backup, replacing whatever held
// that name. The save then puts a new file in source's place, so backup is
// left with the old file itself: its bytes, times and permissions, without
// copying a byte. Only for an ordinary file the user may write (a read-only
// one is not saved over, and its backup must be a writable copy); false when
// the file system cannot do it.
bool LinkAsBackup(const std::string& source, const std::string& backup) {
  struct stat info {};
  if (::stat(source.c_str(), &info) != 0 || !S_ISREG(info.st_mode) || (info.st_mode & S_IWUSR) == 0 ||
      ::access(source.c_str(), W_OK) != 0) {
    return false;
  }
  const fs::path folder = fs::path(backup).parent_path();
  static unsigned counter = 0;
  const std::string name = ".dynoforge-" + std::to_string(::getpid()) + "-" + std::to_string(++counter) + ".lnk";
  const std::string temporary = (folder.empty() ? fs::path(name) : folder / name).string();
  if (::linkat(AT_FDCWD, source.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) != 0) return false;
  const bool renamed = ::rename(temporary.c_str(), backup.c_str()) == 0;
  // A backup that already was this file's second name leaves the temporary
  // name behind: renaming a file onto another name of itself does nothing.
  ::unlink(temporary.c_str());
  return renamed;
}

// Before a file is saved over itself, the old file is kept under its backup
// name: as a second name of the old file where the file system allows, else
// as a copy. A failed copy is reported but does not stop the save.
void BackUpWhenSavingOverSource(EditorHost& host, const std::string& sourceFolder, const std::string& sourceName,
                                const std::string& destinationFolder, const std::string& destinationName) {
  const std::string source = JoinPath(sourceFolder, sourceName);
  if (!IsSameFile(source, JoinPath(destinationFolder, destinationName))) return;
  if (LinkAsBackup(source, JoinPath(destinationFolder, BackupName(sourceName)))) return;
  CopyFileWithTimes(host, sourceName, sourceFolder, BackupName(sourceName), destinationFolder);
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) {
           return lower(x) == lower(y);
         });
}

}  // namespace

std::string ComposeEngineFile(EditorDocument& doc) {
  std::string out;
  out.reserve(doc.EngineText.size() + static_cast<std::size_t>(std::clamp(doc.RowCount, 0, MaxEngineRows)) * 48);
  bool rowsWritten = false;
  doc.EngineTextPos = 0;
  while (doc.EngineTextPos < doc.EngineTextSize()) {
    const std::string_view line = ReadTextLine(doc.EngineText, doc.EngineTextPos);
    // Row lines are recognised exactly as the reader recognises them.
    if (LineContains(line, TorqueRowKey)) {
      if (!rowsWritten) AppendTorqueRows(out, doc);
      rowsWritten = true;
    } else {
      out += line;
    }
  }
  return out;
}

int WriteEngineFile(EditorState& st, const std::string& sourceFolder, const std::string& sourceName,
                    const std::string& destinationFolder, const std::string& destinationName) {
  BackUpWhenSavingOverSource(st.Host, sourceFolder, sourceName, destinationFolder, destinationName);
  const std::string text = ComposeEngineFile(st.Doc);
  return WriteOutputFile(st.Host, JoinPath(destinationFolder, destinationName), text);
}

void ComposeSlipCurves(EditorDocument& doc) {
  std::string& out = doc.TireOtherText;
  const int curves = std::clamp(doc.SlipCurveCount, 0, SlipCurveSlots);
  for (int b = 0; b < curves; ++b) {
    const SlipCurve& curve = doc.SlipCurves[b];
    out += SlipCurveHeader;
    out += "Name=";
    out += curve.Name;
    out += "\r\n";
    AppendCFormat(out, "Step=%0.5f\r\n", FileValue(curve.Step));
    AppendCFormat(out, "DropoffFunction=%0.1f\r\n", FileValue(curve.DropoffFunction));
    out += "Data:\r\n";

    const int samples = std::clamp(curve.SampleCount, 0, MaxSlipSamples);
    // A sample as written, with its blank. A value that prints as zero is
    // written "0.000000": "-0.000000" at the start of a line would end the
    // samples when the file is read again.
    const auto appendSample = [&](int i, std::string& text) {
      const std::size_t start = text.size();
      AppendFixed(text, FileValue(curve.Samples[i]), 6);  // "%0.6f "
      text += ' ';
      if (text.compare(start, 10, "-0.000000 ") == 0) text.erase(start, 1);
    };
    const auto endLine = [&](std::string& line) {
      line.back() = '\r';
      line += '\n';
      out += line;
      line.clear();
    };
    // A line ends once it is 90 characters long. A line starting with a minus
    // sign would end the samples when read again, so a sample goes to the
    // line together with the negative samples that follow it, and lines
    // break only between such groups while a line (255 bytes with its end)
    // can hold them. With no negative samples this is the plain rule.
    constexpr std::size_t MaxLine = LineBufferSize - 1;
    std::string line;
    std::string group;
    std::string nextText;
    for (int i = 0; i < samples;) {
      group.clear();
      appendSample(i, group);
      int j = i + 1;
      for (; j < samples; ++j) {
        nextText.clear();
        appendSample(j, nextText);
        if (nextText.front() != '-') break;
        group += nextText;
      }
      if (!line.empty() && line.size() + group.size() + 1 > MaxLine) endLine(line);
      if (group.size() + 1 > MaxLine) {
        // Too many negative samples in a row for one line: some must start
        // a line after all.
        for (int k = i; k < j; ++k) {
          appendSample(k, line);
          if (static_cast<int>(line.size()) >= WrapColumn || k == samples - 1) endLine(line);
        }
      } else {
        line += group;
        if (static_cast<int>(line.size()) >= WrapColumn || j == samples) endLine(line);
      }
      i = j;
    }
    out += "\r\n";
  }
  doc.TireTextPos = std::max(doc.TireTextPos, doc.TireTailPos);
}

void ComposeTireFile(EditorDocument& doc) {
  std::string().swap(doc.TireOtherText);
  doc.TireOtherText.reserve(doc.TireText.size() + SlipCurveSlots * 9000);
  // The curves go where the first section stood; every later header, such as
  // a fifth section, is ordinary text. Where no curve was read there is
  // nothing to put in, and the sections without samples stay as they are.
  bool composed = doc.SlipCurveCount <= 0;
  doc.TireTextPos = 0;
  while (doc.TireTextPos < doc.TireTextSize()) {
    const std::string_view line = ReadTextLine(doc.TireText, doc.TireTextPos);
    if (!composed && line == SlipCurveHeader) {
      ComposeSlipCurves(doc);
      composed = true;
    } else {
      doc.TireOtherText += line;
    }
  }
}

int WriteTireFile(EditorState& st, const std::string& sourceFolder, const std::string& sourceName,
                  const std::string& destinationFolder, const std::string& destinationName) {
  BackUpWhenSavingOverSource(st.Host, sourceFolder, sourceName, destinationFolder, destinationName);
  ComposeTireFile(st.Doc);
  return WriteOutputFile(st.Host, JoinPath(destinationFolder, destinationName), st.Doc.TireOtherText);
}

int CopyFileWithTimes(EditorHost& host, const std::string& sourceName, const std::string& sourceFolder,
                      const std::string& destinationName, const std::string& destinationFolder) {
  const std::string sourcePath = JoinPath(sourceFolder, sourceName);
  const std::string destinationPath = JoinPath(destinationFolder, destinationName);

  // Only a plain file is copied; opening without waiting keeps a pipe put in
  // its place from hanging the save.
  FileDescriptor source(::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  struct stat info {};
  if (source.get() < 0 || ::fstat(source.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
    host.ShowMessage("Error: unable to open File: " + sourceName, NoCopyCaption);
    return 2;
  }

  const long double free = DiskFreeBytes(destinationFolder);
  if (free >= 0 && free < static_cast<long double>(info.st_size)) {
    host.ShowMessage("Insufficient disk space on " + destinationFolder + " to copy file: " + destinationName,
                     NoCopyCaption);
    return 0;
  }

  // A backup is a plain file its owner can read and write, whatever the
  // source's permissions were.
  ReplacementFile destination;
  if (!destination.Create(destinationPath, static_cast<int>((info.st_mode & 0777) | S_IRUSR | S_IWUSR))) {
    host.ShowMessage("Error creating Destination File: " + destinationName, NoCopyCaption);
    return 0;
  }

  std::vector<char> buffer(CopyChunkBytes + 4);
  long long remaining = info.st_size;
  while (remaining > 0) {
    const std::size_t asked = static_cast<std::size_t>(std::min<long long>(remaining, CopyChunkBytes));
    const ssize_t got = ReadUpTo(source.get(), buffer.data(), asked);
    if (got == 0) break;
    if (got < 0 || static_cast<std::size_t>(got) < asked) {
      host.ShowMessage("Error reading Source File: " + sourcePath, NoCopyCaption);
      return 0;
    }
    if (!destination.Write(buffer.data(), asked)) {
      host.ShowMessage("Disk May be full. Error writing Destination File: " + destinationPath, NoCopyCaption);
      return 0;
    }
    remaining -= static_cast<long long>(asked);
  }

  const struct timespec times[2] = {info.st_atim, info.st_mtim};
  ::futimens(destination.fd(), times);
  if (!destination.Commit()) {
    host.ShowMessage("Disk May be full. Error writing Destination File: " + destinationPath, NoCopyCaption);
    return 0;
  }
  return 1;
}

long double DiskFreeBytes(const std::string& folder) {
  std::error_code error;
  const fs::space_info space = fs::space(folder.empty() ? fs::path(".") : fs::path(folder), error);
  if (error || space.available == static_cast<std::uintmax_t>(-1)) return -1;
  return static_cast<long double>(space.available);
}

std::string BackupName(std::string_view name) {
  if (name.empty()) return "_";
  // The last character, not its last byte: a name ending in a multi-byte
  // UTF-8 character loses the whole character.
  std::size_t last = name.size() - 1;
  const auto continuation = [](char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; };
  std::size_t lead = last;
  while (lead > 0 && last - lead < 3 && continuation(name[lead])) --lead;
  const auto first = static_cast<unsigned char>(name[lead]);
  const std::size_t length = first >= 0xF0 ? 4 : first >= 0xE0 ? 3 : first >= 0xC0 ? 2 : 1;
  if (lead + length == name.size() && (length > 1 || !continuation(name[lead]))) last = lead;
  return std::string(name.substr(0, last)) + "_";
}

std::string FileNameOfPath(std::string_view path) {
  const auto slash = path.rfind('/');
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return (fs::path(folder) / name).string();
}

bool IsSameFile(const std::string& first, const std::string& second) {
  std::error_code firstError;
  std::error_code secondError;
  const fs::path a = fs::absolute(first, firstError).lexically_normal();
  const fs::path b = fs::absolute(second, secondError).lexically_normal();
  if (!firstError && !secondError && EqualIgnoringCase(a.string(), b.string())) return true;
  std::error_code error;
  return fs::equivalent(first, second, error) && !error;
}

}  // namespace dyno
