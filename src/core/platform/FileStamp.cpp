#include "core/platform/FileStamp.h"

#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

// FNV-1a, 64 bits: quick, and for files no one forges to collide, enough.
std::uint64_t HashOf(std::string_view bytes) {
  std::uint64_t hash = 14695981039346656037ULL;
  for (const char c : bytes) {
    hash ^= static_cast<unsigned char>(c);
    hash *= 1099511628211ULL;
  }
  return hash;
}

}  // namespace

FileStamp StampOfBytes(const std::string& path, std::string_view bytes) {
  return {path, static_cast<long long>(bytes.size()), HashOf(bytes)};
}

bool ChangedSince(const std::string& path, const FileStamp& stamp) {
  if (stamp.Path.empty()) return false;
  std::string bytes;
  if (ReadFileBytes(path, bytes).Status != ReadStatus::Ok) return InspectSaveTarget(path).Exists;
  return static_cast<long long>(bytes.size()) != stamp.Size || StampOfBytes(path, bytes).Hash != stamp.Hash;
}

}  // namespace dyno
