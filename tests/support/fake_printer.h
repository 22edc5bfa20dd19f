#pragma once

#include <QPrinter>
#include <functional>

#include "render/printer_seam.h"

// Stands in for the print dialog: cancels, or accepts and prints into a PDF
// file whose whole page is the printable area.
namespace korvel::testing {

class FakePrinterSeam : public PrinterSeam {
 public:
  bool accept = false;
  QString pdfPath;
  int dialogs = 0;
  std::function<void()> onEvents;  // runs where printing lets events through

  QString defaultPrinterName() override { return "Office"; }
  bool choosePrinter(QPrinter& printer) override {
    ++dialogs;
    if (!accept) return false;
    printer.setOutputFileName(pdfPath);  // a PDF, by its name
    printer.setFullPage(true);
    return true;
  }
  void makeDefaultPrinter(const QString&) override {}
  void processEvents() override { if (onEvents) onEvents(); }
};

}  // namespace korvel::testing
