#include "ui/cam_designer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <utility>
#include <variant>

#include "commands/calibration.h"
#include "commands/control_numbers.h"
#include "commands/cam_sheet.h"
#include "commands/cut_export.h"
#include "commands/draw_graph.h"
#include "commands/unit_toggles.h"
#include "commands/plot_steps.h"
#include "common/failing_step.h"
#include "common/units.h"
#include "common/write_error.h"
#include "geometry/coupled_range.h"
#include "geometry/cam_outline.h"
#include "geometry/cuttable_range.h"
#include "export/bitmap_file.h"
#include "render/plot_output.h"
#include "render/surface_fonts.h"
#include "settings/program_folder.h"
#include "settings/setting_keys.h"
#include "settings/setting_reader.h"
#include "ui/app_folder.h"
#include "ui/check_scan_dialog.h"
#include "ui/check_value.h"
#include "ui/cut_export_menu.h"
#include "ui/measure_lens_dialog.h"
#include "ui/designer_menu_bar.h"
#include "ui/exit_signals.h"
#include "ui/plot_window.h"
#include "ui/outer_size.h"
#include "ui/twips.h"

namespace korvel {

namespace {

constexpr int kClientWidthTwips = 8280;
constexpr int kClientHeightTwips = 6555;

QFont arial(double points, QFont::Weight weight = QFont::Normal, const char* face = "Arial") {
  QFont font(face);
  font.setPointSizeF(points);
  font.setWeight(weight);
  return font;
}

// The window's standard font is the preview's: a narrow sans face whose
// widths match the captions the layout was drawn for.
QFont standardFont() { return previewFont(); }

template <typename W>
W* place(W* widget, int left, int top, int width, int height) {
  widget->setGeometry(twipsRect(left, top, width, height));
  return widget;
}

QLabel* label(QWidget* parent, const QString& text, int l, int t, int w, int h) {
  auto* lbl = place(new QLabel(text, parent), l, t, w, h);
  lbl->setWordWrap(true);
  lbl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  return lbl;
}

QCheckBox* checkBox(QWidget* parent, const QString& caption, int l, int t, int w, int h) {
  return place(new DesignerCheckBox(caption, parent), l, t, w, h);
}

// A command button whose caption wraps onto a second line when it is too wide,
// as the calibration button's caption does.
class CommandButton : public QPushButton {
 public:
  CommandButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

 protected:
  void paintEvent(QPaintEvent*) override {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawText(rect().adjusted(4, 2, -4, -2), Qt::AlignCenter | Qt::TextWordWrap, text());
  }
};

QPushButton* button(QWidget* parent, const QString& caption, int l, int t, int w, int h) {
  auto* b = place(new CommandButton(caption, parent), l, t, w, h);
  b->setAutoDefault(false);
  return b;
}

DesignerTextBox* textBox(QWidget* parent, bool selectAll, int l, int t) {
  return place(new DesignerTextBox(QString(), selectAll, parent), l, t, 855, 285);
}

}  // namespace

DesignerEnvironment CamDesigner::systemEnvironment() {
  return {programFolderFor(QCoreApplication::applicationDirPath(), qEnvironmentVariable("XDG_DATA_HOME"),
                           QDir::homePath()),
          nullptr};
}

CamDesigner::CamDesigner(const DesignerEnvironment& environment)
    : printer_(environment.printer), preview_(kPreviewWidthInches, kPreviewHeightInches, standardFont()) {
  if (!printer_) {
    ownPrinter_ = std::make_unique<SystemPrinterSeam>();
    printer_ = ownPrinter_.get();
  }
  setObjectName("CamDesigner");
  setWindowTitle("Korvel Cam Designer");
  setFont(standardFont());
  createControls();
  setTabOrder();
  connectHandlers();
  startUp(environment);
}

CamDesigner::~CamDesigner() {
  if (plotWindow_) delete plotWindow_.data();
}

void CamDesigner::createControls() {
  MenuBar = createDesignerMenuBar(*this);
  MessageLine = new QLabel(this);
  MessageLine->setObjectName("MessageLine");
  MessageLine->setFrameShape(QFrame::StyledPanel);
  MessageLine->setFrameShadow(QFrame::Sunken);
  MessageLine->setTextInteractionFlags(Qt::TextSelectableByMouse);  // a path can be copied
  MessageLine->setFocusPolicy(Qt::NoFocus);
  MessageLine->setFixedHeight(MessageLine->fontMetrics().height() + 6);
  ControlsFrame = new QFrame(this);
  ControlsFrame->setFrameShape(QFrame::NoFrame);
  place(ControlsFrame, 0, 0, kClientWidthTwips, kClientHeightTwips);
  QWidget* f = ControlsFrame;
  const QFont bold = arial(8.25, QFont::Bold);

  // Title and version.
  TitleLabel = label(f, QString(), 120, 120, 7695, 375);
  TitleLabel->setFont(arial(9.75, QFont::Black, "Arial Black"));
  LBLVersion = label(f, "Version", 240, 480, 2295, 255);

  // Single cam.
  FocalLengthLabel = label(f, "Enter Focal Length of Lens", 240, 840, 2295, 375);
  FocalLengthLabel->setFont(bold);
  FocalLength = bound(key::FL0, textBox(f, true, 2760, 840));
  ChkMM = bound(key::Checkmm, checkBox(f, "mm", 3960, 840, 855, 255));
  ChkInch = bound(key::Checkinch, checkBox(f, "Inch", 3960, 1200, 855, 255));
  CMDDrawGraph = button(f, "Draw Graph", 480, 1320, 1575, 375);
  CMDDrawGraph->setFont(bold);
  DrawGraphNote = label(f, "Plots above focal length in box on right.", 2160, 1320, 1695, 495);
  PreviewPicture = new SurfaceView(preview_, f);
  PreviewPicture->move(twipsToPixels(4920), twipsToPixels(840));
  PreviewPicture->setFocusPolicy(Qt::TabFocus);
  addCutExportMenu(*PreviewPicture, [this] { exportPreviewForCutting(); });

  // Cam sheet.
  SheetFocalLengthsLabel = label(f, "Focal Lengths for Cam Sheet", 240, 2040, 3375, 255);
  SheetFocalLengthsLabel->setFont(bold);
  const int columns[] = {480, 1640, 2760};
  const int rows[] = {2400, 2760, 3120};
  for (int i = 1; i <= 9; ++i)
    FocalLen1[i] = bound(key::FL0 + i, textBox(f, true, columns[(i - 1) % 3], rows[(i - 1) / 3]));
  SaveToDisk = checkBox(f, "Save cam file to disk", 4920, 2880, 2655, 375);
  SaveToDisk->setFont(bold);
  printerout = checkBox(f, "Print cam to default printer", 4920, 3240, 2775, 375);
  printerout->setFont(bold);
  CMDPlotCams = button(f, "Plot Cam Sheet", 480, 3720, 1575, 375);
  CMDPlotCams->setFont(bold);
  PlotCamsNote = label(f, "Plots a sheet of above nine focal lengths.", 2160, 3720, 1695, 495);
  CorrectionFactorsLabel = label(f, "Printer XY correction Factors.", 4440, 3720, 735, 615);
  XCorLabel = label(f, "X-", 5400, 3720, 375, 255);
  PrinterXCor = bound(key::XCor, textBox(f, false, 5760, 3720));
  YCorLabel = label(f, "Y-", 6720, 3720, 255, 255);
  PrinterYCor = bound(key::YCor, textBox(f, false, 7080, 3720));

  // Drawing options.
  ChkFlipImage = bound(key::CheckFlipImage, checkBox(f, "Flip Image", 480, 4320, 1215, 255));
  ChkDistMarkers = bound(key::CheckDistMarkers, checkBox(f, "Draw distance markers", 2040, 4320, 2295, 255));
  ChkUsePrintCor = bound(key::UseCor, checkBox(f, "Use printer correction", 4440, 4320, 1935, 255));
  ChkHiRes = bound(key::CheckHiRes, checkBox(f, "High Res print", 6480, 4320, 1575, 255));
  CalibrationRule = new QFrame(f);
  CalibrationRule->setFrameShape(QFrame::HLine);
  CalibrationRule->setFrameShadow(QFrame::Plain);
  CalibrationRule->setGeometry(twipsToPixels(240), twipsToPixels(4680), twipsToPixels(8040 - 240), 1);

  // Calibration.
  CalibrationIntro = label(f, "Calculate printer correction factors. Measure width and height in inches of printed "
                     "cam, enter numbers below.", 240, 4800, 7815, 255);
  CalibrationCumulativeNote = label(f, "Calculations are cumulative. If print is wrong size, remeasure, then enter new numbers "
                     "and hit Calculate again.", 240, 5040, 7815, 255);
  CalibrationResetNote = label(f, "Enter 0 (zero) or 1 (one) to reset calculations.", 240, 5280, 6855, 255);
  CMDCalcCor = button(f, "Calculate Correction Factors", 600, 5760, 1815, 495);
  XMeasureLabel = label(f, "X ( Width )", 2760, 5760, 975, 255);
  XCorUser = bound(key::XUserMeasure, textBox(f, true, 3840, 5760));
  XEqualsSign = label(f, "=", 4800, 5760, 375, 255);
  LBLXCor = label(f, "1", 5280, 5760, 1335, 255);
  LBLXCor->setFont(arial(9.75, QFont::Bold));
  YMeasureLabel = label(f, "Y ( Height )", 2760, 6120, 975, 255);
  YCorUser = bound(key::YUserMeasure, textBox(f, true, 3840, 6120));
  YEqualsSign = label(f, "=", 4800, 6120, 375, 255);
  LBLYCor = label(f, "1", 5280, 6120, 1335, 255);
  LBLYCor->setFont(arial(9.75, QFont::Bold));
  ChkCormm = bound(key::CheckCormm, checkBox(f, "mm", 600, 6240, 855, 255));
  ChkCorInch = bound(key::CheckCorInch, checkBox(f, "inch", 1560, 6240, 855, 255));
  bound(key::ScannerXCor, scannerXCor);
  bound(key::ScannerYCor, scannerYCor);
  CMDExit = button(f, "Exit", 6720, 6000, 1335, 375);
  CMDExit->setFont(bold);

  // Each control that is named for what it shows keeps its name on the
  // original form as its object name, so that it can still be found by it.
  const std::pair<QObject*, const char*> formNames[] = {
      {ControlsFrame, "Frame1"}, {TitleLabel, "Label3"}, {FocalLengthLabel, "Label1"},
      {DrawGraphNote, "Label5"}, {PreviewPicture, "Picture1"}, {SheetFocalLengthsLabel, "Label4"},
      {PlotCamsNote, "Label2"}, {CorrectionFactorsLabel, "Label6"}, {XCorLabel, "Label8"},
      {YCorLabel, "Label7"}, {CalibrationRule, "Line1"}, {CalibrationIntro, "Label13"},
      {CalibrationCumulativeNote, "Label15"}, {CalibrationResetNote, "Label14"},
      {XMeasureLabel, "Label9"}, {XEqualsSign, "Label11"}, {YMeasureLabel, "Label10"},
      {YEqualsSign, "Label12"}};
  for (const auto& [control, name] : formNames) control->setObjectName(name);

  for (QWidget* w : f->findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(w) || w == CalibrationRule) w->setFocusPolicy(Qt::NoFocus);
  }
}

QCheckBox* CamDesigner::bound(std::size_t key, QCheckBox* box) {
  setCheckValue(box, static_cast<int>(kDesignerKeys[key].fallback));
  settingControls_[key].checkBox = box;
  return box;
}

DesignerTextBox* CamDesigner::bound(std::size_t key, DesignerTextBox* box) {
  box->setText(QString::fromStdString(initialSettingText(kDesignerKeys[key])));
  settingControls_[key].textBox = box;
  return box;
}

void CamDesigner::bound(std::size_t key, HeldSetting& held) {
  held.text = QString::fromStdString(initialSettingText(kDesignerKeys[key]));
  settingControls_[key].held = &held;
}

void CamDesigner::setTabOrder() {
  std::vector<QWidget*> order{FocalLength, CMDDrawGraph, CMDExit, ChkMM, ChkInch, SaveToDisk,
                              printerout, CMDPlotCams, PreviewPicture};
  for (int i = 1; i <= 9; ++i) order.push_back(FocalLen1[i]);
  order.insert(order.end(), {ChkFlipImage, ChkDistMarkers, PrinterXCor, PrinterYCor, ChkUsePrintCor,
                             XCorUser, YCorUser, CMDCalcCor, ChkCormm, ChkCorInch, ChkHiRes});
  for (std::size_t i = 1; i < order.size(); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
}

void CamDesigner::connectHandlers() {
  connect(CMDDrawGraph, &QPushButton::clicked, this, [this] { CMDDrawGraph_Click(); });
  connect(CMDPlotCams, &QPushButton::clicked, this, [this] { CMDPlotCams_Click(); });
  connect(CMDCalcCor, &QPushButton::clicked, this, [this] { CMDCalcCor_Click(); });
  connect(CMDExit, &QPushButton::clicked, this, [this] { CMDExit_Click(); });
  // Enter in the focal length draws the cam and selects the text, so the next
  // focal length can be typed over it.
  connect(FocalLength, &QLineEdit::returnPressed, this, [this] {
    CMDDrawGraph_Click();
    SelectAllActiveText();
  });
  // A unit box reacts only to the user's own click (mouse release over it, or
  // the space bar); setting it from code changes nothing else.
  connect(ChkMM, &QCheckBox::clicked, this, [this](bool) { switchFocalLengthUnit(false); });
  connect(ChkInch, &QCheckBox::clicked, this, [this](bool) { switchFocalLengthUnit(true); });
  connect(ChkCormm, &QCheckBox::clicked, this, [this](bool) { switchMeasurementUnit(false); });
  connect(ChkCorInch, &QCheckBox::clicked, this, [this](bool) { switchMeasurementUnit(true); });
}

void CamDesigner::startUp(const DesignerEnvironment& environment) {
  state.PlotScale = 4;
  state.AppFolder = appFolderFor(environment.executableFolder);
  state.SettingsFilePath = state.AppFolder + QString::fromUtf8(kSettingsFileName.data(), kSettingsFileName.size());
  LBLVersion->setText(QStringLiteral("Version : %1.%2.%3")
                          .arg(KORVEL_VERSION_MAJOR)
                          .arg(KORVEL_VERSION_MINOR)
                          .arg(KORVEL_VERSION_PATCH));
  TitleLabel->setText(QStringLiteral("Korvel Cam Designer  by Orlan - ") + kAuthorWebAddress);
  CalibrationIntro->setText("Calculate printer correction factors. Measure width and height of printed cam, enter "
                   "numbers below.");
  CalibrationCumulativeNote->setText("Calculations are cumulative. If print is wrong size, remeasure, then enter new numbers "
                   "and hit Calculate again.");
  CalibrationResetNote->setText("Enter 0 (zero) or 1 (one) to reset calculations. Result is a ratio, not inches or mm.");
  const QSize client(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
  // The menu bar and the message line are added to the window: the controls
  // keep their places under the bar, and the stored size never counts either.
  const int menuHeight = MenuBar->sizeHint().height();
  ControlsFrame->move(0, menuHeight);
  const int added = menuHeight + MessageLine->height();
  setFixedSize(client + QSize(0, added));
  // A tall title bar must not cut off the bottom row of controls.
  outerSize_ = new OuterSize(this, true, client, added);
  LoadSettings();
}

void CamDesigner::showAndFocus() {
  show();
  activateWindow();
  FocalLength->setFocus(Qt::OtherFocusReason);
  SelectAllActiveText();
}

template <typename Command>
void CamDesigner::runCommand(Command&& command) {
  if (commandRunning_) return;
  commandRunning_ = true;
  runStep(command);
  commandRunning_ = false;
}

namespace {

// Where the control of a settings key stands in what the commands read; the
// scanner's factors are held for a dialog, which reads them itself.
std::variant<std::monostate, QString*, int*> inputOf(DesignerInputs& in, std::size_t k) {
  if (k >= key::FL1 && k <= key::FL9) return &in.FocalLen1[k - key::FL0];
  switch (k) {
    case key::FL0: return &in.FocalLength;
    case key::XCor: return &in.PrinterXCor;
    case key::YCor: return &in.PrinterYCor;
    case key::XUserMeasure: return &in.XCorUser;
    case key::YUserMeasure: return &in.YCorUser;
    case key::Checkmm: return &in.ChkMM;
    case key::Checkinch: return &in.ChkInch;
    case key::CheckFlipImage: return &in.ChkFlipImage;
    case key::CheckDistMarkers: return &in.ChkDistMarkers;
    case key::UseCor: return &in.ChkUsePrintCor;
    case key::CheckHiRes: return &in.ChkHiRes;
    case key::CheckCormm: return &in.ChkCormm;
    case key::CheckCorInch: return &in.ChkCorInch;
    default: return {};
  }
}

}  // namespace

DesignerInputs CamDesigner::inputs() const {
  DesignerInputs in;
  // The controls the settings keep, as their table binds them.
  for (std::size_t k = 0; k < kDesignerKeys.size(); ++k) {
    const auto slot = inputOf(in, k);
    const SettingControls& control = settingControls_[k];
    if (int* const* check = std::get_if<int*>(&slot); check && control.checkBox)
      **check = checkValue(control.checkBox);
    else if (QString* const* text = std::get_if<QString*>(&slot); text && control.textBox)
      **text = control.textBox->text();
  }
  // The rest: the calibration's ratios and the two output boxes, which no key keeps.
  in.LBLXCor = LBLXCor->text();
  in.LBLYCor = LBLYCor->text();
  in.SaveToDisk = checkValue(SaveToDisk);
  in.printerout = checkValue(printerout);
  return in;
}

namespace {

// A text a command gave a control; a control it gave none keeps its own.
template <typename Control>
void showText(Control* control, const std::optional<QString>& text) {
  if (text) control->setText(*text);
}

// What a drawing command could not do, for the message line.
QStringList outcomeMessages(const PlotOutcome& outcome) {
  QStringList said;
  if (!outcome.savedPath.isEmpty() && !outcome.saved)
    said << QString("Could not save %1: %2.").arg(outcome.savedPath, writeErrorText(outcome.saved.error));
  if (!outcome.printRefused.isEmpty()) said << outcome.printRefused;
  return said;
}

// How near the drawn cam couples, or that no cam can be cut for its lens.
QString couplingMessage(double focalMm) {
  if (!isCuttableFocalLength(focalMm))
    return QString("The %1 cam is outside the cuttable range %2.")
        .arg(qText(camCaption(focalMm).value_or("drawn")), qText(cuttableRangeText()));
  return qText(coupledRangeText(focalMm));
}

}  // namespace

void CamDesigner::CMDDrawGraph_Click() {
  runCommand([this] {
    const CamJob job = readCamJob(inputs());
    drawnFocalLength_ = job.typedFocalLength;
    drawnFocalMm_ = job.focalMm;
    const PlotOutcome outcome = DrawGraph(job, state, preview_, *printer_);
    showMessage((outcomeMessages(outcome) << couplingMessage(outcome.focalMm)).join("  "));
  });
}

void CamDesigner::CMDPlotCams_Click() {
  runCommand([this] {
    const PlotOutcome outcome = PlotCamSheet(readCamJob(inputs()), state, loadPlotWindow(), *printer_);
    for (int i = 1; i <= 9; ++i) {
      if (outcome.repeatedCells[i])
        FocalLen1[i]->markWith("Not a number: this cell repeated the cam before it.");
      else
        FocalLen1[i]->clearMark();
    }
    showMessage(outcomeMessages(outcome).join("  "));
  });
}

void CamDesigner::CMDCalcCor_Click() {
  runCommand([this] {
    const CalibrationResult result = CalculateCorrection(inputs());
    showText(XCorUser, result.XCorUser);
    showText(YCorUser, result.YCorUser);
    showText(LBLXCor, result.LBLXCor);
    showText(LBLYCor, result.LBLYCor);
  });
}

void CamDesigner::switchFocalLengthUnit(bool inchClicked) {
  const FocalLengthUnitSwitch result = toggleFocalLengthUnit(inputs(), inchClicked);
  setCheckValue(ChkMM, result.ChkMM);
  setCheckValue(ChkInch, result.ChkInch);
  // A box nobody edited since the last switch gets its own text back.
  for (std::size_t i = 0; i <= 9; ++i) {
    DesignerTextBox* box = i == 0 ? FocalLength : FocalLen1[i];
    showText(box, convertedFocalLengths_.afterSwitch(i, box->text(), result.texts[i]));
  }
}

void CamDesigner::switchMeasurementUnit(bool inchClicked) {
  const MeasurementUnitSwitch result = toggleMeasurementUnit(inputs(), inchClicked);
  setCheckValue(ChkCormm, result.ChkCormm);
  setCheckValue(ChkCorInch, result.ChkCorInch);
  showText(XCorUser, result.XCorUser);
  showText(YCorUser, result.YCorUser);
}

void CamDesigner::CMDExit_Click() {
  if (plotWindow_) plotWindow_->close();
  close();
}

void CamDesigner::closeEvent(QCloseEvent* event) {
  SaveSettings();
  event->accept();
}

void CamDesigner::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  MenuBar->setGeometry(0, 0, width(), MenuBar->sizeHint().height());
  MessageLine->setGeometry(0, height() - MessageLine->height(), width(), MessageLine->height());
}

void CamDesigner::showMessage(const QString& text, const QString& detail) {
  message_ = text;
  MessageLine->setText(text);
  MessageLine->setToolTip(detail.isEmpty() ? text : detail);  // a long path may not fit the line
}

void CamDesigner::exitOnSignals() {
  runOnExitSignals(*this, [this] { CMDExit_Click(); });
}

QString CamDesigner::drawnCamName() const {
  return "KorvelCamDesigner-" + qText(generalNumberText(drawnFocalLength_).value_or("0"));
}

std::optional<QString> CamDesigner::drawnCamRefusal() const {
  const std::vector<KeptProfile>& drawn = preview_.drawing().profiles();
  if (drawn.empty()) return "Nothing to export: draw a cam first.";
  const double focalMm = drawn.front().focalMm;
  if (isCuttableFocalLength(focalMm)) return std::nullopt;
  const QString focal = qText(camCaption(focalMm).value_or(std::to_string(focalMm) + " mm"));
  return QStringLiteral("Not exported: a cam for %1 cannot be cut; cams are cut for %2.")
      .arg(focal, qText(cuttableRangeText()));
}

void CamDesigner::showExported(const CutExportOutcome& outcome, std::optional<double> focalMm) {
  if (!outcome.refusal.isEmpty()) return showMessage(outcome.refusal);
  if (outcome.files.isEmpty()) return;
  const QString where = outcome.files.size() == 1
                            ? "Exported to " + outcome.files.front()
                            : QStringLiteral("Exported %1 part files to %2: %3 to %4")
                                  .arg(outcome.files.size())
                                  .arg(QFileInfo(outcome.files.front()).absolutePath(),
                                       QFileInfo(outcome.files.front()).fileName(),
                                       QFileInfo(outcome.files.back()).fileName());
  if (outcome.summary.isEmpty()) {
    const std::string coupled = focalMm ? coupledRangeText(*focalMm) : std::string();
    return showMessage(where + (coupled.empty() ? QString() : "; " + qText(coupled)));
  }
  // The part's preflight: a single part's on the line, all of it in the
  // tooltip, and in a box the user reads in full when it warns.
  const QString detail = where + "\n" + outcome.summary.join("\n");
  showMessage(outcome.files.size() == 1 ? where + "; " + outcome.summary.join("; ") : where, detail);
  if (!outcome.summary.filter(QRegularExpression("^warning:")).isEmpty())
    QMessageBox::warning(this, "Exported with warnings", detail);
}

void CamDesigner::exportPreviewForCutting() {
  if (const std::optional<QString> refusal = drawnCamRefusal()) return showMessage(*refusal);
  const double focalMm = preview_.drawing().profiles().front().focalMm;
  showExported(exportForCutting(*this, {&preview_, drawnCamName(), 1, focalMm}, state.SettingsFilePath), focalMm);
}

void CamDesigner::exportFocusCard() {
  if (const std::optional<QString> refusal = drawnCamRefusal()) return showMessage(*refusal);
  const double focalMm = preview_.drawing().profiles().front().focalMm;
  const std::optional<QString> path = askExportFile(*this, "Export focus check card", drawnCamName() + "-focus-card",
                                                    focusCardFileTypes(), state.SettingsFilePath);
  if (!path) return;
  const CutFileResult written = writeFocusCard(*path, focalMm);
  if (!written.written) return showMessage("Not exported: " + written.message);
  rememberExportFolder(*path, state.SettingsFilePath);
  showMessage("Focus check card exported to " + *path);
}

void CamDesigner::measureLens() {
  MeasureLensDialog dialog(state.AppFolder, {isChecked(ChkCorInch) && !isChecked(ChkCormm), isChecked(ChkInch)}, this);
  connect(&dialog, &MeasureLensDialog::focalLengthChosen, this, [this](const QString& text) {
    FocalLength->setText(text);
    showMessage("Focal length " + text + (isChecked(ChkInch) ? " in" : " mm") + " from the measured lens.");
  });
  dialog.exec();
}

void CamDesigner::checkCutCam() {
  const bool inch = isChecked(ChkInch);
  QString focal = FocalLength->text();
  if (drawnFocalMm_) {
    const auto drawn = inch ? roundedNumberText(*drawnFocalMm_ / kMmPerInch, NumberPattern::FourDecimals)
                            : roundedNumberText(*drawnFocalMm_, NumberPattern::TwoDecimals);
    if (drawn) focal = qText(*drawn);
  }
  CheckScanDialog dialog({focal, inch, scannerXCor.text, scannerYCor.text}, this);
  // Only what the user types is kept, so an untouched older file stays as it was.
  for (auto [box, held] : {std::pair{dialog.ScannerXCor, &scannerXCor}, std::pair{dialog.ScannerYCor, &scannerYCor}})
    connect(box, &QLineEdit::textEdited, this, [target = held](const QString& text) { *target = {text, true}; });
  dialog.exec();
}

void CamDesigner::exportSheetForCutting() {
  if (!plotWindow_) return;
  CutExportTarget target{&plotWindow_->surface(), "KorvelCamDesigner", state.PlotScale};
  // The sheet's nine cams as drawn, each its own part.
  const std::vector<KeptProfile>& cams = plotWindow_->surface().drawing().profiles();
  std::array<double, 9> sheetMm{};
  for (std::size_t i = 0; i < cams.size() && i < sheetMm.size(); ++i) {
    sheetMm[i] = cams[i].focalMm;
    if (!isCuttableFocalLength(cams[i].focalMm))
      target.noParts = QStringLiteral("Not exported: the sheet's cam for %1 cannot be cut; cams are cut for %2.")
                           .arg(qText(camCaption(cams[i].focalMm).value_or(std::to_string(cams[i].focalMm) + " mm")),
                                qText(cuttableRangeText()));
  }
  if (cams.size() != sheetMm.size()) target.noParts = "Nothing to export as parts: plot a cam sheet first.";
  if (target.noParts.isEmpty()) target.sheetMm = sheetMm;
  showExported(exportForCutting(*plotWindow_, target, state.SettingsFilePath), std::nullopt);
}

void CamDesigner::saveCamBitmap() {
  if (preview_.drawing().profiles().empty()) return showMessage("Nothing to save: draw a cam first.");
  const QString name = drawnCamName() + ".bmp";
  const FileWriteResult saved = SavePlot(preview_.drawing(), state.AppFolder, name);
  showMessage(saved ? "Saved to " + state.AppFolder + name
                    : "Not saved: " + state.AppFolder + name + ": " + writeErrorText(saved.error));
}

PlotWindow* CamDesigner::plotWindow() const { return plotWindow_.data(); }

PlotWindow& CamDesigner::loadPlotWindow() {
  if (!plotWindow_) {
    plotWindow_ = new PlotWindow(state.SettingsFilePath);
    plotWindow_->placeBeside(*this);
    addCutExportMenu(*plotWindow_->SheetPicture, [this] { exportSheetForCutting(); });
    connect(plotWindow_->ExportSheetAction, &QAction::triggered, this, [this] { exportSheetForCutting(); });
  }
  return *plotWindow_;
}

}  // namespace korvel
