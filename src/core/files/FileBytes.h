#pragma once

#include <string>

namespace dyno {

// Largest file the editor reads; its texts are indexed with 32-bit ints.
inline constexpr long long MaxFileBytes = 1LL << 30;

enum class ReadStatus { Ok, CannotOpen, CannotRead };

struct FileReadResult {
  ReadStatus Status = ReadStatus::Ok;
  int Error = 0;  // errno of the failure
};

// Reads every byte of the file at path into bytes. On failure bytes is left
// as it was.
FileReadResult ReadFileBytes(const std::string& path, std::string& bytes);

}  // namespace dyno
