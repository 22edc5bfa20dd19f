#include <QApplication>
#include <cstdio>
#include <cstring>

#include "ui/cam_designer.h"

int main(int argc, char** argv) {
  // Answered before any display is opened, so scripts and packaging checks can ask.
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::printf("korvel-cam-designer %d.%d.%d\n", KORVEL_VERSION_MAJOR, KORVEL_VERSION_MINOR, KORVEL_VERSION_PATCH);
    return 0;
  }
  QApplication app(argc, argv);
  korvel::CamDesigner designer;
  designer.showAndFocus();
  return QApplication::exec();
}
