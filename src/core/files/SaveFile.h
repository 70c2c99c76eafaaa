#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/document/UserMessage.h"

namespace dyno {

struct EditorDocument;

enum class SaveStatus {
  Saved,
  Failed,
  ChangedOnDisk,    // nothing written: the file changed since it was read or saved; ask first
  ReadBackDiffers,  // nothing written: opened again, some values would read otherwise; ask first
};

// What a save did, and the messages to show for it, in order. A save can
// succeed with a message (a backup that could not be made). ChangedOnDisk
// and ReadBackDiffers carry the question to ask as their one message.
struct SaveResult {
  SaveStatus Status = SaveStatus::Failed;
  std::vector<UserMessage> Messages;
};

// How Save As goes about it.
struct SaveOptions {
  bool OverwriteChangedFile = false;  // the user said to write over another program's changes
  bool AcceptReadBackChanges = false; // the user said to save although values would read back otherwise
};

// The question asked before a file is written whose values, opened again,
// would read otherwise: each change listed (the first twelve), and whether
// to save it anyway.
UserMessage ReadBackQuestion(const std::string& destination, const std::vector<std::string>& changes);

// Writes the engine or upgrade file as ComposeEngineFile composes it.
// Saving over the source file keeps the old file under its backup name,
// but never replaces a backup the user may not write; a failed save leaves
// the backup name as it found it. The destination is replaced only once the new file is completely on
// disk, or, where a new file cannot take its place (hard links, an owner it
// cannot keep, a folder that takes no new file), written in place with its
// old bytes put back on failure; on failure it is left as it was.
SaveResult WriteEngineFile(EditorDocument& doc, const std::string& sourceFolder, const std::string& sourceName,
                           const std::string& destinationFolder, const std::string& destinationName);

// Writes the tire file as ComposeTireFile composes it (the text written is
// left in TireOtherText). Backup, replacement and result as for
// WriteEngineFile.
SaveResult WriteTireFile(EditorDocument& doc, const std::string& sourceFolder, const std::string& sourceName,
                         const std::string& destinationFolder, const std::string& destinationName);

// Save As of the document in its mode under destinationFolder and
// destinationName, backing up the
// file the mode's data came from when it is the destination; once saved, the
// data comes from the destination (EngineFile or TireFile). Refused, with a
// message, when the destination's file system has less than 100000 bytes
// free (a file system that cannot tell is not held against it), or when the
// composed file, read back, would lose rows, samples or curves; not written
// (ReadBackDiffers) when values would read back otherwise, unless options
// accept that; not
// written (ChangedOnDisk) when the destination is the file the data was
// read from or last saved to (the Stamp of EngineFile or TireFile) and another program
// has changed it since, unless options say to overwrite it; else the engine
// or tire file as the writers above write it, and its stamp taken anew.
SaveResult SaveDocumentAs(EditorDocument& doc, const std::string& destinationFolder,
                          const std::string& destinationName, const SaveOptions& options = {});

// Writes bytes as the file folder/name with the safety of Save As: refused
// for lack of room as SaveDocumentAs is, and an existing file replaced as
// Save As replaces one (only once the new bytes are on disk, keeping its
// links and owner). No backup is made.
SaveResult SaveBytesAs(const std::string& folder, const std::string& name, std::string_view bytes);

enum class CopyResultCode { Failed = 0, Copied = 1, SourceNotOpened = 2 };

struct CopyResult {
  CopyResultCode Code = CopyResultCode::Failed;
  UserMessage Message;  // for every failure, captioned "No file copied."
};

// Copies the file sourceFolder/sourceName to destinationFolder/destinationName
// with the source's access and modification times, as a plain writable file.
CopyResult CopyFileWithTimes(const std::string& sourceName, const std::string& sourceFolder,
                             const std::string& destinationName, const std::string& destinationFolder);

// The bytes the user may still write in the file system holding folder (the
// current folder when empty); -1 when that cannot be found out.
long double DiskFreeBytes(const std::string& folder);

}  // namespace dyno
