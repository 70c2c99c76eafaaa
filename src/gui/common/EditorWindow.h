#pragma once

#include <QString>

class QWidget;

namespace dyno {

struct EditorState;
class UserDialogs;

// What the editor window's command groups need of the window: the editor
// state, the dialogs, the parent for them, and the caption.
class EditorWindow {
 public:
  virtual ~EditorWindow() = default;

  virtual EditorState& State() = 0;
  virtual UserDialogs& Dialogs() const = 0;
  // The top-level window that owns the editor's dialogs and message boxes.
  virtual QWidget* DialogParent() = 0;
  // The editor view itself: its size, its palette and its pixels.
  virtual QWidget& View() = 0;
  // The frame caption, from the file the data shown came from: "Dynoforge",
  // or "Dynoforge - <file name>", marked while that data has unsaved changes.
  virtual void UpdateCaption() = 0;
};

}  // namespace dyno
