#pragma once

#include <QString>
#include <array>

// What the commands read of the designer window, as it stands when a command
// starts: the texts of its boxes and labels and the values of its check boxes
// (0 clear, 1 checked, 2 dimmed). The defaults are the window's after a start
// without a settings file.
namespace korvel {

inline bool isChecked(int checkValue) { return checkValue == 1; }

struct DesignerInputs {
  QString FocalLength = "135";
  std::array<QString, 10> FocalLen1{"", "65", "90", "135", "150", "210", "250", "270", "300", "380"};  // 1 to 9
  QString PrinterXCor = "0.9375";
  QString PrinterYCor = "0.9338";
  QString XCorUser = "1.";
  QString YCorUser = "1.";
  QString LBLXCor = "1";
  QString LBLYCor = "1";
  int ChkMM = 1;
  int ChkInch = 0;
  int ChkFlipImage = 1;
  int ChkDistMarkers = 0;
  int ChkUsePrintCor = 0;
  int ChkHiRes = 0;
  int SaveToDisk = 0;
  int printerout = 0;
  int ChkCormm = 0;
  int ChkCorInch = 1;
};

}  // namespace korvel
