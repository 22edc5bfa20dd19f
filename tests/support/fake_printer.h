#pragma once

#include <QPrinter>
#include <functional>

#include "render/printer_seam.h"

// Stands in for the print dialog: cancels, or accepts and prints into a PDF
// file with no page margins, so the printable area is the whole page.
namespace korvel::testing {

class FakePrinterSeam : public PrinterSeam {
 public:
  QString systemDefault = "Office";
  bool accept = false;
  QString pdfPath;
  QString pickedPrinter;          // becomes the default when the dialog accepts
  int dialogs = 0;
  QStringList madeDefault;        // names handed back as the default
  std::function<void()> onEvents; // runs where printing lets events through

  QString defaultPrinterName() override { return systemDefault; }
  bool choosePrinter(QPrinter& printer) override {
    ++dialogs;
    if (!accept) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdfPath);
    printer.setFullPage(false);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Inch);
    if (!pickedPrinter.isEmpty()) systemDefault = pickedPrinter;
    return true;
  }
  void makeDefaultPrinter(const QString& name) override {
    madeDefault << name;
    systemDefault = name;
  }
  void processEvents() override {
    if (onEvents) onEvents();
  }
};

}  // namespace korvel::testing
