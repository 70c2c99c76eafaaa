#pragma once

#include "document/EditorHost.h"

namespace dyno {

// Fixed table and header geometry, in client pixels.
inline constexpr int RowHeight = 14;
inline constexpr int HeaderHeight = 24;
inline constexpr int FirstRowY = HeaderHeight + 1;  // 25
inline constexpr int TableTop = FirstRowY + 4;      // 29
inline constexpr int TableWidth = 283;
inline constexpr int MinVisibleRows = 5;
inline constexpr int MaxVisibleRows = 499;

// Table rows that fit a client area whose ScreenHeight (height + 1) is given.
int VisibleRowsFor(int screenHeight);

// The part of the view that lives between paints.
struct ViewState {
  // The screen size until the first size change, then the client area's
  // width + 1 and height + 1, so a repaint up to them covers everything.
  int ScreenWidth = 1024;
  int ScreenHeight = 768;
  int VisibleRows = VisibleRowsFor(768);
  int ScrollBarHeight = 768 - 31;
  int FirstVisibleRow = 0;
  int ScrollPos = 0;
  int PrevScrollPos = 0;
  RowScrollBarState RowScrollBar;

  // Set only while a printout page is being painted.
  bool PrintingPage = false;
  int PrintPageIndex = 0;
};

}  // namespace dyno
