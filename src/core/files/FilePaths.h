#pragma once

#include <string>
#include <string_view>

namespace dyno {

// The name of the backup copy of a file: its name with the last character
// replaced by "_" (ENGINE.INI gives ENGINE.IN_).
std::string BackupName(std::string_view name);

// The file name of a path: the part after its last "/". A backslash is an
// ordinary character of a file name here, so "folder\name" is one name.
std::string FileNameOfPath(std::string_view path);

// folder and name joined with the platform's separator.
std::string JoinPath(const std::string& folder, const std::string& name);

// True when both paths name the same file: equal, ignoring letter case, once
// made absolute, or the same file on disk (through links or "..").
bool IsSameFile(const std::string& first, const std::string& second);

}  // namespace dyno
