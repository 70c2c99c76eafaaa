#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace dyno {

// The name of the backup copy of a file: its name with the last character
// replaced by "_" (ENGINE.INI gives ENGINE.IN_).
std::string BackupName(std::string_view name);

// The file name of a path: the part after its last "/". A backslash is an
// ordinary character of a file name here, so "folder\name" is one name.
std::string FileNameOfPath(std::string_view path);

// A UTF-8 path as a std::filesystem path, and back. Through char8_t on
// every system: the std::string conversions read and write the ANSI code
// page on Windows. On Windows bytes that are not UTF-8 throw
// std::filesystem::filesystem_error; on POSIX every byte passes unchanged.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8FromPath(const std::filesystem::path& path);

// folder and name joined with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// True when both paths name the same file: equal, ignoring letter case, once
// made absolute, or the same file on disk (through links or "..").
bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace dyno
