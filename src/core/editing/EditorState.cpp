#include "core/editing/EditorState.h"

#include <algorithm>

#include "core/document/DefaultSlipTable.h"

namespace dyno {

EditorState::EditorState(EditorHost& host, int screenWidth, int screenHeight) : Host(host) {
  View.ScreenWidth = screenWidth;
  View.ScreenHeight = screenHeight;
  View.VisibleRows = VisibleRowsFor(screenHeight);
  View.ScrollBarHeight = screenHeight - 31;
}

void ResetSlipCurves(EditorState& st) {
  EditorDocument& doc = st.Doc;
  for (int slot = 0; slot < SlipCurveSlots; ++slot) {
    auto& samples = doc.SlipCurves[slot].Samples;
    if (slot == 0 && !doc.TireParsed) {
      std::copy(DefaultSlipTable[0].begin(), DefaultSlipTable[0].end(), samples.begin());
    } else {
      std::fill_n(samples.begin(), DefaultSlipSamples, 0.0);
    }
  }
  doc.SlipCurves[0].SampleCount = DefaultSlipSamples;
  doc.CurrentSlipCurve = 0;
  doc.RowCount = DefaultSlipSamples;
  doc.SlipCurveCount = 1;
  st.Host.Invalidate(st.ClientFrom(0, 0), false);
}

}  // namespace dyno
