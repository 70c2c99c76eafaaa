#pragma once

#include "core/chart/ChartLayout.h"
#include "core/editing/EditorHost.h"
#include "core/chart/ViewState.h"
#include "core/document/EditorDocument.h"
#include "core/document/EditorSession.h"
#include "core/document/UndoHistory.h"
#include "core/editing/EditSteps.h"
#include "core/editing/InteractionState.h"

namespace dyno {

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
