#include "core/files/SaveFile.h"

#include "core/document/EditorDocument.h"
#include "core/files/ComposeFile.h"
#include "core/files/FilePaths.h"
#include "core/files/ReadBack.h"
#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

constexpr const char* FileErrorCaption = "FILE ERROR!";
constexpr const char* NoCopyCaption = "No file copied.";
constexpr const char* NotSavedCaption = "FILE NOT SAVED!";

// Saving needs at least this much room on the destination's file system.
constexpr long double MinimumFreeBytes = 100000;

// Says how putting the bytes into the file at path went.
void Report(SaveResult& result, WriteStatus status, const std::string& path) {
  result.Status = status == WriteStatus::Ok ? SaveStatus::Saved : SaveStatus::Failed;
  switch (status) {
    case WriteStatus::Ok:
      return;
    case WriteStatus::CannotCreate:
    case WriteStatus::CannotReplace:
      result.Messages.push_back({"There was an error opening the output file: " + path + ".", FileErrorCaption});
      return;
    case WriteStatus::CannotWrite:
      result.Messages.push_back({"There was an error writing the output file: " + path + ".", FileErrorCaption});
      return;
    case WriteStatus::CannotWriteBack:
      break;
  }
  result.Messages.push_back({"There was an error writing the output file: " + path +
                                 ". Its old content could not be written back either: the file may be damaged.",
                             FileErrorCaption});
}

// Before a file is saved over itself, the old file is kept under its backup
// name: as a second name of the old file where the file system allows and
// mayLink says the save puts a new file in its place, else as a copy. A
// failed copy is reported but does not stop the save. True when the backup
// is a second name of the file.
bool BackUpWhenSavingOverSource(SaveResult& result, const std::string& sourceFolder, const std::string& sourceName,
                                const std::string& destinationFolder, const std::string& destinationName,
                                bool mayLink) {
  // Bytes of no source file (an exported table) have nothing to back up.
  if (sourceName.empty()) return false;
  const std::string source = JoinPath(sourceFolder, sourceName);
  if (!IsSameFile(source, JoinPath(destinationFolder, destinationName))) return false;
  if (mayLink && LinkAsBackup(source, JoinPath(destinationFolder, BackupName(sourceName)))) return true;
  const CopyResult copy = CopyFileWithTimes(sourceName, sourceFolder, BackupName(sourceName), destinationFolder);
  if (copy.Code != CopyResultCode::Copied) result.Messages.push_back(copy.Message);
  return false;
}

// Backs up and writes the bytes of a save. A new file takes the place of the
// destination, except where that would split the destination's hard links
// (the other names would keep the old bytes), hand it to another owner, or
// cannot be done because its folder takes no new file: then the destination
// itself is written, its old bytes kept to be written back on failure.
SaveResult WriteComposed(const std::string& sourceFolder, const std::string& sourceName,
                         const std::string& destinationFolder, const std::string& destinationName,
                         std::string_view bytes) {
  SaveResult result;
  const std::string destination = JoinPath(destinationFolder, destinationName);
  const SaveTarget target = InspectSaveTarget(destination);
  const bool inPlace = target.Exists && (target.Links > 1 || !target.OwnerKept);
  const bool linked =
      BackUpWhenSavingOverSource(result, sourceFolder, sourceName, destinationFolder, destinationName, !inPlace);
  WriteStatus status = inPlace ? WriteFileInPlace(destination, bytes) : WriteFileReplacing(destination, bytes);
  // Written in place, the file would take its backup name's bytes along.
  if (status == WriteStatus::CannotReplace && !linked) status = WriteFileInPlace(destination, bytes);
  Report(result, status, destination);
  return result;
}

}  // namespace

SaveResult WriteEngineFile(EditorDocument& doc, const std::string& sourceFolder, const std::string& sourceName,
                           const std::string& destinationFolder, const std::string& destinationName) {
  return WriteComposed(sourceFolder, sourceName, destinationFolder, destinationName, ComposeEngineFile(doc));
}

SaveResult WriteTireFile(EditorDocument& doc, const std::string& sourceFolder, const std::string& sourceName,
                         const std::string& destinationFolder, const std::string& destinationName) {
  ComposeTireFile(doc);
  return WriteComposed(sourceFolder, sourceName, destinationFolder, destinationName, doc.TireOtherText);
}

namespace {

// A save into folder is refused while its file system has too little room
// (one that cannot tell is not held against it).
bool TooLittleRoom(SaveResult& result, const std::string& folder) {
  const long double freeBytes = DiskFreeBytes(folder);
  if (freeBytes < 0 || freeBytes >= MinimumFreeBytes) return false;
  result = {SaveStatus::Failed, {{"Insufficient DISK SPACE!", FileErrorCaption}}};
  return true;
}

}  // namespace

SaveResult SaveDocumentAs(EditorDocument& doc, const std::string& destinationFolder,
                          const std::string& destinationName) {
  doc.SaveFolder = destinationFolder;
  if (SaveResult refused; TooLittleRoom(refused, destinationFolder)) return refused;
  doc.SaveTitle = destinationName;

  // Nothing on disk changes for bytes that would not show, opened again,
  // what the window shows now.
  std::string engineBytes;
  if (doc.TireMode) {
    ComposeTireFile(doc);
  } else {
    engineBytes = ComposeEngineFile(doc);
  }
  const std::string_view bytes = doc.TireMode ? std::string_view(doc.TireOtherText) : std::string_view(engineBytes);
  const std::optional<std::string> difference =
      doc.TireMode ? TireReadBackDifference(doc, bytes) : EngineReadBackDifference(doc, bytes);
  if (difference) {
    return {SaveStatus::Failed,
            {{"The file was not saved: read back, " + *difference + ". Nothing was written to " +
                  JoinPath(destinationFolder, destinationName) + ".",
              NotSavedCaption}}};
  }
  DataFile& source = doc.TireMode ? doc.TireFile : doc.EngineFile;
  SaveResult saved = WriteComposed(source.Folder, source.Title, doc.SaveFolder, doc.SaveTitle, bytes);
  // The data now comes from the file it was saved to: the next Save writes
  // there, backing up what this save wrote.
  if (saved.Status == SaveStatus::Saved) {
    source = {JoinPath(destinationFolder, destinationName), destinationName, destinationFolder};
  }
  return saved;
}

SaveResult SaveBytesAs(const std::string& folder, const std::string& name, std::string_view bytes) {
  if (SaveResult refused; TooLittleRoom(refused, folder)) return refused;
  return WriteComposed({}, {}, folder, name, bytes);
}

CopyResult CopyFileWithTimes(const std::string& sourceName, const std::string& sourceFolder,
                             const std::string& destinationName, const std::string& destinationFolder) {
  const std::string sourcePath = JoinPath(sourceFolder, sourceName);
  const std::string destinationPath = JoinPath(destinationFolder, destinationName);
  const auto failed = [](std::string text) { return CopyResult{CopyResultCode::Failed, {std::move(text), NoCopyCaption}}; };
  switch (CopyFileKeepingTimes(sourcePath, destinationPath)) {
    case CopyStatus::Ok:
      return {CopyResultCode::Copied, {}};
    case CopyStatus::CannotOpenSource:
      return {CopyResultCode::SourceNotOpened, {"Error: unable to open File: " + sourceName, NoCopyCaption}};
    case CopyStatus::NoRoom:
      return failed("Insufficient disk space on " + destinationFolder + " to copy file: " + destinationName);
    case CopyStatus::CannotCreateDestination:
      return failed("Error creating Destination File: " + destinationName);
    case CopyStatus::CannotReadSource:
      return failed("Error reading Source File: " + sourcePath);
    case CopyStatus::CannotWriteDestination:
      break;
  }
  return failed("Disk May be full. Error writing Destination File: " + destinationPath);
}

long double DiskFreeBytes(const std::string& folder) { return FreeBytes(folder); }

}  // namespace dyno
