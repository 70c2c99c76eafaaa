#pragma once

#include "core/chart/Pixels.h"

namespace dyno {

// Layout units between the preview pages and the edges of their window.
inline constexpr int PreviewMargin = 15;
inline constexpr int PreviewPageGap = 30;

// The first page of a print preview in a layout window of layoutWidth x
// layoutHeight for a printable extent of printableWidth x printableHeight
// printer pixels. It sits PreviewMargin units from the window's left and top
// edges and reaches to PreviewMargin units short of the edge that limits it:
// the bottom when the window is relatively wider than the extent, else the
// right edge. Its other side follows from the extent's aspect ratio, taken at
// 95 % of the exact ratio. A window too small for the margins gives an empty
// page.
Rect FirstPreviewPage(int layoutWidth, int layoutHeight, int printableWidth, int printableHeight);

// The second page: the same top and size, PreviewPageGap units to the right
// of the first.
Rect SecondPreviewPage(const Rect& first);

}  // namespace dyno
