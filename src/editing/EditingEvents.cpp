// Mouse, value box, timer and bend mode of the editor window.
#include "document/TDynoforgeWindow.h"

namespace dyno {

void TDynoforgeWindow::BendCommand() {}

void TDynoforgeWindow::OnTimerTick() {
  ChartLayout& chart = State().Chart;
  if (chart.ScaleChanged) {
    update(QRect(TableWidth, 0, width() - TableWidth, height()));
    chart.ScaleChanged = false;
  }
}

}  // namespace dyno
