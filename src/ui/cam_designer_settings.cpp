// The designer window's part of the settings file: every key read at start-up
// and applied to its control, every key written from the live controls when
// the window closes.
#include <QApplication>
#include <array>

#include "common/failing_step.h"
#include "common/number_text.h"
#include "settings/ini_file.h"
#include "settings/setting_reader.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

namespace korvel {

namespace {

QString numberText(double value, std::optional<std::string> (*format)(double)) {
  return QString::fromStdString(format(value).value());
}

std::optional<std::string> general(double v) { return generalNumberText(v); }
std::optional<std::string> measurement(double v) {
  return formatWithPattern(v, NumberPattern::FourDecimalsNoLeadingZero);
}

}  // namespace

void CamDesigner::LoadSettings() {
  const std::string path = state.SettingsFilePath.toStdString();
  QCheckBox* const checks[] = {ChkMM, ChkInch, ChkFlipImage, ChkDistMarkers, ChkHiRes};
  for (std::size_t k = 0; k < kDesignerKeys.size(); ++k) {
    const double value = readSetting(path, kDesignerKeys[k]);
    runStep([&] {
      // Only the 16-bit keys become integers; a factor of 1e300 never meets an
      // int, and a value that does not fit fails the step.
      const auto whole = [&] { return int{toInt16(value).value()}; };
      switch (k) {
        case key::TavoTop: setOuterTopTwips(whole()); break;
        case key::TavoLeft: setOuterLeftTwips(whole()); break;
        case key::TavoWidth: setOuterWidthTwips(whole()); break;
        case key::TavoHeight: setOuterHeightTwips(whole()); break;
        case key::Checkmm: case key::Checkinch: case key::CheckFlipImage:
        case key::CheckDistMarkers: case key::CheckHiRes:
          return setCheckValue(checks[k - key::Checkmm], whole());
        case key::XCor: PrinterXCor->setText(numberText(value, general)); break;
        case key::YCor: PrinterYCor->setText(numberText(value, general)); break;
        case key::UseCor: return setCheckValue(ChkUsePrintCor, whole());
        case key::XUserMeasure: XCorUser->setText(numberText(value, measurement)); break;
        case key::YUserMeasure: YCorUser->setText(numberText(value, measurement)); break;
        case key::CheckCormm: return setCheckValue(ChkCormm, whole());
        case key::CheckCorInch: return setCheckValue(ChkCorInch, whole());
        case key::FL0: FocalLength->setText(numberText(value, general)); break;
        default: FocalLen1[k - key::FL0]->setText(numberText(value, general)); break;
      }
      return true;
    });
  }
  QApplication::processEvents();
}

void CamDesigner::SaveSettings() {
  const std::string path = state.SettingsFilePath.toStdString();
  auto digit = [](const QCheckBox* box) { return std::to_string(checkValue(box)); };
  auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
  const std::string values[] = {
      std::to_string(outerTopTwips()), std::to_string(outerLeftTwips()),
      std::to_string(outerWidthTwips()), std::to_string(outerHeightTwips()),
      digit(ChkMM), digit(ChkInch), digit(ChkFlipImage), digit(ChkDistMarkers), digit(ChkHiRes),
      text(PrinterXCor), text(PrinterYCor), digit(ChkUsePrintCor), text(XCorUser), text(YCorUser),
      digit(ChkCormm), digit(ChkCorInch),
      text(FocalLength), text(FocalLen1[1]), text(FocalLen1[2]), text(FocalLen1[3]), text(FocalLen1[4]),
      text(FocalLen1[5]), text(FocalLen1[6]), text(FocalLen1[7]), text(FocalLen1[8]), text(FocalLen1[9]),
  };
  static_assert(std::size(values) == kDesignerKeys.size());
  std::array<IniEntry, kDesignerKeys.size()> entries;
  for (std::size_t k = 0; k < kDesignerKeys.size(); ++k)
    entries[k] = {kDesignerKeys[k].section, kDesignerKeys[k].key, values[k]};
  // One replacement of the whole file: a crash never leaves "Inch" checked
  // beside focal lengths still in millimetres.
  runStep([&] { return writeIniValues(path, entries); });
}

}  // namespace korvel
