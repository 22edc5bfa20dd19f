#include <QApplication>

#include "cli/command_line.h"
#include "ui/cam_designer.h"

// With options the program answers them from the terminal; without, it opens
// the designer window.
int main(int argc, char** argv) {
  if (argc > 1) return korvel::runCommandLine(argc, argv);
  if (korvel::windowHasNoDisplay()) return korvel::reportNoDisplay();
  QApplication app(argc, argv);
  korvel::CamDesigner designer;
  designer.exitOnSignals();
  designer.showAndFocus();
  return QApplication::exec();
}
