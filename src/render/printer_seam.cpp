#include "render/printer_seam.h"

#include <cups/cups.h>

#include <QApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

namespace korvel {

QString SystemPrinterSeam::defaultPrinterName() { return QPrinterInfo::defaultPrinterName(); }

bool SystemPrinterSeam::choosePrinter(QPrinter& printer) {
  QPrintDialog dialog(&printer, QApplication::activeWindow());
  return dialog.exec() == QDialog::Accepted;
}

void SystemPrinterSeam::makeDefaultPrinter(const QString& name) {
  cups_dest_t* dests = nullptr;
  const int count = cupsGetDests(&dests);
  const QByteArray wanted = name.toUtf8();
  bool found = false;
  for (int i = 0; i < count; ++i) {
    const bool isWanted = dests[i].instance == nullptr && wanted == dests[i].name;
    dests[i].is_default = isWanted ? 1 : 0;
    found = found || isWanted;
  }
  // Only a printer that still exists can become the default again.
  if (found) cupsSetDests(count, dests);
  cupsFreeDests(count, dests);
}

void SystemPrinterSeam::processEvents() { QApplication::processEvents(); }

}  // namespace korvel
