#include "commands/fit_lens.h"

#include <QFile>
#include <charconv>
#include <cmath>

#include "geometry/lens_fit.h"
#include "geometry/lens_rows_csv.h"

namespace korvel {
namespace {

// Fixed decimals for reading; never "-0.000".
std::string fixed(double value, int decimals) {
  char text[64];
  const auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
  std::string out(text, end);
  if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos) out.erase(0, 1);
  return out;
}

// The shortest text that reads back as the same double.
std::string exact(double value) {
  char text[64];
  return {text, std::to_chars(text, text + sizeof text, value).ptr};
}

std::string exactOrNull(const std::optional<double>& value) { return value ? exact(*value) : "null"; }

std::string json(const std::vector<LensRow>& rows, const LensFit& fit) {
  std::string out = "{\"focal_length_mm\": " + exact(fit.focalMm) +
                    ", \"infinity_offset_mm\": " + exact(fit.infinityOffsetMm) +
                    ", \"sigma_focal_length_mm\": " + exactOrNull(fit.sigmaFocalMm) +
                    ", \"sigma_infinity_offset_mm\": " + exactOrNull(fit.sigmaOffsetMm) +
                    ", \"edge_shift_mm\": " + exactOrNull(fit.edgeShiftMm) + ", \"rows\": [";
  for (std::size_t i = 0; i < rows.size(); ++i)
    out += std::string(i ? ", " : "") + "{\"magnification\": " + exact(rows[i].magnification) +
           ", \"travel_mm\": " + exact(rows[i].travelMm) + ", \"residual_mm\": " + exact(fit.residualsMm[i]) + "}";
  return out + "]}\n";
}

std::string text(const std::vector<LensRow>& rows, const LensFit& fit) {
  const auto withSigma = [](double value, const std::optional<double>& sigma) {
    return fixed(value, 3) + (sigma ? " ± " + fixed(*sigma, 3) : std::string()) + " mm\n";
  };
  std::string out = "focal length:    " + withSigma(fit.focalMm, fit.sigmaFocalMm) +
                    "infinity offset: " + withSigma(fit.infinityOffsetMm, fit.sigmaOffsetMm);
  if (fit.edgeShiftMm) out += "±σ moves the working edge by up to " + fixed(*fit.edgeShiftMm, 2) + " mm\n";
  out += "row  magnification  travel_mm  residual_mm\n";
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto column = [](const std::string& s, std::size_t width) {
      return std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
    };
    out += column(std::to_string(i + 1), 3) + column(exact(rows[i].magnification), 15) +
           column(fixed(rows[i].travelMm, 3), 11) + column(fixed(fit.residualsMm[i], 3), 13) +
           (fit.outliers[i] ? "  outlier" : "") + "\n";
  }
  return out;
}

FitLensReport badInput(const std::string& message) { return {{}, {message}, kFitLensBadInput}; }

}  // namespace

FitLensReport fitLensFromCsv(const QString& csvPath, bool asJson) {
  QFile file(csvPath);
  if (!file.open(QIODevice::ReadOnly))
    return badInput("cannot read " + csvPath.toStdString() + ": " + file.errorString().toStdString());
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError)
    return badInput("cannot read " + csvPath.toStdString() + ": " + file.errorString().toStdString());

  const LensRowsRead read = readLensRowsCsv(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!read.error.empty()) return badInput(csvPath.toStdString() + ": " + read.error);
  const LensFitResult result = fitLens(read.rows);
  if (!result.fit) return badInput(csvPath.toStdString() + ": " + result.error);

  FitLensReport report;
  const LensFit& fit = *result.fit;
  report.standardOutput = asJson ? json(read.rows, fit) : text(read.rows, fit);
  report.standardError = lensFitWarnings(fit);
  return report;
}

}  // namespace korvel
