// Open, Save As and the parameter dialogs of the editor window.
#include "document/TDynoforgeWindow.h"

namespace dyno {

void TDynoforgeWindow::OpenPhysicsFile() {}

bool TDynoforgeWindow::SaveAsPhysicsFile() { return false; }

void TDynoforgeWindow::EditParameters() {}

}  // namespace dyno
