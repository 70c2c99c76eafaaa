#pragma once

#include <string>
#include <string_view>

namespace dyno {

class EditorHost;
struct EditorDocument;
struct EditorState;

// Writes the engine or upgrade file: the lines of EngineText as they are,
// except that the first line holding "RPMTorque=(" becomes all current rows
// and every later such line is dropped. Saving over the source file first
// copies it to its backup name. The destination is replaced only once the
// new file is completely on disk. Returns 1 when written, 0 on failure
// (reported to the user; the old destination is then left as it was).
int WriteEngineFile(EditorState& st, const std::string& sourceFolder, const std::string& sourceName,
                    const std::string& destinationFolder, const std::string& destinationName);

// Writes the tire file: the lines of TireText, with everything from the first
// "[SLIPCURVE]" header to TireTailPos replaced by the current slip curves
// (when there are none, TireText is written as it is).
// Backup, replacement and result as for WriteEngineFile. The text written is
// left in TireOtherText.
int WriteTireFile(EditorState& st, const std::string& sourceFolder, const std::string& sourceName,
                  const std::string& destinationFolder, const std::string& destinationName);

// The text WriteEngineFile writes.
std::string ComposeEngineFile(EditorDocument& doc);

// The text WriteTireFile writes, composed into TireOtherText.
void ComposeTireFile(EditorDocument& doc);

// Appends every slip curve in use to TireOtherText as a tire file holds it
// and moves TireTextPos on to TireTailPos.
void ComposeSlipCurves(EditorDocument& doc);

// Copies the file sourceFolder/sourceName to destinationFolder/destinationName
// with the source's access and modification times, as a plain writable file.
// Returns 1 on success, 2 when the source cannot be opened, 0 on any other
// failure; failures are reported with the caption "No file copied.".
int CopyFileWithTimes(EditorHost& host, const std::string& sourceName, const std::string& sourceFolder,
                      const std::string& destinationName, const std::string& destinationFolder);

// The bytes the user may still write in the file system holding folder (the
// current folder when empty); -1 when that cannot be found out.
long double DiskFreeBytes(const std::string& folder);

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
