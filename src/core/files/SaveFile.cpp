#include "core/files/SaveFile.h"

#include "core/document/EditorDocument.h"
#include "core/files/ComposeFile.h"
#include "core/files/FilePaths.h"
#include "core/files/ReadBack.h"
#include "core/platform/FileStamp.h"
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

// What a copy's status tells the user.
CopyResult CopyResultOf(CopyStatus status, const std::string& sourceName, const std::string& sourcePath,
                        const std::string& destinationFolder, const std::string& destinationName,
                        const std::string& destinationPath) {
  const auto failed = [](std::string text) { return CopyResult{CopyResultCode::Failed, {std::move(text), NoCopyCaption}}; };
  switch (status) {
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

// The backup of a file saved over itself. The old file is first given a
// private name beside the backup name (a second name where the file system
// allows and the save puts a new file in its place, else a copy), and takes
// the backup name only once the save has succeeded: a failed save leaves the
// folder as it found it, an older backup included. A backup the user may not
// write is not replaced. A failed backup is reported but does not stop the
// save.
class Backup {
 public:
  Backup(SaveResult& result, const std::string& sourceFolder, const std::string& sourceName,
         const std::string& destinationFolder, const std::string& destinationName)
      : result_(result) {
    // Bytes of no source file (an exported table) have nothing to back up.
    if (sourceName.empty()) return;
    sourceName_ = sourceName;
    folder_ = destinationFolder;
    source_ = JoinPath(sourceFolder, sourceName);
    destination_ = JoinPath(destinationFolder, destinationName);
    if (!IsSameFile(source_, destination_)) return;
    name_ = BackupName(sourceName);
    if (name_ == sourceName) {
      Tell("No backup kept: " + sourceName + " is its own backup name.");
      return;
    }
    path_ = JoinPath(destinationFolder, name_);
    switch (InspectBackupSlot(path_)) {
      case BackupSlot::ReadOnly:
        Tell("No backup kept: the backup file is read-only and was left as it was: " + name_);
        return;
      case BackupSlot::OtherOwner:
        Tell("No backup kept: the backup file belongs to another user and was left as it was: " + name_);
        return;
      case BackupSlot::NotAFile:
        Tell("Error creating Destination File: " + name_);
        return;
      case BackupSlot::Free:
      case BackupSlot::Replaceable:
        break;
    }
    wanted_ = true;
    shares_ = IsSameFile(destination_, path_);
  }

  ~Backup() {
    if (!aside_.empty()) RemoveFile(aside_);
    // A backup name that was a second name of the file is given back to it.
    if (unshared_) LinkFile(destination_, path_);
  }
  Backup(const Backup&) = delete;
  Backup& operator=(const Backup&) = delete;

  // A backup name that already is a second name of the file is no other
  // name the save must keep.
  int OtherNames() const { return shares_ ? 1 : 0; }

  // Sets the old file aside, as a second name when link allows, else as a
  // copy. A backup name that is a second name of the file already keeps the
  // old file when a new one takes its place.
  void Prepare(bool link) {
    if (!wanted_) return;
    if (link && shares_) return;
    if (link) {
      std::string aside = PrivateNameBeside(path_, ".bak");
      if (LinkFile(source_, aside)) {
        aside_ = std::move(aside);
        linked_ = true;
        return;
      }
    }
    Copy();
  }

  // Before the file is written in place: a second name set aside, or a
  // backup name that is one, would take the new bytes along. The first
  // becomes a copy; the second is taken off the file until the save has
  // succeeded, and given back when it fails.
  void BeforeWritingInPlace() {
    if (!wanted_) return;
    if (linked_) {
      RemoveFile(aside_);
      aside_.clear();
      linked_ = false;
    }
    if (!copied_) Copy();
    if (shares_ && RemoveFile(path_)) unshared_ = true;
  }

  // The save succeeded: the old file takes the backup name.
  void Keep() {
    unshared_ = false;
    if (aside_.empty()) return;
    if (RenameFile(aside_, path_)) {
      aside_.clear();
    } else {
      Tell("Error creating Destination File: " + name_);
    }
  }

 private:
  // A copy set aside; its messages name the backup, not the private name
  // the copy has until the save succeeds.
  void Copy() {
    copied_ = true;
    std::string aside = PrivateNameBeside(path_, ".bak");
    const CopyResult copy =
        CopyResultOf(CopyFileKeepingTimes(source_, aside), sourceName_, source_, folder_, name_, path_);
    if (copy.Code == CopyResultCode::Copied) {
      aside_ = std::move(aside);
    } else {
      result_.Messages.push_back(copy.Message);
    }
  }

  void Tell(std::string text) { result_.Messages.push_back({std::move(text), NoCopyCaption}); }

  SaveResult& result_;
  std::string sourceName_;
  std::string folder_;  // the destination's
  std::string source_;
  std::string destination_;
  std::string name_;  // the backup's name, and its path
  std::string path_;
  std::string aside_;      // where the old file waits for the save to succeed
  bool wanted_ = false;    // a backup is to be made
  bool shares_ = false;    // the backup name already is a second name of the file
  bool linked_ = false;    // aside_ is a second name of the file
  bool copied_ = false;    // a copy was made, or tried
  bool unshared_ = false;  // the backup name was taken off the file for the save
};

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
  Backup backup(result, sourceFolder, sourceName, destinationFolder, destinationName);
  const bool inPlace = target.Exists && (target.Links - backup.OtherNames() > 1 || !target.OwnerKept);
  backup.Prepare(!inPlace);
  if (inPlace) backup.BeforeWritingInPlace();
  WriteStatus status = inPlace ? WriteFileInPlace(destination, bytes) : WriteFileReplacing(destination, bytes);
  if (status == WriteStatus::CannotReplace) {
    backup.BeforeWritingInPlace();
    status = WriteFileInPlace(destination, bytes);
  }
  if (status == WriteStatus::Ok) backup.Keep();
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

// The question asked before a save writes over another program's changes.
UserMessage ChangedOnDiskQuestion(const std::string& name, bool tire) {
  // Only engine files can be drawn behind the curves.
  const std::string see = tire ? "choose Cancel, save your work under another name and open the file again"
                               : "choose Cancel and draw the file behind your curves with View > Compare With "
                                 "File, or save your work under another name and open the file again";
  return {name + " was changed by another program since it was opened or saved here. Overwriting it loses "
                 "those changes. To see them first, " + see + ". Overwrite it?",
          "FILE CHANGED!"};
}

// A save into folder is refused while its file system has too little room
// (one that cannot tell is not held against it).
bool TooLittleRoom(SaveResult& result, const std::string& folder) {
  const long double freeBytes = DiskFreeBytes(folder);
  if (freeBytes < 0 || freeBytes >= MinimumFreeBytes) return false;
  result = {SaveStatus::Failed, {{"Insufficient DISK SPACE!", FileErrorCaption}}};
  return true;
}

}  // namespace

UserMessage ReadBackQuestion(const std::string& destination, const std::vector<std::string>& changes) {
  // A long list is cut: the user sees its kind and its size.
  constexpr std::size_t Listed = 12;
  std::string text = "Opened again, " + destination + " would not show all the values the window shows:\n";
  for (std::size_t i = 0; i < std::min(changes.size(), Listed); ++i) text += "  " + changes[i] + "\n";
  if (changes.size() > Listed) text += "  and " + std::to_string(changes.size() - Listed) + " more\n";
  text += "The file holds what the simulator reads. Save it anyway?";
  return {std::move(text), "VALUES WOULD CHANGE!"};
}

SaveResult SaveDocumentAs(EditorDocument& doc, const std::string& destinationFolder,
                          const std::string& destinationName, const SaveOptions& options) {
  if (SaveResult refused; TooLittleRoom(refused, destinationFolder)) return refused;

  // Nothing on disk changes for bytes that would not show, opened again,
  // what the window shows now.
  std::string engineBytes;
  if (doc.Mode == FileMode::Tire) {
    ComposeTireFile(doc);
  } else {
    engineBytes = ComposeEngineFile(doc);
  }
  const std::string_view bytes =
      doc.Mode == FileMode::Tire ? std::string_view(doc.TireOtherText) : std::string_view(engineBytes);
  const std::string destination = JoinPath(destinationFolder, destinationName);
  const ReadBackReport report = doc.Mode == FileMode::Tire ? TireReadBack(doc, bytes) : EngineReadBack(doc, bytes);
  if (report.Loss) {
    return {SaveStatus::Failed,
            {{"The file was not saved: read back, " + *report.Loss + ". Nothing was written to " + destination + ".",
              NotSavedCaption}}};
  }
  // Values that would read back otherwise are the user's to accept: the file
  // written is what the simulator reads.
  if (!report.Changes.empty() && !options.AcceptReadBackChanges) {
    return {SaveStatus::ReadBackDiffers, {ReadBackQuestion(destination, report.Changes)}};
  }

  // Another program's changes to the file are not lost without a word.
  DataFile& source = doc.Mode == FileMode::Tire ? doc.TireFile : doc.EngineFile;
  if (!options.OverwriteChangedFile && !source.Stamp.Path.empty() && IsSameFile(source.Stamp.Path, destination) &&
      ChangedSince(destination, source.Stamp)) {
    return {SaveStatus::ChangedOnDisk, {ChangedOnDiskQuestion(destinationName, doc.Mode == FileMode::Tire)}};
  }
  SaveResult saved = WriteComposed(source.Folder, source.Title, destinationFolder, destinationName, bytes);
  // The data now comes from the file it was saved to: the next Save writes
  // there, backing up what this save wrote.
  if (saved.Status == SaveStatus::Saved) {
    source = {JoinPath(destinationFolder, destinationName), destinationName, destinationFolder,
              StampOfBytes(destination, bytes)};
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
  return CopyResultOf(CopyFileKeepingTimes(sourcePath, destinationPath), sourceName, sourcePath, destinationFolder,
                      destinationName, destinationPath);
}

long double DiskFreeBytes(const std::string& folder) { return FreeBytes(folder); }

}  // namespace dyno
