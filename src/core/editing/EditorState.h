#pragma once

#include <string_view>

#include "core/chart/ChartLayout.h"
#include "core/editing/EditorHost.h"
#include "core/chart/ViewState.h"
#include "core/document/EditorDocument.h"
#include "core/document/EditorSession.h"
#include "core/document/UndoHistory.h"
#include "core/editing/EditSteps.h"
#include "core/editing/InteractionState.h"

namespace dyno {

// What the status bar says when a click or typing does nothing in bend mode.
inline constexpr std::string_view BendModeNotice =
    "Bend mode: the Up and Down buttons bend the whole curve; turn Bend off (Edit menu) to pick or type a sample.";

// Everything the editor window holds apart from its widgets: the document
// and its undo history, the session, the view, the chart layout as last
// computed and the interaction state, together with the host that repaints
// and shows messages.
struct EditorState {
  EditorState(EditorHost& host, int screenWidth, int screenHeight);

  EditorHost& Host;
  EditorDocument Doc;
  UndoHistory History;
  EditorSession Session;
  ViewState View;
  ChartLayout Chart;
  InteractionState Ui;
  // Records the edits of the parts above in History, and undoes them. It
  // holds references to them, so the state is neither copied nor moved.
  EditSteps Steps{Doc, History, View, Ui, Host};
};

}  // namespace dyno
