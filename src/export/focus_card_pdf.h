#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "export/cut_files.h"
#include "export/pdf_page.h"

// The focus check card as a page to take to the camera: a table of the
// distance markers the cam reaches, titled with the lens and how close its cam
// couples.
namespace korvel {

// Nothing, with the reason in error, when the PDF cannot be made.
std::optional<QByteArray> focusCardPdfContent(double focalMm, Paper paper, QString& error);

CutFileResult writeFocusCardPdf(const QString& path, double focalMm, Paper paper);

}  // namespace korvel
