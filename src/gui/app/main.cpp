#include "gui/app/TDynoforgeApp.h"

int main(int argc, char* argv[]) {
  dyno::TDynoforgeApp app(argc, argv);
  return app.Run();
}
