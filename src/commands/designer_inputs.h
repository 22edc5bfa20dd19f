#pragma once

#include <QString>
#include <array>

// What the commands read of the designer window, as it stands when a command
// starts: the texts of its boxes and labels and the values of its check boxes
// (0 clear, 1 checked, 2 dimmed). What a start shows in the controls that the
// settings file keeps comes from the settings keys' table, not from here.
namespace korvel {

inline bool isChecked(int checkValue) { return checkValue == 1; }

struct DesignerInputs {
  QString FocalLength;
  std::array<QString, 10> FocalLen1;  // 1 to 9
  QString PrinterXCor;
  QString PrinterYCor;
  QString XCorUser;
  QString YCorUser;
  QString LBLXCor = "1";  // the calibration's ratios, which no settings key keeps
  QString LBLYCor = "1";
  int ChkMM = 0;
  int ChkInch = 0;
  int ChkFlipImage = 0;
  int ChkDistMarkers = 0;
  int ChkUsePrintCor = 0;
  int ChkHiRes = 0;
  int SaveToDisk = 0;
  int printerout = 0;
  int ChkCormm = 0;
  int ChkCorInch = 0;
};

}  // namespace korvel
