#include "cli/command_line.h"

#include <QGuiApplication>
#include <cstdio>

#include "cli/command_line_options.h"
#include "cli/exact_name_file.h"
#include "cli/focal_length_argument.h"
#include "commands/fit_lens.h"
#include "geometry/coupled_range.h"

namespace korvel {

namespace {

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

// How close each exported cam couples, so a lens that cannot be focused down
// to the table's closest distance is never cut unknowingly.
void printCoupledRanges(const ExportRequest& request) {
  if (!request.sheet) {
    std::printf("%s\n", coupledRangeText(focalLengthMm(request.focalLength, request.inch)).c_str());
    return;
  }
  for (const double focal : *request.sheet) {
    const double mm = focalLengthMm(focal, request.inch);
    const QString lens = request.inch ? QString::number(focal, 'g', 10) + " in (" +
                                            QString::number(mm, 'g', 10) + " mm)"
                                      : QString::number(mm, 'g', 10) + " mm";
    std::printf("%s: %s\n", qPrintable(lens), coupledRangeText(mm).c_str());
  }
}

// A DXF or SVG export: the part files, each followed by what it holds.
int exportParts(const CommandLineRequest& command) {
  const ExportRequest& request = command.exportRequest;
  const std::vector<PartFile> files = partFiles(request);
  for (const PartFile& file : files) {
    const QByteArray name = partFileName(command.exportFile, file.nameSuffix);
    const CutFileResult result =
        writeUnderExactName(name, [&](const QString& path) { return writePartFile(file, path, request); });
    if (!result.written) return fail(kExitWriteFailed, result.message);
    if (files.size() > 1) std::printf("%s:\n", qPrintable(displayName(name)));
    for (const std::string& line : partFileSummary(file, request)) std::printf("%s\n", line.c_str());
  }
  return kExitWritten;
}

int fitLens(const CommandLineRequest& command) {
  const FitLensReport report = fitLensFromCsv(command.lensRowsFile, command.json);
  std::fputs(report.standardOutput.c_str(), stdout);
  for (const std::string& line : report.standardError) std::fprintf(stderr, "%s: %s\n", kProgram, line.c_str());
  return report.exitStatus;
}

int checkScan(const CommandLineRequest& command) {
  const CheckScanOutcome outcome = runCheckScan(command.scanJob);
  std::fputs(qPrintable(outcome.out), stdout);
  for (const QString& line : outcome.err.split('\n', Qt::SkipEmptyParts))
    std::fprintf(stderr, "%s: %s\n", kProgram, qPrintable(line));
  return outcome.status;
}

}  // namespace

int runCommandLine(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");  // fonts and painting, without a display
  qInstallMessageHandler(dropQtNotes);
  QGuiApplication app(argc, argv);
  QCoreApplication::setApplicationName(kProgram);

  const CommandLineRequest command = parseCommandLine(argc, argv);
  switch (command.action) {
    case CommandLineAction::Refused:
      return fail(kExitBadInput, command.text);
    case CommandLineAction::Help:
      std::printf("%s", qPrintable(command.text));
      return kExitWritten;
    case CommandLineAction::Version:
      std::printf("%s %d.%d.%d\n", kProgram, KORVEL_VERSION_MAJOR, KORVEL_VERSION_MINOR,
                  KORVEL_VERSION_PATCH);
      return kExitWritten;
    case CommandLineAction::FitLens:
      return fitLens(command);
    case CommandLineAction::CheckScan:
      return checkScan(command);
    case CommandLineAction::Export:
    case CommandLineAction::FocusCard:
      break;
  }
  if (command.action == CommandLineAction::Export && isPartFile(command.exportRequest.file))
    return exportParts(command);
  const CutFileResult result = writeUnderExactName(command.exportFile, [&](const QString& path) {
    ExportRequest request = command.exportRequest;
    request.file = path;
    if (command.action == CommandLineAction::Export) return exportCams(request);
    return writeFocusCard(path, focalLengthMm(request.focalLength, request.inch), request.paper);
  });
  if (!result.written) return fail(kExitWriteFailed, result.message);
  printCoupledRanges(command.exportRequest);
  return kExitWritten;
}

bool windowHasNoDisplay() {
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  const bool needsDisplay =
      platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
  return needsDisplay && qEnvironmentVariableIsEmpty("DISPLAY") &&
         qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

int reportNoDisplay() {
  return fail(kExitNoDisplay,
              "no display: set DISPLAY or WAYLAND_DISPLAY, or use --export (see --help)");
}

}  // namespace korvel
