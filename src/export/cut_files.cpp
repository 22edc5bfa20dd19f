#include "export/cut_files.h"

#include <QFileInfo>
#include <QXmlStreamWriter>
#include <cerrno>

#include "common/atomic_file.h"
#include "common/write_error.h"
#include "export/bitmap_file.h"
#include "export/cut_file_formats.h"
#include "render/drawing_painter.h"

namespace korvel {

double TrueSize::fontMm(const QFont& font) const { return mm(surfaceEmInches(font)); }

void startMillimetreSvg(QXmlStreamWriter& xml, double widthMm, double heightMm) {
  xml.setAutoFormatting(true);
  xml.writeStartDocument();
  xml.writeStartElement("svg");
  xml.writeDefaultNamespace("http://www.w3.org/2000/svg");
  xml.writeAttribute("version", "1.1");
  xml.writeAttribute("width", fixed6(widthMm) + "mm");
  xml.writeAttribute("height", fixed6(heightMm) + "mm");
  xml.writeAttribute("viewBox", "0 0 " + fixed6(widthMm) + " " + fixed6(heightMm));
}

QString fixed6(double value) {
  QString text = QString::number(value, 'f', 6);
  return text == "-0.000000" ? "0.000000" : text;
}

std::optional<CutFileFormat> cutFileFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == "dxf") return CutFileFormat::Dxf;
  if (suffix == "svg") return CutFileFormat::Svg;
  if (suffix == "pdf") return CutFileFormat::Pdf;
  if (suffix == "csv") return CutFileFormat::ProfileCsv;
  if (suffix == "bmp") return CutFileFormat::Bitmap;
  return std::nullopt;
}

namespace {

// The content of a file for cutting; nothing, with the reason in error, when
// it cannot be made.
std::optional<QByteArray> cutContent(CutFileFormat format, const CamDrawing& drawing, int scale,
                                     Paper paper, QString& error) {
  switch (format) {
    case CutFileFormat::Dxf:
      return dxfContent(drawing, scale);
    case CutFileFormat::Svg:
      return svgContent(drawing, scale);
    case CutFileFormat::Pdf:
      return pdfContent(drawing, scale, paper, error);
    case CutFileFormat::ProfileCsv:
      return profileCsvContent(drawing);
    case CutFileFormat::Bitmap:
      break;
  }
  return std::nullopt;
}

}  // namespace

CutFileResult writeCutFile(const CamDrawing& drawing, int scale, const QString& path, Paper paper) {
  const std::optional<CutFileFormat> format = cutFileFormatOf(path);
  if (!format) return {false, path + ": unknown file type"};
  FileWriteResult written;
  if (*format == CutFileFormat::Bitmap) {
    // The bitmap goes to the file row by row as it is packed.
    written = saveBitmap(drawing, path);
  } else {
    QString error;
    const std::optional<QByteArray> content = cutContent(*format, drawing, scale, paper, error);
    if (!content) return {false, path + ": " + error};
    written = writeFileAtomically(path, *content);
  }
  if (!written) return {false, path + ": " + writeErrorText(written.error)};
  return {true, {}};
}

}  // namespace korvel
