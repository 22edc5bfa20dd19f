#pragma once

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "commands/designer_inputs.h"
#include "commands/designer_state.h"
#include "render/printer_seam.h"
#include "render/raster_surface.h"
#include "settings/setting_keys.h"
#include "ui/converted_texts.h"
#include "ui/designer_text_box.h"
#include "ui/outer_size.h"
#include "ui/surface_view.h"

// The designer window: every input of the program, the preview box and the
// four command buttons. Controls carry the names the commands know them by.
namespace korvel {

class PlotWindow;
struct CutExportOutcome;

struct DesignerEnvironment {
  QString executableFolder;            // where the program runs from, or the user's
                                       // data folder when that one must not be written
  PrinterSeam* printer = nullptr;      // the print dialog and default printer
};

class CamDesigner : public QWidget, public KeepsOuterSize {
  Q_OBJECT
 public:
  // The environment of the running program: its own folder (or the user's data
  // folder for an installed or read-only program), the real printer.
  static DesignerEnvironment systemEnvironment();

  explicit CamDesigner(const DesignerEnvironment& environment = systemEnvironment());
  ~CamDesigner() override;

  // Shows the window with the focus and a full selection in FocalLength.
  void showAndFocus();

  // Commands; a command started while another one still runs (through the
  // events that printing lets through) is ignored.
  void CMDDrawGraph_Click();
  void CMDPlotCams_Click();
  void CMDCalcCor_Click();
  void CMDExit_Click();

  void LoadSettings();
  void SaveSettings();

  // The menus' and right-click menus' own commands. The preview's export and
  // bitmap are of the cam the last Draw Graph drew, named as its bitmap is;
  // a cam that cannot be cut is refused, with a message.
  void exportPreviewForCutting();
  void exportSheetForCutting();
  void saveCamBitmap();
  void exportFocusCard();
  // Tools → Measure a lens…: a measured focal length goes into FocalLength in
  // the unit in force.
  void measureLens();
  // Tools → Check a cut cam…: for the drawn cam, else FocalLength's, with the
  // scanner's correction factors the window holds.
  void checkCutCam();

  // SIGTERM, SIGINT and SIGHUP end the program as Exit does.
  void exitOnSignals();

  // Says on the window's message line what a command could not do, or where
  // a file went; the commands go on all the same.
  // detail, when given, is the tooltip: all of a message the line may cut off.
  void showMessage(const QString& text, const QString& detail = {});
  QString message() const { return message_; }

  // The texts and check values of the controls, as the commands read them.
  DesignerInputs inputs() const;

  DesignerState state;
  // A settings value the window holds for a dialog rather than shows.
  struct HeldSetting {
    QString text;
    bool keep = false;  // written back: the file held it, or the user changed it
  };
  HeldSetting scannerXCor;
  HeldSetting scannerYCor;
  PrinterSeam& printer() { return *printer_; }
  RasterSurface& previewSurface() { return preview_; }
  PlotWindow* plotWindow() const;
  PlotWindow& loadPlotWindow();

  // Controls. The menu bar stands above ControlsFrame, the message line below it.
  QMenuBar* MenuBar;
  QLabel* MessageLine;
  QFrame* ControlsFrame;
  QLabel* TitleLabel;
  QLabel* LBLVersion;
  QLabel* FocalLengthLabel;
  DesignerTextBox* FocalLength;
  QCheckBox* ChkMM;
  QCheckBox* ChkInch;
  QPushButton* CMDDrawGraph;
  QLabel* DrawGraphNote;
  SurfaceView* PreviewPicture;
  QLabel* SheetFocalLengthsLabel;
  std::array<DesignerTextBox*, 10> FocalLen1{};  // boxes 1 to 9; there is no box 0
  QPushButton* CMDPlotCams;
  QLabel* PlotCamsNote;
  QCheckBox* SaveToDisk;
  QCheckBox* printerout;
  QLabel* CorrectionFactorsLabel;
  QLabel* XCorLabel;
  DesignerTextBox* PrinterXCor;
  QLabel* YCorLabel;
  DesignerTextBox* PrinterYCor;
  QCheckBox* ChkFlipImage;
  QCheckBox* ChkDistMarkers;
  QCheckBox* ChkUsePrintCor;
  QCheckBox* ChkHiRes;
  QFrame* CalibrationRule;
  QLabel* CalibrationIntro;
  QLabel* CalibrationCumulativeNote;
  QLabel* CalibrationResetNote;
  QPushButton* CMDCalcCor;
  QLabel* XMeasureLabel;
  DesignerTextBox* XCorUser;
  QLabel* XEqualsSign;
  QLabel* LBLXCor;
  QLabel* YMeasureLabel;
  DesignerTextBox* YCorUser;
  QLabel* YEqualsSign;
  QLabel* LBLYCor;
  QCheckBox* ChkCormm;
  QCheckBox* ChkCorInch;
  QPushButton* CMDExit;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void createControls();
  // Why the drawn cam cannot be exported, if it cannot.
  std::optional<QString> drawnCamRefusal() const;
  // Where an export went, with the drawn cam's coupled range or the parts' preflight.
  void showExported(const CutExportOutcome& outcome, std::optional<double> focalMm);
  void setTabOrder();
  void connectHandlers();
  void startUp(const DesignerEnvironment& environment);
  void switchFocalLengthUnit(bool inchClicked);
  void switchMeasurementUnit(bool inchClicked);
  template <typename Command>
  void runCommand(Command&& command);
  // "KorvelCamDesigner-150": the drawn cam's bitmap name, without extension.
  QString drawnCamName() const;

  // The control that shows each settings key, given its initial text or
  // state from the key's row; the window's geometry keys have none.
  struct SettingControls {
    QCheckBox* checkBox = nullptr;
    DesignerTextBox* textBox = nullptr;
    HeldSetting* held = nullptr;
  };
  QCheckBox* bound(std::size_t key, QCheckBox* box);
  DesignerTextBox* bound(std::size_t key, DesignerTextBox* box);
  void bound(std::size_t key, HeldSetting& held);

  std::array<SettingControls, key::DesignerKeyCount> settingControls_{};
  std::unique_ptr<SystemPrinterSeam> ownPrinter_;
  PrinterSeam* printer_;
  RasterSurface preview_;
  QPointer<PlotWindow> plotWindow_;
  bool commandRunning_ = false;
  QString message_;
  ConvertedTexts convertedFocalLengths_;
  double drawnFocalLength_ = 0;  // as typed for the last Draw Graph: names its files
  std::optional<double> drawnFocalMm_;  // the last Draw Graph's lens
};

}  // namespace korvel
