#include "render/cut_files.h"

#include <QFileInfo>
#include <cerrno>

#include "common/atomic_file.h"
#include "common/write_error.h"
#include "render/cut_file_formats.h"
#include "render/record_painter.h"

namespace korvel {

double TrueSize::fontMm(const QFont& font) const { return mm(surfaceEmInches(font)); }

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
  return std::nullopt;
}

CutFileResult writeCutFile(const DrawingRecord& record, int scale, const QString& path) {
  const std::optional<CutFileFormat> format = cutFileFormatOf(path);
  if (!format) return {false, path + ": unknown file type"};
  QString error;
  std::optional<QByteArray> content;
  switch (*format) {
    case CutFileFormat::Dxf:
      content = dxfContent(record, scale);
      break;
    case CutFileFormat::Svg:
      content = svgContent(record, scale);
      break;
    case CutFileFormat::Pdf:
      content = pdfContent(record, scale, error);
      break;
    case CutFileFormat::ProfileCsv:
      content = profileCsvContent(record);
      break;
  }
  if (!content) return {false, path + ": " + error};
  const FileWriteResult written = writeFileAtomically(path, *content);
  if (!written) return {false, path + ": " + writeErrorText(written.error)};
  return {true, {}};
}

}  // namespace korvel
