#include "cli/command_line_options.h"

#include <QCommandLineParser>
#include <QFile>
#include <QStringList>
#include <array>

#include "cli/focal_length_argument.h"
#include "geometry/cuttable_range.h"
#include "geometry/part_preflight.h"
#include "scan/scan_image.h"

namespace korvel {

namespace {

const QString kExport = "export";
const QString kFocalLength = "focal-length";
const QString kSheet = "sheet";
const QString kInch = "inch";
const QString kFlip = "flip";
const QString kMarkers = "markers";
const QString kHighRes = "high-res";
const QString kFitLens = "fit-lens";
const QString kJson = "json";
const QString kCheckScan = "check-scan";
const QString kDpi = "dpi";
const QString kScanCorrection = "scan-correction";
const QString kTolerance = "tolerance";
const QString kReport = "report";
const QString kOverlay = "overlay";
const QString kFocusCard = "focus-card";
const QString kNoEngrave = "no-engrave";
const QString kAllowance = "allowance";
const QString kThickness = "thickness";
const QString kNested = "nested";
const QString kPaper = "paper";

// What each option that takes a value needs, in the words of its message.
struct ValueOption {
  const QString& name;
  const char* needs;
};
const std::array<ValueOption, 13> kValueOptions{{{kExport, "a file name"},
                                                 {kFocalLength, "a focal length"},
                                                 {kSheet, "nine focal lengths"},
                                                 {kFitLens, "a file of measured rows"},
                                                 {kCheckScan, "a scanned image"},
                                                 {kDpi, "a resolution"},
                                                 {kScanCorrection, "two factors X,Y"},
                                                 {kTolerance, "a tolerance in mm"},
                                                 {kReport, "a file name"},
                                                 {kOverlay, "a file name"},
                                                 {kAllowance, "an allowance in mm"},
                                                 {kThickness, "a thickness in mm"},
                                                 {kPaper, "a4 or letter"}}};

QString extraHelp() {
  return "\nFocal lengths must lie from " + QString::fromStdString(cuttableRangeText()) +
         ", after converting inches (25.4 mm\n"
         "to the inch): no cam that can be cut exists for shorter or longer lenses.\n"
         "\".\" is the only decimal point; group separators such as \"1,500\" are refused.\n"
         "A .dxf or .svg file is the part a cutter cuts: the outline and the holes on\n"
         "CUT, the lens caption's outlines on ENGRAVE, in mm from (0, 0), never mirrored;\n"
         "a sheet writes one file per cam (cams-65.dxf, ...) unless --nested. After it\n"
         "the program prints the part's preflight summary: its size, contours, smallest\n"
         "hole, coupled range, allowance and layers, and warnings. PDF, CSV and BMP are\n"
         "the drawing (the PDF at true size on an A4 or letter page, an inch from the top\n"
         "and left edges, half an inch from the left for a sheet on A4); after them it\n"
         "prints how close each cam couples, for example\n"
         "\"couples from infinity to 12.5 ft (3.81 m)\", one line per cam of a sheet.\n"
         "\nThe scan for --check-scan is a PNG, TIFF, JPEG or BMP file, grey or colour, 8 or\n"
         "16 bit, of at most " + QString::number(kMaxScanPixels) + " pixels (an A4 page at 1200 dpi holds 139\n"
         "million); its resolution comes from --dpi or else from the file. It prints, for\n"
         "each distance marker, how far the cut edge lies from the computed one and what\n"
         "the rangefinder will show there, then the holes, the fit and a verdict.\n"
         "\nExit status:\n"
         "  0  the file was written (--check-scan: the cam is within the tolerance)\n"
         "  1  a file could not be written, or the window found no display\n"
         "  2  bad input: nothing was written\n"
         "  3  --check-scan: the cut cam lies outside the tolerance\n"
         "\nThe rows for --fit-lens are a CSV file whose header names the columns\n"
         "\"magnification\" and \"travel_mm\" (in any order; other columns are ignored;\n"
         "\"#\" starts a comment). It prints the focal length, the infinity stop's error,\n"
         "their standard errors, each row's residual and how far one standard error\n"
         "moves the working edge.\n"
         "\nExamples:\n"
         "  $ korvel-cam-designer --export cam150.dxf --focal-length 150 --markers\n"
         "  $ korvel-cam-designer --export sheet.bmp --high-res --sheet "
         "65,90,135,150,210,250,270,300,380\n";
}

// Whether an argument is one of the program's options rather than a value.
bool isOption(const QString& argument) {
  if (argument == "-h" || argument == "-v") return true;
  if (!argument.startsWith("--")) return false;
  const QString name = argument.mid(2).section('=', 0, 0);
  for (const QString& known : {kExport, kFocalLength, kSheet, kInch, kFlip, kMarkers, kHighRes,
                               kFitLens, kJson, kCheckScan, kDpi, kScanCorrection, kTolerance, kReport,
                               kOverlay, kFocusCard, kNoEngrave, kAllowance, kThickness, kNested, kPaper,
                               QString("help"), QString("version")})
    if (name == known) return true;
  return false;
}

// An option given last, or followed by another option, has no value.
QString missingValue(const QStringList& arguments) {
  for (qsizetype i = 1; i < arguments.size() && arguments[i] != "--"; ++i)
    for (const ValueOption& option : kValueOptions)
      if (arguments[i] == "--" + option.name &&
          (i + 1 == arguments.size() || isOption(arguments[i + 1])))
        return "--" + option.name + " needs " + option.needs;
  return {};
}

// The last --export value as its bytes in argv.
QByteArray exportFileBytes(int argc, char** argv) {
  const QByteArray option = "--" + kExport.toLatin1();
  QByteArray file;
  for (int i = 1; i < argc; ++i) {
    const QByteArray argument(argv[i]);
    if (argument == "--") break;
    if (argument == option && i + 1 < argc)
      file = argv[++i];
    else if (argument.startsWith(option + '='))
      file = argument.mid(option.size() + 1);
  }
  return file;
}

CommandLineRequest answer(CommandLineAction action, const QString& text = {}) {
  CommandLineRequest request;
  request.action = action;
  request.text = text;
  return request;
}

CommandLineRequest refused(const QString& why) { return answer(CommandLineAction::Refused, why); }

}  // namespace

CommandLineRequest parseCommandLine(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QFile::decodeName(argv[i]);

  QCommandLineParser parser;
  parser.setApplicationDescription(
      "Designs rangefinder cams for the Korvel press camera. With no option the\n"
      "designer window opens. With --export the cam of one lens, or a sheet of nine,\n"
      "is drawn into a file for cutting, without a window or a display.");
  const QCommandLineOption helpOption({"h", "help"}, "Show this help and exit.");
  const QCommandLineOption versionOption({"v", "version"}, "Show the version and exit.");
  const QCommandLineOption exportOption(kExport,
                                        "Write the drawing to FILE (.dxf, .svg, .pdf, .csv or "
                                        ".bmp); needs --focal-length or --sheet.",
                                        "FILE");
  const QCommandLineOption focalOption(kFocalLength, "Draw the cam of a lens of focal length N.",
                                       "N");
  const QCommandLineOption sheetOption(
      kSheet, "Draw the cam sheet of these nine focal lengths, separated by commas.", "N1,...,N9");
  const QCommandLineOption inchOption(kInch, "Focal lengths are in inches, not millimetres.");
  const QCommandLineOption flipOption(kFlip, "Mirror the drawing, as \"Flip Image\" does.");
  const QCommandLineOption markersOption(kMarkers, "Draw the distance markers and their notes.");
  const QCommandLineOption highResOption(
      kHighRes,
      "Draw the sheet at high resolution, as \"High Res print\" does (with --sheet only).");
  const QCommandLineOption fitLensOption(
      kFitLens, "Fit the lens's true focal length to the rows measured on the camera.", "ROWS.csv");
  const QCommandLineOption jsonOption(kJson, "With --fit-lens: answer as one JSON object.");
  const QCommandLineOption checkScanOption(
      kCheckScan, "Check a cut cam from its scan against the cam of --focal-length.", "SCAN");
  const QCommandLineOption dpiOption(kDpi, "With --check-scan: the scan's resolution, over the file's.", "N");
  const QCommandLineOption scanCorrectionOption(
      kScanCorrection, "With --check-scan: the scanner's correction factors, true / measured (default 1,1).",
      "X,Y");
  const QCommandLineOption toleranceOption(
      kTolerance, "With --check-scan: the deviation allowed at each marker, in mm (default 0.025).", "MM");
  const QCommandLineOption reportOption(kReport, "With --check-scan: write the markers' rows as CSV.", "FILE.csv");
  const QCommandLineOption overlayOption(
      kOverlay, "With --check-scan: write the scan with the computed outline and the deviation.", "FILE.png");
  const QCommandLineOption focusCardOption(
      kFocusCard, "With --focal-length and a .csv or .pdf file: write the focus check card, the distance "
                  "markers the cam reaches with the lens's travel and the cam's height at each.");
  const QCommandLineOption noEngraveOption(
      kNoEngrave, "With a .dxf or .svg part: leave out the lens caption's outlines (layer ENGRAVE).");
  const QCommandLineOption allowanceOption(
      kAllowance, "With a .dxf or .svg part: cut the outline MM oversize and the holes MM undersize, to file to the "
                  "line (0 to 1 mm).", "MM");
  const QCommandLineOption thicknessOption(
      kThickness, "With a .dxf or .svg part: the material's thickness (0.1 to 10 mm), to warn of holes smaller "
                  "than it.", "MM");
  const QCommandLineOption nestedOption(
      kNested, "With --sheet and a .dxf or .svg file: the nine parts in one file, three by three, instead of one "
               "file per cam.");
  const QCommandLineOption paperOption(
      kPaper, "With a .pdf file: the portrait page it is laid out on, a4 or letter (default: letter where the "
              "locale measures in US units, else a4).", "SIZE");
  parser.addOptions({helpOption, versionOption, exportOption, focalOption, sheetOption, inchOption,
                     flipOption, markersOption, highResOption, fitLensOption, jsonOption, checkScanOption,
                     dpiOption, scanCorrectionOption, toleranceOption, reportOption, overlayOption,
                     focusCardOption, noEngraveOption, allowanceOption, thicknessOption, nestedOption,
                     paperOption});

  if (const QString missing = missingValue(arguments); !missing.isEmpty()) return refused(missing);
  if (!parser.parse(arguments)) return refused(parser.errorText());
  if (parser.isSet(helpOption))
    return answer(CommandLineAction::Help, parser.helpText() + extraHelp());
  if (parser.isSet(versionOption)) return answer(CommandLineAction::Version);
  if (!parser.positionalArguments().isEmpty())
    return refused("unexpected argument: " + parser.positionalArguments().first());
  const bool scanOptions = parser.isSet(dpiOption) || parser.isSet(scanCorrectionOption) ||
                           parser.isSet(toleranceOption) || parser.isSet(reportOption) ||
                           parser.isSet(overlayOption);
  if (parser.isSet(checkScanOption)) {
    if (parser.isSet(exportOption) || parser.isSet(fitLensOption) || parser.isSet(sheetOption))
      return refused("--check-scan checks one cam: give it without --export, --fit-lens or --sheet");
    if (!parser.isSet(focalOption)) return refused("--check-scan needs --focal-length");
    CommandLineRequest command = answer(CommandLineAction::CheckScan);
    CheckScanJob& job = command.scanJob;
    job.scanPath = parser.value(checkScanOption);
    const bool inch = parser.isSet(inchOption);
    const FocalLengthArgument focal = readFocalLengthArgument(parser.value(focalOption), inch);
    if (!focal.value) return refused("--focal-length: " + focal.error);
    job.focalMm = focalLengthMm(*focal.value, inch);
    if (parser.isSet(dpiOption)) {
      const FocalLengthArgument dpi = readPlainNumber(parser.value(dpiOption));
      if (!dpi.value || !(*dpi.value > 0)) return refused("--dpi needs a resolution above 0: " + parser.value(dpiOption));
      job.dpi = *dpi.value;
    }
    if (parser.isSet(scanCorrectionOption)) {
      const QStringList factors = parser.value(scanCorrectionOption).split(',');
      const FocalLengthArgument x = readPlainNumber(factors.value(0));
      const FocalLengthArgument y = readPlainNumber(factors.value(1));
      if (factors.size() != 2 || !x.value || !y.value || *x.value < kLowestScanCorrection ||
          *x.value > kHighestScanCorrection || *y.value < kLowestScanCorrection || *y.value > kHighestScanCorrection)
        return refused("--scan-correction needs two factors X,Y from 0.5 to 2: " + parser.value(scanCorrectionOption));
      job.correctionX = *x.value;
      job.correctionY = *y.value;
    }
    if (parser.isSet(toleranceOption)) {
      const FocalLengthArgument tolerance = readPlainNumber(parser.value(toleranceOption));
      if (!tolerance.value || !(*tolerance.value > 0))
        return refused("--tolerance needs a deviation above 0 mm: " + parser.value(toleranceOption));
      job.toleranceMm = *tolerance.value;
    }
    job.reportCsvPath = parser.value(reportOption);
    job.overlayPngPath = parser.value(overlayOption);
    return command;
  }
  if (scanOptions) return refused("--dpi, --scan-correction, --tolerance, --report and --overlay go with --check-scan");
  if (parser.isSet(fitLensOption)) {
    if (parser.isSet(exportOption)) return refused("give either --fit-lens or --export, not both");
    CommandLineRequest command = answer(CommandLineAction::FitLens);
    command.lensRowsFile = parser.value(fitLensOption);
    command.json = parser.isSet(jsonOption);
    return command;
  }
  if (parser.isSet(jsonOption)) return refused("--json answers --fit-lens: give it with --fit-lens");
  if (!parser.isSet(exportOption))
    return refused("nothing to do: give --export FILE, --fit-lens ROWS.csv or --check-scan SCAN (see --help)");

  const bool focusCard = parser.isSet(focusCardOption);
  CommandLineRequest command = answer(focusCard ? CommandLineAction::FocusCard : CommandLineAction::Export);
  command.exportFile = exportFileBytes(argc, argv);
  ExportRequest& request = command.exportRequest;
  request.file = parser.value(exportOption);
  if (focusCard) {
    if (parser.isSet(sheetOption)) return refused("--focus-card is the card of one lens: give it without --sheet");
    if (!request.file.endsWith(".csv", Qt::CaseInsensitive) && !request.file.endsWith(".pdf", Qt::CaseInsensitive))
      return refused("--focus-card writes a .csv or .pdf file: " + request.file);
  }
  if (!isExportFileType(request.file))
    return refused("unknown file type (use .dxf, .svg, .pdf, .csv or .bmp): " + request.file);
  const bool focal = parser.isSet(focalOption);
  const bool sheet = parser.isSet(sheetOption);
  if (focal == sheet)
    return refused(focal ? "give either --focal-length or --sheet, not both"
                         : "--export needs --focal-length or --sheet");
  request.inch = parser.isSet(inchOption);
  if (focal) {
    const FocalLengthArgument read =
        readFocalLengthArgument(parser.value(focalOption), request.inch);
    if (!read.value) return refused("--focal-length: " + read.error);
    request.focalLength = *read.value;
  } else {
    const QStringList fields = parser.value(sheetOption).split(',');
    std::array<double, 9> cams{};
    if (fields.size() != static_cast<qsizetype>(cams.size()))
      return refused("--sheet needs nine focal lengths separated by commas: " +
                     parser.value(sheetOption));
    for (std::size_t i = 0; i < cams.size(); ++i) {
      const FocalLengthArgument read =
          readFocalLengthArgument(fields[static_cast<qsizetype>(i)], request.inch);
      if (!read.value) return refused("--sheet: " + read.error);
      cams[i] = *read.value;
    }
    request.sheet = cams;
  }
  request.highResolution = parser.isSet(highResOption);
  if (request.highResolution && !sheet)
    return refused("--high-res draws a sheet: give it with --sheet");
  request.flip = parser.isSet(flipOption);
  request.markers = parser.isSet(markersOption);
  request.nested = parser.isSet(nestedOption);
  if (request.nested && !sheet) return refused("--nested puts a sheet's parts in one file: give it with --sheet");
  request.engrave = !parser.isSet(noEngraveOption);
  if (parser.isSet(allowanceOption)) {
    const std::optional<double> allowance = readFilingAllowance(parser.value(allowanceOption));
    if (!allowance) return refused("--allowance needs " + filingAllowanceRefusal(parser.value(allowanceOption)));
    request.allowanceMm = *allowance;
  }
  if (parser.isSet(thicknessOption)) {
    const FocalLengthArgument thickness = readPlainNumber(parser.value(thicknessOption));
    if (!thickness.value || !(*thickness.value >= kThinnestMaterialMm && *thickness.value <= kThickestMaterialMm))
      return refused("--thickness needs a thickness from 0.1 to 10 mm: " + parser.value(thicknessOption));
    request.thicknessMm = *thickness.value;
  }
  if (parser.isSet(paperOption)) {
    const std::optional<Paper> paper = paperNamed(parser.value(paperOption));
    if (!paper) return refused("--paper needs a4 or letter: " + parser.value(paperOption));
    if (cutFileFormatOf(request.file) != CutFileFormat::Pdf)
      return refused("--paper goes with a .pdf file: " + request.file);
    request.paper = *paper;
  }
  const bool partOptions = request.nested || !request.engrave || parser.isSet(allowanceOption) ||
                           parser.isSet(thicknessOption);
  if (partOptions && (focusCard || !isPartFile(request.file)))
    return refused("--nested, --no-engrave, --allowance and --thickness go with a .dxf or .svg part: " +
                   request.file);
  return command;
}

}  // namespace korvel
