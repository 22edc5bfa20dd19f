#include "ui/cam_designer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QResizeEvent>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "commands/calibration.h"
#include "commands/control_numbers.h"
#include "commands/cam_sheet.h"
#include "commands/draw_graph.h"
#include "commands/unit_toggles.h"
#include "commands/plot_steps.h"
#include "common/failing_step.h"
#include "common/write_error.h"
#include "geometry/coupled_range.h"
#include "geometry/cam_outline.h"
#include "geometry/cuttable_range.h"
#include "export/bitmap_file.h"
#include "render/plot_output.h"
#include "render/surface_fonts.h"
#include "settings/program_folder.h"
#include "settings/setting_keys.h"
#include "ui/app_folder.h"
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

QCheckBox* checkBox(QWidget* parent, const QString& caption, bool checked, int l, int t, int w, int h) {
  auto* box = place(new DesignerCheckBox(caption, parent), l, t, w, h);
  box->setChecked(checked);
  return box;
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

DesignerTextBox* textBox(QWidget* parent, const QString& text, bool selectAll, int l, int t) {
  return place(new DesignerTextBox(text, selectAll, parent), l, t, 855, 285);
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
  Frame1 = new QFrame(this);
  Frame1->setFrameShape(QFrame::NoFrame);
  place(Frame1, 0, 0, kClientWidthTwips, kClientHeightTwips);
  QWidget* f = Frame1;
  const QFont bold = arial(8.25, QFont::Bold);

  // Title and version.
  Label3 = label(f, QString(), 120, 120, 7695, 375);
  Label3->setFont(arial(9.75, QFont::Black, "Arial Black"));
  LBLVersion = label(f, "Version", 240, 480, 2295, 255);

  // Single cam.
  Label1 = label(f, "Enter Focal Length of Lens", 240, 840, 2295, 375);
  Label1->setFont(bold);
  FocalLength = textBox(f, "135", true, 2760, 840);
  ChkMM = checkBox(f, "mm", true, 3960, 840, 855, 255);
  ChkInch = checkBox(f, "Inch", false, 3960, 1200, 855, 255);
  CMDDrawGraph = button(f, "Draw Graph", 480, 1320, 1575, 375);
  CMDDrawGraph->setFont(bold);
  Label5 = label(f, "Plots above focal length in box on right.", 2160, 1320, 1695, 495);
  Picture1 = new SurfaceView(preview_, f);
  Picture1->move(twipsToPixels(4920), twipsToPixels(840));
  Picture1->setFocusPolicy(Qt::TabFocus);
  addCutExportMenu(*Picture1, [this] { exportPreviewForCutting(); });

  // Cam sheet.
  Label4 = label(f, "Focal Lengths for Cam Sheet", 240, 2040, 3375, 255);
  Label4->setFont(bold);
  const char* sheetTexts[] = {"65", "90", "135", "150", "210", "250", "270", "300", "380"};
  const int columns[] = {480, 1640, 2760};
  const int rows[] = {2400, 2760, 3120};
  for (int i = 1; i <= 9; ++i)
    FocalLen1[i] = textBox(f, sheetTexts[i - 1], true, columns[(i - 1) % 3], rows[(i - 1) / 3]);
  SaveToDisk = checkBox(f, "Save cam file to disk", false, 4920, 2880, 2655, 375);
  SaveToDisk->setFont(bold);
  printerout = checkBox(f, "Print cam to default printer", false, 4920, 3240, 2775, 375);
  printerout->setFont(bold);
  CMDPlotCams = button(f, "Plot Cam Sheet", 480, 3720, 1575, 375);
  CMDPlotCams->setFont(bold);
  Label2 = label(f, "Plots a sheet of above nine focal lengths.", 2160, 3720, 1695, 495);
  Label6 = label(f, "Printer XY correction Factors.", 4440, 3720, 735, 615);
  Label8 = label(f, "X-", 5400, 3720, 375, 255);
  PrinterXCor = textBox(f, "0.9375", false, 5760, 3720);
  Label7 = label(f, "Y-", 6720, 3720, 255, 255);
  PrinterYCor = textBox(f, "0.9463", false, 7080, 3720);

  // Drawing options.
  ChkFlipImage = checkBox(f, "Flip Image", true, 480, 4320, 1215, 255);
  ChkDistMarkers = checkBox(f, "Draw distance markers", false, 2040, 4320, 2295, 255);
  ChkUsePrintCor = checkBox(f, "Use printer correction", false, 4440, 4320, 1935, 255);
  ChkHiRes = checkBox(f, "High Res print", false, 6480, 4320, 1575, 255);
  Line1 = new QFrame(f);
  Line1->setFrameShape(QFrame::HLine);
  Line1->setFrameShadow(QFrame::Plain);
  Line1->setGeometry(twipsToPixels(240), twipsToPixels(4680), twipsToPixels(8040 - 240), 1);

  // Calibration.
  Label13 = label(f, "Calculate printer correction factors. Measure width and height in inches of printed "
                     "cam, enter numbers below.", 240, 4800, 7815, 255);
  Label15 = label(f, "Calculations are cumulative. If print is wrong size, remeasure, then enter new numbers "
                     "and hit Calculate again.", 240, 5040, 7815, 255);
  Label14 = label(f, "Enter 0 (zero) or 1 (one) to reset calculations.", 240, 5280, 6855, 255);
  CMDCalcCor = button(f, "Calculate Correction Factors", 600, 5760, 1815, 495);
  Label9 = label(f, "X ( Width )", 2760, 5760, 975, 255);
  XCorUser = textBox(f, "1.5", true, 3840, 5760);
  Label11 = label(f, "=", 4800, 5760, 375, 255);
  LBLXCor = label(f, "1", 5280, 5760, 1335, 255);
  LBLXCor->setFont(arial(9.75, QFont::Bold));
  Label10 = label(f, "Y ( Height )", 2760, 6120, 975, 255);
  YCorUser = textBox(f, ".705", true, 3840, 6120);
  Label12 = label(f, "=", 4800, 6120, 375, 255);
  LBLYCor = label(f, "1", 5280, 6120, 1335, 255);
  LBLYCor->setFont(arial(9.75, QFont::Bold));
  ChkCormm = checkBox(f, "mm", false, 600, 6240, 855, 255);
  ChkCorInch = checkBox(f, "inch", true, 1560, 6240, 855, 255);
  CMDExit = button(f, "Exit", 6720, 6000, 1335, 375);
  CMDExit->setFont(bold);

  for (QWidget* w : f->findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(w) || w == Line1) w->setFocusPolicy(Qt::NoFocus);
  }
}

void CamDesigner::setTabOrder() {
  std::vector<QWidget*> order{FocalLength, CMDDrawGraph, CMDExit, ChkMM, ChkInch, SaveToDisk,
                              printerout, CMDPlotCams, Picture1};
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
  Label3->setText(QStringLiteral("Korvel Cam Designer  by Orlan - ") + kAuthorWebAddress);
  Label13->setText("Calculate printer correction factors. Measure width and height of printed cam, enter "
                   "numbers below.");
  Label15->setText("Calculations are cumulative. If print is wrong size, remeasure, then enter new numbers "
                   "and hit Calculate again.");
  Label14->setText("Enter 0 (zero) or 1 (one) to reset calculations. Result is a ratio, not inches or mm.");
  const QSize client(twipsToPixels(kClientWidthTwips), twipsToPixels(kClientHeightTwips));
  // The menu bar and the message line are added to the window: the controls
  // keep their places under the bar, and the stored size never counts either.
  const int menuHeight = MenuBar->sizeHint().height();
  Frame1->move(0, menuHeight);
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

DesignerInputs CamDesigner::inputs() const {
  DesignerInputs in;
  in.FocalLength = FocalLength->text();
  for (int i = 1; i <= 9; ++i) in.FocalLen1[i] = FocalLen1[i]->text();
  in.PrinterXCor = PrinterXCor->text();
  in.PrinterYCor = PrinterYCor->text();
  in.XCorUser = XCorUser->text();
  in.YCorUser = YCorUser->text();
  in.LBLXCor = LBLXCor->text();
  in.LBLYCor = LBLYCor->text();
  in.ChkMM = checkValue(ChkMM);
  in.ChkInch = checkValue(ChkInch);
  in.ChkFlipImage = checkValue(ChkFlipImage);
  in.ChkDistMarkers = checkValue(ChkDistMarkers);
  in.ChkUsePrintCor = checkValue(ChkUsePrintCor);
  in.ChkHiRes = checkValue(ChkHiRes);
  in.SaveToDisk = checkValue(SaveToDisk);
  in.printerout = checkValue(printerout);
  in.ChkCormm = checkValue(ChkCormm);
  in.ChkCorInch = checkValue(ChkCorInch);
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
    drawnFocalLength_ = numberIn(FocalLength->text()).value_or(0);
    const PlotOutcome outcome = DrawGraph(inputs(), state, preview_, *printer_);
    showMessage((outcomeMessages(outcome) << couplingMessage(outcome.focalMm)).join("  "));
  });
}

void CamDesigner::CMDPlotCams_Click() {
  runCommand([this] {
    const PlotOutcome outcome = PlotCamSheet(inputs(), state, loadPlotWindow(), *printer_);
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

void CamDesigner::showMessage(const QString& text) {
  message_ = text;
  MessageLine->setText(text);
  MessageLine->setToolTip(text);  // a long path may not fit the line
}

void CamDesigner::exitOnSignals() {
  runOnExitSignals(*this, [this] { CMDExit_Click(); });
}

QString CamDesigner::drawnCamName() const {
  return "KorvelCamDesigner-" + qText(generalNumberText(drawnFocalLength_).value_or("0"));
}

void CamDesigner::exportPreviewForCutting() {
  const std::vector<KeptProfile>& drawn = preview_.record()->profiles();
  if (drawn.empty()) return showMessage("Nothing to export: draw a cam first.");
  const double focalMm = drawn.front().focalMm;
  if (!isCuttableFocalLength(focalMm)) {
    const QString focal = qText(camCaption(focalMm).value_or(std::to_string(focalMm) + " mm"));
    return showMessage(QStringLiteral("Not exported: a cam for %1 cannot be cut; cams are cut for %2.")
                           .arg(focal, qText(cuttableRangeText())));
  }
  const auto path = exportForCutting(*this, {&preview_, drawnCamName(), 1}, state.SettingsFilePath);
  if (!path) return;
  const std::string coupled = coupledRangeText(focalMm);
  showMessage("Exported to " + *path + (coupled.empty() ? QString() : "; " + qText(coupled)));
}

void CamDesigner::measureLens() {
  MeasureLensDialog dialog(state.AppFolder, {isChecked(ChkCorInch) && !isChecked(ChkCormm), isChecked(ChkInch)}, this);
  connect(&dialog, &MeasureLensDialog::focalLengthChosen, this, [this](const QString& text) {
    FocalLength->setText(text);
    showMessage("Focal length " + text + (isChecked(ChkInch) ? " in" : " mm") + " from the measured lens.");
  });
  dialog.exec();
}

void CamDesigner::exportSheetForCutting() {
  if (!plotWindow_) return;
  const auto path =
      exportForCutting(*plotWindow_, {&plotWindow_->surface(), "KorvelCamDesigner", state.PlotScale},
                       state.SettingsFilePath);
  if (path) showMessage("Exported to " + *path);
}

void CamDesigner::saveCamBitmap() {
  if (preview_.record()->profiles().empty()) return showMessage("Nothing to save: draw a cam first.");
  const QString name = drawnCamName() + ".bmp";
  const FileWriteResult saved = SavePlot(preview_, state.AppFolder, name);
  showMessage(saved ? "Saved to " + state.AppFolder + name
                    : "Not saved: " + state.AppFolder + name + ": " + writeErrorText(saved.error));
}

PlotWindow* CamDesigner::plotWindow() const { return plotWindow_.data(); }

PlotWindow& CamDesigner::loadPlotWindow() {
  if (!plotWindow_) {
    plotWindow_ = new PlotWindow(state.SettingsFilePath);
    plotWindow_->placeBeside(*this);
    addCutExportMenu(*plotWindow_->Picture1, [this] { exportSheetForCutting(); });
    connect(plotWindow_->ExportSheetAction, &QAction::triggered, this, [this] { exportSheetForCutting(); });
  }
  return *plotWindow_;
}

}  // namespace korvel
