// The designer window's part of the settings file: every key read at start-up
// and applied to its control, every key written from the live controls when
// the window closes.
#include <QApplication>
#include <algorithm>
#include <array>

#include "commands/sheet_field_number.h"
#include "common/failing_step.h"
#include "common/write_error.h"
#include "common/number_text.h"
#include "settings/ini_file.h"
#include "settings/setting_reader.h"
#include "settings/window_geometry.h"
#include "ui/cam_designer.h"
#include "ui/check_value.h"

namespace korvel {

namespace {

QString numberText(double value, std::optional<std::string> (*format)(double)) {
  return QString::fromStdString(format(value).value());
}

std::optional<std::string> general(double v) { return generalNumberText(v); }

// A correction factor as the file reads it back: with a point, also when it
// was typed with the regional decimal comma; any other text as it stands.
std::string storedFactor(const QLineEdit* box) {
  if (const auto value = wholeTextNumber(box->text()))
    if (auto text = generalNumberText(*value)) return *text;
  return box->text().toStdString();
}
std::optional<std::string> measurement(double v) {
  return formatWithPattern(v, NumberPattern::FourDecimalsNoLeadingZero);
}

}  // namespace

void CamDesigner::LoadSettings() {
  const IniText file = readIniFile(state.SettingsFilePath.toStdString());
  readWindowGeometry(file, kDesignerWindowKeys, *this);
  QCheckBox* const checks[] = {ChkMM, ChkInch, ChkFlipImage, ChkDistMarkers, ChkHiRes};
  for (std::size_t k = key::Checkmm; k < kDesignerKeys.size(); ++k) {
    const double value = readSetting(file, kDesignerKeys[k]);
    runStep([&] {
      // Only the 16-bit keys become integers; a factor of 1e300 never meets an
      // int, and a value that does not fit fails the step.
      const auto whole = [&] { return int{toInt16(value).value()}; };
      switch (k) {
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
  QCheckBox* const checks[] = {ChkMM, ChkInch, ChkFlipImage, ChkDistMarkers, ChkHiRes};
  auto digit = [](const QCheckBox* box) { return std::to_string(checkValue(box)); };
  auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
  // Each key's text comes from the control its enum names, as LoadSettings
  // puts it there.
  auto textOf = [&](std::size_t k) {
    switch (k) {
      case key::Checkmm: case key::Checkinch: case key::CheckFlipImage:
      case key::CheckDistMarkers: case key::CheckHiRes:
        return digit(checks[k - key::Checkmm]);
      case key::XCor: return storedFactor(PrinterXCor);
      case key::YCor: return storedFactor(PrinterYCor);
      case key::UseCor: return digit(ChkUsePrintCor);
      case key::XUserMeasure: return text(XCorUser);
      case key::YUserMeasure: return text(YCorUser);
      case key::CheckCormm: return digit(ChkCormm);
      case key::CheckCorInch: return digit(ChkCorInch);
      case key::FL0: return text(FocalLength);
      default: return text(FocalLen1[k - key::FL0]);
    }
  };
  std::array<std::string, kGeometryPartCount> geometryTexts;
  const auto geometry = windowGeometryEntries(kDesignerWindowKeys, *this, geometryTexts);
  std::array<std::string, kDesignerKeys.size()> texts;
  std::array<IniEntry, kDesignerKeys.size()> entries;
  std::copy(geometry.begin(), geometry.end(), entries.begin());
  for (std::size_t k = key::Checkmm; k < kDesignerKeys.size(); ++k) {
    texts[k] = textOf(k);
    entries[k] = {kDesignerKeys[k].section, kDesignerKeys[k].key, texts[k]};
  }
  // One replacement of the whole file: a crash never leaves "Inch" checked
  // beside focal lengths still in millimetres.
  FileWriteResult saved;
  runStep([&] { saved = writeIniValues(path, entries); });
  if (!saved)
    showMessage(QString("Could not save the settings to %1: %2.")
                    .arg(state.SettingsFilePath, writeErrorText(saved.error)));
}

}  // namespace korvel
