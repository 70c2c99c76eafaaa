#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <vector>

#include "core/document/EditorDocument.h"
#include "core/document/StepKind.h"

namespace dyno {

// The view a step shows again when it is undone or redone: the file mode,
// the charted slip curve, the first row of the table and the selected cell.
struct ViewMark {
  FileMode Mode = FileMode::Engine;
  int CurrentSlipCurve = 0;
  int FirstVisibleRow = 0;
  int SelectedIndex = 0;
  bool CompressionSelected = false;
  bool TorqueSelected = false;
  std::array<bool, SlipCurveSlots> CurveSelected{};

  friend bool operator==(const ViewMark&, const ViewMark&) = default;
};

struct UndoStep;

// The two files whose data a document holds: the engine (or upgrade) file,
// with its rows, parameters and text, and the tire file, with its slip
// curves and texts. Each is saved on its own.
enum class FileData { Engine, Tire };
inline constexpr int FileDataKinds = 2;

// The undo history of the document: one step per user action, each holding
// only what the action changed (as it was before and after), and the view
// before and after. A kept text is held only by a step that replaced it, and
// then without a copy: the step and the document swap it on undo and redo.
// Whether there are unsaved changes is the history's to tell, and no one
// else's: there are none exactly when the data of both files is in the state
// last opened or saved.
class UndoHistory {
 public:
  static constexpr int MaxSteps = 1000;
  static constexpr std::size_t MaxBytes = std::size_t{64} << 20;

  UndoHistory();
  ~UndoHistory();
  UndoHistory(const UndoHistory&) = delete;
  UndoHistory& operator=(const UndoHistory&) = delete;

  // Forgets every step: the document as it is now begins a new history and
  // counts as the clean state, except the data that was unsaved, which stays
  // unsaved. The data of a file just opened, fresh, counts as saved.
  void Reset(EditorDocument& doc);
  void Reset(EditorDocument& doc, FileData fresh);

  // An action is about to change doc: takes the document as it is, so that
  // the step can tell what the action changed. A step still recording is
  // committed first, view being the view after it.
  void Begin(EditorDocument& doc, StepKind kind, const ViewMark& view);
  bool Recording() const { return recording_ != nullptr; }
  std::optional<StepKind> RecordingKind() const;
  // The recording step turned out to be another kind of action.
  void Rename(StepKind kind);

  // The action is done: a step that changed anything is kept (and the steps
  // undone before it are dropped), one that changed nothing is forgotten and
  // leaves the unsaved state as it was. Returns whether a step was kept.
  bool Commit(EditorDocument& doc, const ViewMark& view);

  // Stops recording without keeping a step; what the action changed stays.
  void Abandon(EditorDocument& doc);

  // The step Undo / Redo would take: the recording one first for Undo.
  std::optional<StepKind> NextUndo() const;
  std::optional<StepKind> NextRedo() const;

  // Takes the document back before the last step / forward through the next
  // one and returns the view to show; nothing while a step records or when
  // there is no such step.
  std::optional<ViewMark> Undo(EditorDocument& doc);
  std::optional<ViewMark> Redo(EditorDocument& doc);

  // That file's data as it is now is on disk (or is as good as new): it
  // counts as unsaved again on undo or redo away from this state.
  void MarkClean(EditorDocument& doc, FileData data);

  // Whether that file's data differs from its state last opened or saved:
  // some step between the two changed it, that state is gone from the
  // history, or the step still recording has changed it so far.
  bool Unsaved(const EditorDocument& doc, FileData data) const;
  // Whether either file's data does.
  bool Unsaved(const EditorDocument& doc) const;
  // The view of the newest step that can be undone and changed that data.
  std::optional<ViewMark> LastChangeView(FileData data) const;

  int Steps() const;
  int Position() const { return position_; }  // steps that can be undone
  // The memory the steps hold: their own size and the capacity of
  // everything they keep.
  std::size_t Bytes() const { return bytes_; }

 private:
  struct OpenStep;

  void Trim();
  void DropOldest();
  void Apply(UndoStep& step, EditorDocument& doc, bool forward);
  void StopParking(EditorDocument& doc);
  bool RecordingChanged(const EditorDocument& doc, FileData data) const;

  std::vector<UndoStep> steps_;
  int position_ = 0;
  // For each file's data, the position of its clean state; -1: none is kept.
  std::array<int, FileDataKinds> clean_{};
  std::size_t bytes_ = 0;
  std::unique_ptr<OpenStep> recording_;
  std::unique_ptr<OpenStep> spare_;  // the last recording, its storage reused
};

}  // namespace dyno
