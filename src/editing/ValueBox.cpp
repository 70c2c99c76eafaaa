#include "editing/ValueBox.h"

#include "document/EditorState.h"
#include "document/ModeCommands.h"

namespace dyno {

void WriteValueBox(EditorState& st, std::string_view text) {
  st.Ui.ReadoutText = std::string(text);
  st.Ui.EditSetByProgram = true;
  st.Host.EmptyValueBox();
  st.Host.InsertValueBoxText(text);
  st.Ui.ValueShown = true;
}

void EmptyValueBoxByProgram(EditorState& st) {
  // Only a box that holds text notifies its emptying; setting the skip flag
  // for an empty box would swallow the user's next keystroke instead.
  if (st.Host.ValueBoxText().empty()) return;
  st.Ui.EditSetByProgram = true;
  st.Host.EmptyValueBox();
}

void ResetInteraction(EditorState& st) {
  ClearPicking(st.Ui);
  EmptyValueBoxByProgram(st);
  st.Ui.ValueShown = false;
}

}  // namespace dyno
