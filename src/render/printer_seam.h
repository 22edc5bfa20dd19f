#pragma once

#include <QString>

class QPrinter;

// The parts of printing that belong to the desktop: the print dialog and the
// system's default printer. Kept behind this seam so tests can stand in a dialog
// that cancels, or one that accepts and prints into a PDF file.
namespace korvel {

class PrinterSeam {
 public:
  virtual ~PrinterSeam() = default;
  // The system default printer, empty when there is none.
  virtual QString defaultPrinterName() = 0;
  // Lets the user pick a printer; false when the dialog was cancelled.
  virtual bool choosePrinter(QPrinter& printer) = 0;
  virtual void makeDefaultPrinter(const QString& name) = 0;
  // Lets pending window events run (the windows repaint).
  virtual void processEvents() = 0;
};

// The real thing: Qt's print dialog over CUPS.
class SystemPrinterSeam : public PrinterSeam {
 public:
  QString defaultPrinterName() override;
  bool choosePrinter(QPrinter& printer) override;
  void makeDefaultPrinter(const QString& name) override;
  void processEvents() override;
};

// No printer at all, for drawing without a desktop: every dialog is cancelled.
class NoPrinterSeam : public PrinterSeam {
 public:
  QString defaultPrinterName() override { return {}; }
  bool choosePrinter(QPrinter&) override { return false; }
  void makeDefaultPrinter(const QString&) override {}
  void processEvents() override {}
};

}  // namespace korvel
