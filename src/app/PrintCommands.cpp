// Printing, print preview and the About box.
#include "app/TDynoforgeApp.h"

namespace dyno {

bool TDynoforgeApp::PrinterReady() { return false; }

void TDynoforgeApp::Print() {}

void TDynoforgeApp::PrintSetup() {}

void TDynoforgeApp::PrintPreview() {}

void TDynoforgeApp::About() {}

}  // namespace dyno
