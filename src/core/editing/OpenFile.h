#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/document/UndoHistory.h"
#include "core/document/UserMessage.h"
#include "core/files/FileKind.h"
#include "core/files/ReadResult.h"

namespace dyno {

struct EditorDocument;
struct EditorState;

// A physics file read for opening and not yet shown. Its data is read apart
// from the document, so that a file that cannot be opened, or a Cancel to
// the question about the changes it would replace, leaves the document and
// everything the window shows as they were.
struct FileToOpen {
  FileToOpen();
  ~FileToOpen();
  FileToOpen(FileToOpen&&) noexcept;
  FileToOpen& operator=(FileToOpen&&) noexcept;

  std::string Path;    // full path
  std::string Title;   // name without the folder
  std::string Folder;  // its folder
  FileKind Kind = FileKind::Engine;
  ReadOutcome Read;
  std::unique_ptr<EditorDocument> Data;  // what the reader made of it

  // Whether it can be shown: it was read and holds the data sought.
  bool Opened() const { return Read.Result == ReadResult::Read; }
  // The data of the document it replaces when shown: an engine or upgrade
  // file replaces the engine data, a tire file the tire data.
  FileData Replaces() const { return Kind == FileKind::Tire ? FileData::Tire : FileData::Engine; }
};

// Reads the file at path (folder and title are its parts) as Open reads it:
// a tire file by its slip curves, any other by its torque rows. The document
// is not touched.
FileToOpen ReadFileToOpen(const std::string& path, const std::string& folder, const std::string& title);

// Why a file read for opening cannot be shown, in the words Open uses ("No
// torque data found in this file!"); nothing when it can.
std::optional<UserMessage> OpenFailureMessage(const FileToOpen& file);

// Shows a file that was opened: its data takes the place of the document's
// data of that kind, which now comes from that file; the data of the other
// kind stays as it was, with its unsaved changes. The mode follows the file
// (Upgrade for a name holding "UPGRADE"), the engine parameters are read from
// an engine file, nothing stays picked, the table starts at its top, and the
// data just opened counts as saved.
void ShowOpenedFile(EditorState& st, FileToOpen& file);

}  // namespace dyno
