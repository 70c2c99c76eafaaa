#pragma once

// The steps the editor window takes around the core's readers, writers and
// curve operations (repaint, scroll bar, messages), replayed on an editor
// state with a fake window, so core tests can check a command as a whole.

#include <string>

#include "core/chart/ChartLayout.h"
#include "core/chart/RowScrolling.h"
#include "core/curves/Generator.h"
#include "core/curves/Resolution.h"
#include "core/curves/Rows.h"
#include "core/editing/EditorState.h"
#include "core/editing/ValueBox.h"
#include "core/files/EngineFile.h"
#include "core/files/ParameterEdits.h"
#include "core/files/SaveFile.h"
#include "core/files/TireFile.h"

namespace dyno::test {

inline void Show(EditorHost& host, const std::optional<UserMessage>& message) {
  if (message) host.ShowMessage(message->Text, message->Caption);
}

inline void AddLine(EditorState& st) {
  dyno::AddLine(st.Doc);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
}

inline void RemoveLine(EditorState& st) {
  Show(st.Host, dyno::RemoveLine(st.Doc).Message);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
}

inline bool ChangeResolution(EditorState& st, double step) {
  const EditOutcome outcome = dyno::ChangeResolution(st.Doc, step);
  Show(st.Host, outcome.Message);
  if (outcome.Changed) RefitTable(st.View, st.Host, st.Doc.RowCount);
  return outcome.Changed;
}

inline void ShowGeneratedCurve(EditorState& st) {
  GenerateEngineCurve(st.Doc);
  ResetInteraction(st.Ui, st.Host);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
}

inline void GenerateNewEngine(EditorState& st) {
  dyno::GenerateNewEngine(st.Doc);
  ResetInteraction(st.Ui, st.Host);
  RefitTable(st.View, st.Host, st.Doc.RowCount);
}

inline void ResetSlipCurves(EditorState& st) {
  dyno::ResetSlipCurves(st.Doc);
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
}

// 1 when read, 0 when nothing was found, -1 when the file could not be read.
inline int ReadEngineRows(EditorState& st, const std::string& path) {
  const ReadResult read = dyno::ReadEngineRows(st.Doc, path).Result;
  if (read == ReadResult::Read || read == ReadResult::NothingFound) st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
  return read == ReadResult::Read ? 1 : read == ReadResult::NothingFound ? 0 : -1;
}

// 1 when read, 0 when nothing was found or the bytes could not be read (then
// told), -1 when the file could not be opened.
inline int ReadTireFile(EditorState& st, const std::string& path) {
  const ReadOutcome read = dyno::ReadTireFile(st.Doc, path);
  if (read.Result == ReadResult::Read || read.Result == ReadResult::NothingFound) {
    st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
  }
  if (read.Result == ReadResult::CannotRead) {
    st.Host.ShowMessage("Last error = " + std::to_string(static_cast<unsigned>(read.Error)), "Read of tire file failed!");
  }
  return read.Result == ReadResult::Read ? 1 : read.Result == ReadResult::CannotOpen ? -1 : 0;
}

inline int ParseTireText(EditorState& st) {
  const int result = dyno::ParseTireText(st.Doc);
  st.Host.Invalidate(st.View.ClientFrom(0, 0), false);
  return result;
}

// 1 when written, 0 when not; the messages go to the fake window.
inline int Written(EditorHost& host, const SaveResult& result) {
  for (const UserMessage& message : result.Messages) host.ShowMessage(message.Text, message.Caption);
  return result.Status == SaveStatus::Saved ? 1 : 0;
}

inline int WriteEngineFile(EditorState& st, const std::string& sourceFolder, const std::string& sourceName,
                           const std::string& destinationFolder, const std::string& destinationName) {
  return Written(st.Host, dyno::WriteEngineFile(st.Doc, sourceFolder, sourceName, destinationFolder, destinationName));
}

inline int WriteTireFile(EditorState& st, const std::string& sourceFolder, const std::string& sourceName,
                         const std::string& destinationFolder, const std::string& destinationName) {
  return Written(st.Host, dyno::WriteTireFile(st.Doc, sourceFolder, sourceName, destinationFolder, destinationName));
}

// 1 when copied, 2 when the source could not be opened, 0 otherwise.
inline int CopyFileWithTimes(EditorHost& host, const std::string& sourceName, const std::string& sourceFolder,
                             const std::string& destinationName, const std::string& destinationFolder) {
  const CopyResult result = dyno::CopyFileWithTimes(sourceName, sourceFolder, destinationName, destinationFolder);
  if (result.Code != CopyResultCode::Copied) host.ShowMessage(result.Message.Text, result.Message.Caption);
  return static_cast<int>(result.Code);
}

inline void ApplyParameterTexts(EditorState& st, const ParameterTexts& texts) {
  dyno::ApplyParameterTexts(st.Doc, texts);
  st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
}

inline void ApplySlipCurveCount(EditorState& st, int curveCount) {
  dyno::ApplySlipCurveCount(st.Doc, curveCount);
  st.Host.Invalidate(st.View.ClientFrom(2, 2), false);
}

inline void UpdateRowScrollBar(EditorState& st, int first, int total) {
  dyno::UpdateRowScrollBar(st.View, st.Host, first, total);
}
inline int RowScrollNotify(EditorState& st, int position) { return dyno::RowScrollNotify(st.View, st.Host, position); }
inline void ClientSizeChanged(EditorState& st, int width, int height) {
  dyno::ClientSizeChanged(st.View, st.Host, st.Doc.RowCount, width, height);
}
inline void ComputeChartLayout(EditorState& st, int width, int height) {
  dyno::ComputeChartLayout(st.View, st.Chart, st.Doc, width, height);
}
inline void ResetInteraction(EditorState& st) { dyno::ResetInteraction(st.Ui, st.Host); }
inline void ForgetRowsBeyondCurve(EditorState& st) { dyno::ForgetRowsBeyondCurve(st.Ui, st.Host, st.Doc.RowCount); }
inline void WriteValueBox(EditorState& st, std::string_view text) { dyno::WriteValueBox(st.Ui, st.Host, text); }

}  // namespace dyno::test
