#include "core/editing/OpenFile.h"

#include <utility>

#include "core/chart/RowScrolling.h"
#include "core/editing/DynoView.h"
#include "core/editing/EditorRepaint.h"
#include "core/editing/EditorState.h"
#include "core/editing/ModeCommands.h"
#include "core/editing/InteractionState.h"
#include "core/files/CompareFile.h"
#include "core/files/EngineFile.h"
#include "core/files/EngineParameters.h"
#include "core/files/TireFile.h"

namespace dyno {

FileToOpen::FileToOpen() = default;
FileToOpen::~FileToOpen() = default;
FileToOpen::FileToOpen(FileToOpen&&) noexcept = default;
FileToOpen& FileToOpen::operator=(FileToOpen&&) noexcept = default;

FileToOpen ReadFileToOpen(const std::string& path, const std::string& folder, const std::string& title) {
  FileToOpen file;
  file.Path = path;
  file.Folder = folder;
  file.Title = title;
  file.Kind = KindOfFile(title);
  file.Data = std::make_unique<EditorDocument>();
  file.Read = file.Kind == FileKind::Tire ? ReadTireFile(*file.Data, path) : ReadEngineRows(*file.Data, path);
  return file;
}

std::optional<UserMessage> OpenFailureMessage(const FileToOpen& file) {
  const std::string nothingFound =
      std::string(file.Kind == FileKind::Tire ? NoTireData : NoTorqueData);
  return ReadFailureMessage(file.Read.Result, file.Path, nothingFound);
}

namespace {

void TakeTireData(EditorDocument& doc, EditorDocument& read) {
  doc.SlipCurves = read.SlipCurves;
  doc.SlipCurveCount = read.SlipCurveCount;
  doc.TireText = std::move(read.TireText);
  doc.TireTailPos = read.TireTailPos;
  doc.TireOtherText = std::move(read.TireOtherText);
  doc.TireSections = read.TireSections;
  doc.TireSectionCount = read.TireSectionCount;
  doc.TireParsed = true;
  doc.TireLoaded = true;
}

}  // namespace

void ShowOpenedFile(EditorState& st, FileToOpen& file) {
  EditorDocument& doc = st.Doc;
  EditorDocument& read = *file.Data;
  // Typing still in progress belongs to the data shown before.
  st.Steps.End();
  ResetInteraction(st.Ui, st.Host);
  DataFile opened{file.Path, file.Title, file.Folder, file.Read.Stamp};

  if (file.Kind == FileKind::Tire) {
    TakeTireData(doc, read);
    doc.TireFile = std::move(opened);
    SetFileMode(st, FileMode::Tire);
    // The table reaches the last sample of the longest curve.
    doc.RowCount = read.RowCount;
    UpdateRowScrollBar(st.View, st.Host, 0, doc.RowCount);
    ForgetSlipComparisons(st.Session.Dyno, st.Host, st.View);
    st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
    st.Steps.Start(FileData::Tire);
    RememberSavedSlipCurves(st.Session.Dyno, doc);
    return;
  }

  doc.Engine = read.Engine;
  doc.EngineText = std::move(read.EngineText);
  doc.EngineLoaded = true;
  doc.EngineFile = std::move(opened);
  SetFileMode(st, FileMode::Engine);
  if (file.Kind == FileKind::Upgrade) {
    SetFileMode(st, FileMode::Upgrade);
    doc.UpgradeLoaded = true;
  }
  // An upgrade file's parameters belong to the engine it upgrades.
  if (doc.Mode != FileMode::Upgrade) ReadEngineParameters(doc);
  ForgetComparisons(st.Session.Dyno, st.Host, st.View);
  RepaintNewRows(st.Host, st.View);
  st.Steps.Start(FileData::Engine);
  RememberSavedCurve(st.Session.Dyno, doc);
}

}  // namespace dyno
