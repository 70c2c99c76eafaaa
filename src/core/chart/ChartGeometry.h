#pragma once

#include <algorithm>
#include <array>

#include "core/chart/Pixels.h"
#include "core/chart/ViewState.h"

namespace dyno {

// Pixel values read from the layout or the interaction state may lie
// anywhere; held within this distance of the origin, any sum of a few of
// them stays an int, and drawing visits only what reaches the client area.
inline constexpr int FarPixel = 1 << 24;
inline int NearPixel(int v) { return std::clamp(v, -FarPixel, FarPixel); }

// The fixed parts of the view: table columns, header bar and body panels,
// in client pixels. Rectangles are (left, top, right, bottom) as the panel
// drawing takes them; where a drawn outline includes its right and bottom
// edge, that is the drawing's business, not the rectangle's.

// Table column edges, from the table's left edge to TableWidth.
inline constexpr std::array<int, 5> EngineColumnEdges{1, 61, 161, 221, TableWidth};
inline constexpr std::array<int, 6> TireColumnEdges{1, 36, 96, 156, 216, TableWidth};

// Columns the value box and the mouse refer to.
inline constexpr ColumnSpan CompressionColumnSpan{61, 161};
inline constexpr ColumnSpan TorqueColumnSpan{161, 221};
// Left x of the tire columns Data 1 to Data 4, and the right end of Data 4.
inline constexpr std::array<int, 5> TireDataColumnX{36, 96, 156, 216, TableWidth - 8};

// Right edges at which the table values are drawn (right-aligned).
inline constexpr int EngineRpmTextX = 61 - 60 / 16;                // 58
inline constexpr int EngineCompressionTextX = 161 - 100 / 8 - 2;  // 147
inline constexpr int EngineTorqueTextX = 221 - 60 / 8 - 2;        // 212
inline constexpr int EnginePowerTextX = TableWidth - 62 / 8 - 2;  // 274
inline constexpr std::array<int, 5> TireTextX{32, 93, 153, 213, 273};

// Yellow cell highlights of the tire table, one per data column.
inline constexpr std::array<ColumnSpan, 4> TireHighlightSpans{
    ColumnSpan{36, 96}, ColumnSpan{97, 156}, ColumnSpan{157, 216}, ColumnSpan{217, TableWidth - 8}};

// Header bar.
inline constexpr Rect HeaderCellRect(int left, int right) { return {left, 1, right, HeaderHeight}; }
inline constexpr Rect ValueGrooveRect{TableWidth, 1, TableWidth + 72, HeaderHeight};
inline constexpr Rect ValueEditRect{TableWidth + 4, 5, TableWidth + 4 + 65, 5 + 16};
inline constexpr int ButtonLeft = TableWidth + 73;            // 356
inline constexpr int ButtonSplitY = 1 + HeaderHeight / 2;     // 13
inline constexpr Rect UpButtonDrawnRect{ButtonLeft, 1, TableWidth + 95, ButtonSplitY - 1};
inline constexpr Rect DownButtonDrawnRect{ButtonLeft, ButtonSplitY, TableWidth + 95, HeaderHeight};
inline constexpr Rect UpButtonHitRect{ButtonLeft, 1, TableWidth + 96, ButtonSplitY};
inline constexpr Rect DownButtonHitRect{ButtonLeft, ButtonSplitY, TableWidth + 96, HeaderHeight + 1};
inline constexpr Rect TitlePanelRect(int right) { return {TableWidth + 96, 1, right - 2, HeaderHeight}; }

// Body; right and bottom are those of the client area (its width and height).
inline constexpr Rect TableWellRect(int bottom) { return {0, FirstRowY, TableWidth - 3, bottom}; }
inline constexpr Rect ChartPanelRect(int right, int bottom) {
  return {TableWidth + 22, FirstRowY, right - 2, bottom - 1};
}
inline constexpr int RowScrollBarWidth = 20;

// Top of the cell band of table line i (0-based from the top of the table);
// the band is RowHeight pixels high.
inline constexpr int TableLineTop(int line) { return HeaderHeight + 4 + RowHeight * line; }

}  // namespace dyno
