#pragma once

#include "core/document/UndoHistory.h"

namespace dyno {

class EditorHost;
struct InteractionState;
struct ViewState;

// Undo and redo on the whole editor. Every action that changes the document
// is recorded as one step of the history: a command from its start to its
// end, a mouse press to its release (a drag, a hold of the Up or Down
// button, a click on a table cell), and a run of typing in the value box
// until another point is picked, the box loses the focus or Enter is
// pressed. Each step keeps the view it was taken in (file mode, table rows,
// selected cell), read from the view and interaction state given here.
class EditSteps {
 public:
  EditSteps(EditorDocument& doc, UndoHistory& history, ViewState& view, InteractionState& ui, EditorHost& host);
  EditSteps(const EditSteps&) = delete;
  EditSteps& operator=(const EditSteps&) = delete;

  // An action of that kind is about to change the document; a step still
  // recording (a run of typing, say) ends first.
  void Begin(StepKind kind);

  // Ends the recording step, if any: kept when it changed anything.
  void End();

  // Ends the recording step when it is a run of typing.
  void EndTyping();

  // Ends the recording step without keeping it (a dialog was cancelled);
  // what it changed stays as it is.
  void Abandon();

  // The document as it is now begins a new history: after a file is opened
  // (whose data, fresh, counts as saved) and at start-up.
  void Start();
  void Start(FileData opened);

  // That file's data was saved, or is a new engine as good as saved: it
  // counts as unsaved again once an undo or redo moves away from this state.
  void MarkClean(FileData saved);

  // Undo and Redo: the document goes back before the last step or forward
  // through the next one, and the view shows the file mode, table rows and
  // selected cell as they were then. Nothing stays picked, dragged or held,
  // the value box is emptied, and the whole window is repainted.
  void Undo();
  void Redo();

 private:
  ViewMark MarkOfView() const;
  void ShowRecordedView(const ViewMark& mark);
  void TakeStep(bool forward);

  EditorDocument& doc_;
  UndoHistory& history_;
  ViewState& view_;
  InteractionState& ui_;
  EditorHost& host_;
};

}  // namespace dyno
