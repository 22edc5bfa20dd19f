// The designer window's part of the settings file: every key read at start-up
// and applied to the control bound to its key (or held for a dialog), every key
// written from the live controls when the window closes; a held key only once
// the file held it or the user changed it.
#include <QApplication>
#include <array>
#include <vector>

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

// A correction factor as the file reads it back: with a point, also when it
// was typed with the regional decimal comma; any other text as it stands.
std::string storedFactor(const QString& typed) {
  if (const auto value = wholeTextNumber(typed))
    if (auto text = generalNumberText(*value)) return *text;
  return typed.toStdString();
}

}  // namespace

void CamDesigner::LoadSettings() {
  const IniText file = readIniFile(state.SettingsFilePath.toStdString());
  readWindowGeometry(file, kDesignerWindowKeys, *this);
  for (std::size_t k = key::Checkmm; k < kDesignerKeys.size(); ++k) {
    const double value = readSetting(file, kDesignerKeys[k]);
    const SettingControls& control = settingControls_[k];
    runStep([&] {
      // Only a check box's value becomes an integer; a factor of 1e300 never
      // meets an int, and a value that does not fit fails the step.
      if (control.checkBox) return setCheckValue(control.checkBox, int{toInt16(value).value()});
      const QString shown = QString::fromStdString(shownSettingText(kDesignerKeys[k], value).value());
      if (control.held) {
        *control.held = {shown, file.value(kDesignerKeys[k].section, kDesignerKeys[k].key).count > 0};
        return true;
      }
      control.textBox->setText(shown);
      return true;
    });
  }
  QApplication::processEvents();
}

void CamDesigner::SaveSettings() {
  const std::string path = state.SettingsFilePath.toStdString();
  std::array<std::string, kGeometryPartCount> geometryTexts;
  const auto geometry = windowGeometryEntries(kDesignerWindowKeys, *this, geometryTexts);
  std::array<std::string, kDesignerKeys.size()> texts;
  std::vector<IniEntry> entries(geometry.begin(), geometry.end());
  for (std::size_t k = key::Checkmm; k < kDesignerKeys.size(); ++k) {
    const SettingControls& control = settingControls_[k];
    if (control.held && !control.held->keep) continue;
    if (control.checkBox)
      texts[k] = std::to_string(checkValue(control.checkBox));
    else if (control.held)
      texts[k] = storedFactor(control.held->text);
    else if (kDesignerKeys[k].control == SettingControl::CorrectionFactor)
      texts[k] = storedFactor(control.textBox->text());
    else
      texts[k] = control.textBox->text().toStdString();
    entries.push_back({kDesignerKeys[k].section, kDesignerKeys[k].key, texts[k]});
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
