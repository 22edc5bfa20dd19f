#pragma once

#include <QByteArray>
#include <QString>

#include "commands/cut_export.h"
#include "scan/check_scan_job.h"

// The program's options: what a command line asks for, or why it is refused.
namespace korvel {

enum class CommandLineAction { Help, Version, Export, FocusCard, FitLens, CheckScan, Refused };

struct CommandLineRequest {
  CommandLineAction action = CommandLineAction::Refused;
  QString text;  // the help text, or why the command line was refused
  ExportRequest exportRequest;  // --focus-card: the file and the lens
  QByteArray exportFile;  // the --export value exactly as given
  QString lensRowsFile;   // --fit-lens: the measured rows
  bool json = false;      // --fit-lens answers as one JSON object
  CheckScanJob scanJob;   // --check-scan
};

// Reads argv itself, so that a file name keeps its bytes whatever the locale.
// Needs a QCoreApplication for the program's name in the help text.
CommandLineRequest parseCommandLine(int argc, char** argv);

}  // namespace korvel
