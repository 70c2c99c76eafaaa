#pragma once

// What a file held when the editor read or wrote it, so that a later save
// can tell whether another program has changed the file since.

#include <cstdint>
#include <string>
#include <string_view>

namespace dyno {

// The bytes are what count: a file touched, or written again with the same
// bytes, has lost nothing to a save; one changed within the same second (or
// the same two, on FAT) has, though its size and time may be as they were.
struct FileStamp {
  std::string Path;        // the file it was taken of; empty when none was
  long long Size = 0;      // its bytes then
  std::uint64_t Hash = 0;  // a hash of those bytes

  bool operator==(const FileStamp&) const = default;
};

// The stamp of the file at path, which holds bytes.
FileStamp StampOfBytes(const std::string& path, std::string_view bytes);

// Whether the file at path (the one the stamp was taken of, or another name
// of it) holds other bytes now than the stamp says. A file that is gone has
// not changed: writing it again loses nothing; nor has what is no ordinary
// file now (a folder, a pipe): saving reports what stands there. An ordinary
// file that cannot be read any more has: what it holds cannot be told. No
// stamp (no file read or written) never changes.
bool ChangedSince(const std::string& path, const FileStamp& stamp);

}  // namespace dyno
