#include <QApplication>

#include "ui/cam_designer.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  korvel::CamDesigner designer;
  designer.showAndFocus();
  return QApplication::exec();
}
