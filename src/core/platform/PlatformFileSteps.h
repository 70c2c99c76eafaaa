#pragma once

// The steps of the platform file functions that are the same on every
// system, written over each system's own reads, writes and replacement
// file. Only the platform implementations include this.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/platform/PlatformFile.h"

namespace dyno::platform {

inline constexpr std::size_t CopyChunkBytes = 9216;

// Reads a file to its end rather than trusting its size (sizeHint): the
// file may change under us, and some report no size at all. read(data,
// size) gives the bytes read, 0 at the end, or -1 after an error, whose
// number error() then gives; tooLarge is the system's number for a file over
// MaxFileBytes. On failure bytes is left as it was.
template <class Read, class Error>
FileReadResult ReadToEnd(long long sizeHint, Read read, Error error, int tooLarge, std::string& bytes) {
  std::string data;
  data.resize(static_cast<std::size_t>(sizeHint) + 1);
  std::size_t used = 0;
  for (;;) {
    if (used == data.size()) {
      if (static_cast<long long>(data.size()) > MaxFileBytes) return {ReadStatus::CannotRead, tooLarge};
      data.resize(data.size() * 2);
    }
    const std::size_t wanted = data.size() - used;
    const long long got = read(data.data() + used, wanted);
    if (got < 0) return {ReadStatus::CannotRead, error()};
    if (got == 0) break;
    used += static_cast<std::size_t>(got);
    // Read to the size the file gave and short of the byte beyond it: that
    // was the end, and asking once more would only hear so.
    if (static_cast<std::size_t>(got) < wanted && sizeHint > 0 && used == static_cast<std::size_t>(sizeHint)) break;
  }
  if (used > static_cast<std::size_t>(MaxFileBytes)) return {ReadStatus::CannotRead, tooLarge};
  data.resize(used);
  bytes.swap(data);
  return {};
}

// WriteFileReplacing over a system's replacement file (Create, Write, Commit).
template <class Replacement>
WriteStatus WriteReplacing(const std::string& path, std::string_view bytes, int mode) {
  Replacement file;
  const WriteStatus created = file.Create(path, mode);
  if (created != WriteStatus::Ok) return created;
  if (!file.Write(bytes.data(), bytes.size()) || !file.Commit()) return WriteStatus::CannotWrite;
  return WriteStatus::Ok;
}

// WriteFileInPlace over a system's open file (Open, ReadAll, Overwrite, which
// writes from the start, cuts the file there and flushes it): the old bytes
// stay in memory until the new ones are on disk.
template <class InPlace>
WriteStatus WriteInPlace(const std::string& path, std::string_view bytes) {
  InPlace file;
  std::string old;
  if (!file.Open(path) || !file.ReadAll(old)) return WriteStatus::CannotCreate;
  if (file.Overwrite(bytes)) return WriteStatus::Ok;
  return file.Overwrite(old) ? WriteStatus::CannotWrite : WriteStatus::CannotWriteBack;
}

// Copies size bytes in chunks: readUpTo(data, size) gives the bytes read,
// fewer only at the end of the file, or -1 on an error; write(data, size)
// says whether all were written. A source that ends early (it shrank) ends
// the copy there.
template <class ReadUpTo, class Write>
CopyStatus CopyChunks(long long size, ReadUpTo readUpTo, Write write) {
  std::vector<char> buffer(CopyChunkBytes);
  long long remaining = size;
  while (remaining > 0) {
    const std::size_t asked = static_cast<std::size_t>(std::min<long long>(remaining, CopyChunkBytes));
    const long long got = readUpTo(buffer.data(), asked);
    if (got == 0) break;
    if (got < 0 || static_cast<std::size_t>(got) < asked) return CopyStatus::CannotReadSource;
    if (!write(buffer.data(), asked)) return CopyStatus::CannotWriteDestination;
    remaining -= static_cast<long long>(asked);
  }
  return CopyStatus::Ok;
}

}  // namespace dyno::platform
