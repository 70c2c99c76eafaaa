#pragma once

// The one place where the editor talks to the operating system about files.
// Everything here works on UTF-8 paths and raw bytes; every other part of the
// core is plain C++ and reaches files only through these functions.

#include <string>
#include <string_view>

namespace dyno {

// Largest file the editor reads; its texts are indexed with 32-bit ints.
inline constexpr long long MaxFileBytes = 1LL << 30;

enum class ReadStatus { Ok, CannotOpen, CannotRead };

struct FileReadResult {
  ReadStatus Status = ReadStatus::Ok;
  int Error = 0;  // the system's error number of the failure
};

// Reads every byte of the ordinary file at path into bytes. Anything else (a
// folder, a pipe, a device) and a file over MaxFileBytes cannot be read. On
// failure bytes is left as it was.
FileReadResult ReadFileBytes(const std::string& path, std::string& bytes);

enum class WriteStatus {
  Ok,
  CannotCreate,     // the file cannot be made: no such folder, no permission, not a file
  CannotReplace,    // the file may be written, but no new file can take its place
  CannotWrite,      // writing or flushing failed (a full disk, say); the file holds its old bytes
  CannotWriteBack,  // writing in place failed, and so did putting the old bytes back
};

// Puts bytes into the file at path as one replacement: they go into a new
// file beside it, flushed to disk, which then takes its place, so the target
// holds either its old or its new bytes, whatever fails. An existing target
// must be an ordinary file the user may write; a link is followed, also to
// a file that does not exist yet. CannotReplace when the target is such a
// file but its folder takes no new file, or a new file could not keep the
// target's owner and group. A new file gets the permission bits mode when
// mode is not negative; else a replaced file's are kept.
WriteStatus WriteFileReplacing(const std::string& path, std::string_view bytes, int mode = -1);

// Puts bytes into the existing ordinary file at path itself, which the user
// may write: it keeps its names, owner and permissions. Its old bytes are
// read first and written back when the new ones cannot be written.
WriteStatus WriteFileInPlace(const std::string& path, std::string_view bytes);

// What saving must know of the file at path (a link followed) before it
// writes it.
struct SaveTarget {
  bool Exists = false;    // an ordinary file is there
  int Links = 0;          // its names (hard links)
  bool OwnerKept = true;  // a new file in its place can have its owner and group
};
SaveTarget InspectSaveTarget(const std::string& path);

// What holds the name a backup is to take (a link followed).
enum class BackupSlot {
  Free,         // nothing
  Replaceable,  // an ordinary file of the user's that the user may write
  ReadOnly,     // an ordinary file no one may write, or this user may not
  OtherOwner,   // an ordinary file of another user's
  NotAFile,     // a folder, a device, or what cannot be looked at
};
BackupSlot InspectBackupSlot(const std::string& path);

// A name beside path, in its folder, that no file has yet: the name of a
// file of this process's own, ending in suffix.
std::string PrivateNameBeside(const std::string& path, const char* suffix);

// Gives the ordinary file source, which the user may write, the second name
// name, which no file may have yet, without copying a byte. False when the
// file system cannot; nothing is changed then. (A read-only file is not
// saved over, and its backup must be one the user may write.)
bool LinkFile(const std::string& source, const std::string& name);

// Renames the file from to to, replacing whatever held that name.
bool RenameFile(const std::string& from, const std::string& to);

// Removes the name path of a file.
bool RemoveFile(const std::string& path);

enum class CopyStatus {
  Ok,
  CannotOpenSource,         // missing, unreadable, or not an ordinary file
  NoRoom,                   // the destination's file system has no room for it
  CannotCreateDestination,
  CannotReadSource,
  CannotWriteDestination,
};

// Copies the ordinary file source to destination, which gets the source's
// access and modification times and becomes a plain file its owner may read
// and write. The destination is replaced only once the copy is complete.
CopyStatus CopyFileKeepingTimes(const std::string& source, const std::string& destination);

// The bytes the user may still write in the file system holding folder (the
// current folder when empty); -1 when that cannot be found out.
long double FreeBytes(const std::string& folder);

}  // namespace dyno
