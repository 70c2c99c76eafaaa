#include "core/editing/EditorState.h"


namespace dyno {

EditorState::EditorState(EditorHost& host, int screenWidth, int screenHeight) : Host(host) {
  View.ScreenWidth = screenWidth;
  View.ScreenHeight = screenHeight;
  View.VisibleRows = VisibleRowsFor(screenHeight);
  View.ScrollBarHeight = screenHeight - 31;
}

}  // namespace dyno
