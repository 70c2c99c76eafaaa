// Mouse, value box, timer and bend mode of the editor window: each event is
// handed to the editor core as it comes.
#include <QMouseEvent>

#include "gui/document/TDynoforgeWindow.h"
#include "core/editing/Mouse.h"
#include "core/editing/Timer.h"
#include "core/editing/ValueBox.h"

namespace dyno {

namespace {

Point ClientPoint(const QMouseEvent* event) {
  const QPoint p = event->position().toPoint();
  return {p.x(), p.y()};
}

}  // namespace

void TDynoforgeWindow::BendCommand() { dyno::BendCommand(State()); }

void TDynoforgeWindow::OnTimerTick() { EvTimer(State()); }

void TDynoforgeWindow::OnValueEditChanged() { ValueEditNotify(State(), ValueEditCode::TextChanged); }

void TDynoforgeWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) EvLButtonDown(State(), ClientPoint(event));
  event->accept();
}

void TDynoforgeWindow::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) EvLButtonDblClk(State(), ClientPoint(event));
  event->accept();
}

void TDynoforgeWindow::mouseMoveEvent(QMouseEvent* event) {
  EvMouseMove(State(), ClientPoint(event));
  event->accept();
}

void TDynoforgeWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) EvLButtonUp(State(), ClientPoint(event));
  event->accept();
}

}  // namespace dyno
