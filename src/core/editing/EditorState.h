#pragma once

#include "core/chart/ChartLayout.h"
#include "core/chart/ViewState.h"
#include "core/document/EditorDocument.h"
#include "core/chart/EditorHost.h"
#include "core/editing/InteractionState.h"

namespace dyno {

// Everything the editor window holds apart from its widgets: the document,
// the view, the chart layout of the last paint and the interaction state,
// together with the host that repaints and shows messages.
struct EditorState {
  EditorState(EditorHost& host, int screenWidth, int screenHeight);

  EditorHost& Host;
  EditorDocument Doc;
  ViewState View;
  ChartLayout Chart;
  InteractionState Ui;

  // The client area from (left, top) to its far corner.
  Rect ClientFrom(int left, int top) const { return {left, top, View.ScreenWidth, View.ScreenHeight}; }
};

// Refills the slip curve slots: slot 0 with the first built-in curve (or with
// zeros once a tire file has been parsed), slots 1 to 3 with zeros; one curve
// of 237 samples, the first one current.
void ResetSlipCurves(EditorState& st);

}  // namespace dyno
