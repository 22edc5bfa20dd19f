#include <QApplication>
#include <QCommandLineParser>
#include <QGuiApplication>
#include <QLocale>
#include <cmath>
#include <cstdio>

#include "commands/cut_export.h"
#include "ui/cam_designer.h"

namespace {

constexpr int kBadInput = 2;
constexpr int kWriteFailed = 1;

const char* const kProgram = "korvel-cam-designer";

// Errors are reported once, in one line each; Qt's own notes about the
// missing display would only bury them.
void dropQtNotes(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtCriticalMsg || type == QtFatalMsg)
    std::fprintf(stderr, "%s\n", qPrintable(message));
}

int fail(int status, const QString& message) {
  std::fprintf(stderr, "%s: %s\n", kProgram, qPrintable(message));
  return status;
}

// A positive number with "." as the decimal point, whatever the locale.
std::optional<double> positiveNumber(const QString& text) {
  bool ok = false;
  const double value = QLocale::c().toDouble(text.trimmed(), &ok);
  if (!ok || !std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

// Draws a cam or a cam sheet into a file and exits: no window, no display, no settings file.
int runCommandLine(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // fonts and painting, without a display
  qInstallMessageHandler(dropQtNotes);
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProgram);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Draws a rangefinder cam, or a sheet of nine, into a file for cutting.");
  const QCommandLineOption exportOption(
      "export", "Write the drawing to FILE (.dxf, .svg, .pdf, .csv or .bmp).", "FILE");
  const QCommandLineOption focalOption("focal-length", "The lens's focal length (default 135).",
                                       "N");
  const QCommandLineOption inchOption("inch", "Focal lengths are in inches, not millimetres.");
  const QCommandLineOption sheetOption("sheet", "Draw the cam sheet of these nine focal lengths.",
                                       "N1,...,N9");
  const QCommandLineOption flipOption("flip", "Mirror the drawing, as \"Flip Image\" does.");
  const QCommandLineOption markersOption("markers", "Draw the distance markers and their notes.");
  const QCommandLineOption helpOption("help", "Show this help.");
  const QCommandLineOption versionOption("version", "Show the version.");
  parser.addOptions({exportOption, focalOption, inchOption, sheetOption, flipOption, markersOption,
                     helpOption, versionOption});

  if (!parser.parse(QCoreApplication::arguments())) return fail(kBadInput, parser.errorText());
  if (parser.isSet(helpOption)) {
    std::printf("%s", qPrintable(parser.helpText()));
    return 0;
  }
  if (parser.isSet(versionOption)) {
    std::printf("%s %d.%d.%d\n", kProgram, KORVEL_VERSION_MAJOR, KORVEL_VERSION_MINOR,
                KORVEL_VERSION_PATCH);
    return 0;
  }
  if (!parser.positionalArguments().isEmpty())
    return fail(kBadInput, "unexpected argument: " + parser.positionalArguments().first());
  if (!parser.isSet(exportOption)) return fail(kBadInput, "nothing to do: give --export FILE");

  korvel::ExportRequest request;
  request.file = parser.value(exportOption);
  if (!korvel::isExportFileType(request.file))
    return fail(kBadInput,
                "unknown file type (use .dxf, .svg, .pdf, .csv or .bmp): " + request.file);
  if (parser.isSet(focalOption)) {
    const auto focal = positiveNumber(parser.value(focalOption));
    if (!focal)
      return fail(kBadInput,
                  "the focal length is not a positive number: " + parser.value(focalOption));
    request.focalLength = *focal;
  }
  if (parser.isSet(sheetOption)) {
    const QStringList fields = parser.value(sheetOption).split(',');
    std::array<double, 9> sheet{};
    if (fields.size() != static_cast<qsizetype>(sheet.size()))
      return fail(kBadInput, "--sheet needs nine focal lengths separated by commas");
    for (std::size_t i = 0; i < sheet.size(); ++i) {
      const auto focal = positiveNumber(fields[static_cast<qsizetype>(i)]);
      if (!focal)
        return fail(kBadInput, "a sheet focal length is not a positive number: " +
                                   fields[static_cast<qsizetype>(i)]);
      sheet[i] = *focal;
    }
    request.sheet = sheet;
  }
  request.inch = parser.isSet(inchOption);
  request.flip = parser.isSet(flipOption);
  request.markers = parser.isSet(markersOption);

  const korvel::CutFileResult result = korvel::exportCams(request);
  if (!result.written) return fail(kWriteFailed, result.message);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) return runCommandLine(argc, argv);
  QApplication app(argc, argv);
  korvel::CamDesigner designer;
  designer.exitOnSignals();
  designer.showAndFocus();
  return QApplication::exec();
}
