#include "core/files/SaveFile.h"

#include "core/document/EditorDocument.h"
#include "core/files/ComposeFile.h"
#include "core/files/FilePaths.h"
#include "core/platform/PlatformFile.h"

namespace dyno {

namespace {

constexpr const char* FileErrorCaption = "FILE ERROR!";
constexpr const char* NoCopyCaption = "No file copied.";

// Saving needs at least this much room on the destination's file system.
constexpr long double MinimumFreeBytes = 100000;

// Puts bytes into the file at path as one replacement and says how it went.
void WriteOutputFile(SaveResult& result, const std::string& path, std::string_view bytes) {
  switch (WriteFileReplacing(path, bytes)) {
    case WriteStatus::Ok:
      result.Status = SaveStatus::Saved;
      return;
    case WriteStatus::CannotCreate:
      result.Messages.push_back({"There was an error opening the output file: " + path + ".", FileErrorCaption});
      break;
    case WriteStatus::CannotWrite:
      result.Messages.push_back({"There was an error writing the output file: " + path + ".", FileErrorCaption});
      break;
  }
  result.Status = SaveStatus::Failed;
}

// Before a file is saved over itself, the old file is kept under its backup
// name: as a second name of the old file where the file system allows, else
// as a copy. A failed copy is reported but does not stop the save.
void BackUpWhenSavingOverSource(SaveResult& result, const std::string& sourceFolder, const std::string& sourceName,
                                const std::string& destinationFolder, const std::string& destinationName) {
  const std::string source = JoinPath(sourceFolder, sourceName);
  if (!IsSameFile(source, JoinPath(destinationFolder, destinationName))) return;
  if (LinkAsBackup(source, JoinPath(destinationFolder, BackupName(sourceName)))) return;
  const CopyResult copy = CopyFileWithTimes(sourceName, sourceFolder, BackupName(sourceName), destinationFolder);
  if (copy.Code != CopyResultCode::Copied) result.Messages.push_back(copy.Message);
}

}  // namespace

SaveResult WriteEngineFile(EditorDocument& doc, const std::string& sourceFolder, const std::string& sourceName,
                           const std::string& destinationFolder, const std::string& destinationName) {
  SaveResult result;
  BackUpWhenSavingOverSource(result, sourceFolder, sourceName, destinationFolder, destinationName);
  WriteOutputFile(result, JoinPath(destinationFolder, destinationName), ComposeEngineFile(doc));
  return result;
}

SaveResult WriteTireFile(EditorDocument& doc, const std::string& sourceFolder, const std::string& sourceName,
                         const std::string& destinationFolder, const std::string& destinationName) {
  SaveResult result;
  BackUpWhenSavingOverSource(result, sourceFolder, sourceName, destinationFolder, destinationName);
  ComposeTireFile(doc);
  WriteOutputFile(result, JoinPath(destinationFolder, destinationName), doc.TireOtherText);
  return result;
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
  return doc.TireMode ? WriteTireFile(doc, doc.FileFolder, doc.FileTitle, doc.SaveFolder, doc.SaveTitle)
                      : WriteEngineFile(doc, doc.FileFolder, doc.FileTitle, doc.SaveFolder, doc.SaveTitle);
}

SaveResult SaveBytesAs(const std::string& folder, const std::string& name, std::string_view bytes) {
  SaveResult result;
  if (!TooLittleRoom(result, folder)) WriteOutputFile(result, JoinPath(folder, name), bytes);
  return result;
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
